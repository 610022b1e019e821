// Text conversion and byte-limited edits.
#include "app/text_fields.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include "framework/cp932.h"

namespace kv {

QString textOfBytes(std::string_view cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

std::optional<std::string> bytesOfText(const QString& text) {
    return encodeCp932(text.toStdString());
}

size_t storedSize(const QString& text) {
    size_t n = 0;
    for (const QChar c : text) {
        if (c.isLowSurrogate()) continue;
        if (c == u'\n') {
            n += 2;
            continue;
        }
        const std::optional<std::string> b = encodeCp932(QString(c).toStdString());
        n += b ? b->size() : 2;
    }
    return n;
}

namespace {

// The longest start of `text` within `maxBytes`, never splitting a surrogate pair.
QString cutText(const QString& text, size_t maxBytes) {
    QString out;
    size_t n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString piece(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size()) piece += text[++i];
        const size_t size = storedSize(piece);
        if (n + size > maxBytes) break;
        n += size;
        out += piece;
    }
    return out;
}

}  // namespace

void limitToBytes(QLineEdit* edit, size_t maxBytes) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxBytes](const QString& t) {
        if (storedSize(t) <= maxBytes) return;
        edit->setText(cutText(t, maxBytes));  // reports the cut text in turn
    });
}

void limitToBytes(QPlainTextEdit* edit, size_t maxBytes) {
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxBytes] {
        const QString t = edit->toPlainText();
        if (storedSize(t) <= maxBytes) return;
        edit->setPlainText(cutText(t, maxBytes));
        edit->moveCursor(QTextCursor::End);
    });
}

void digitsOnly(QLineEdit* edit, int maxDigits) {
    edit->setMaxLength(maxDigits);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

int64_t numberIn(const QLineEdit* edit) {
    if (!edit) return 0;
    int64_t v = 0;
    for (const QChar c : edit->text()) {
        if (!c.isDigit()) break;
        // Longer than any edit allows is still refused by the range checks, not wrapped.
        if (v > INT64_MAX / 10 - 10) return INT64_MAX;
        v = v * 10 + c.digitValue();
    }
    return v;
}

}  // namespace kv
