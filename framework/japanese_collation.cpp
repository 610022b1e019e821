// Japanese name ranks through QCollator (ICU's Japanese tailoring).
#include "framework/japanese_collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include "framework/cp932.h"
#include "framework/name_order.h"

namespace kv {

std::vector<int> rankNamesJapanese(const std::vector<std::string>& cp932) {
    const QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    // One sort key per name, so a list of n names is collated n times rather than n log n.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(cp932.size());
    for (const std::string& name : cp932)
        keys.push_back(collator.sortKey(QString::fromStdString(decodeCp932Lossy(name))));
    return ranksOf(keys, [](const QCollatorSortKey& a, const QCollatorSortKey& b) {
        return a.compare(b) < 0;
    });
}

}  // namespace kv
