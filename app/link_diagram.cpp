// The link diagram: the tree of the campaign's links and its window.
#include "app/link_diagram.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/campaign_dialog.h"
#include "framework/cp932.h"

namespace kv {

namespace {

const char* const kOutcomeTexts[] = {"終了", "ｴﾝﾃﾞｨﾝｸﾞ", "ﾘﾄﾗｲ"};

class TreeBuilder {
public:
    TreeBuilder(TreeView& tree, const CampaignData& data, const CampaignSources& sources)
        : tree_(tree), data_(data), sources_(sources) {}

    std::array<TreeView::Item, kCampaignSlots> build(const std::string& rootText) {
        TreeView::Item root = tree_.insertItem(rootText, nullptr, TreeView::kLast, kNoMapItem);
        if (used(0)) mapNode(0, root);
        // Maps no chain of links reaches would otherwise be out of reach of the user.
        for (int k = 1; k < kCampaignSlots; ++k)
            if (used(k) && !items_[size_t(k)]) mapNode(k, root);
        if (QTreeWidget* w = tree_.tree()) w->expandAll();
        return items_;
    }

private:
    bool used(int slot) const {
        return CampaignData::validSlot(slot) && sources_[size_t(slot)].used;
    }
    std::string nameOf(int slot) const { return decodeCp932Lossy(data_.map(slot).mapName()); }

    // Recursion is bounded: each slot is expanded once.
    void mapNode(int slot, TreeView::Item parent) {
        TreeView::Item item =
            tree_.insertItem(nameOf(slot), parent, TreeView::kLast, kMapItemBase + slot);
        items_[size_t(slot)] = item;
        const CampaignMap entry = data_.map(slot);
        for (int kind = 0; kind < kLinkKinds; ++kind) {
            const uint8_t type = entry.linkType(kind);
            if (type < kLinkMap) {
                tree_.insertItem(kOutcomeTexts[type], item, TreeView::kLast, kNoMapItem);
                continue;
            }
            const int target = entry.linkedSlot(kind);
            if (!used(target)) {
                tree_.insertItem("--", item, TreeView::kLast, kNoMapItem);
            } else if (data_.map(target).linkedFrom() == slot && !items_[size_t(target)]) {
                mapNode(target, item);
            } else {
                tree_.insertItem(nameOf(target), item, TreeView::kLast, kMapItemBase + target);
            }
        }
    }

    TreeView& tree_;
    const CampaignData& data_;
    const CampaignSources& sources_;
    std::array<TreeView::Item, kCampaignSlots> items_{};
};

}  // namespace

std::array<TreeView::Item, kCampaignSlots> buildLinkTree(TreeView& tree,
                                                         const std::string& rootText,
                                                         const CampaignData& data,
                                                         const CampaignSources& sources) {
    if (QTreeWidget* w = tree.tree()) w->clear();
    return TreeBuilder(tree, data, sources).build(rootText);
}

LinkDiagram::LinkDiagram(Window* ownerWindow, const CampaignData& data,
                         const CampaignSources& sources, std::function<std::string()> rootText)
    : Dialog(0, ownerWindow), data_(data), sources_(sources), rootText_(std::move(rootText)) {
    setClassName("KvMapLinkDiagram");
    title = "マップリンク図";
    width = 240;
    height = 326;
}

QWidget* LinkDiagram::createWidget(QWidget* parentWidget) {
    QWidget* w = Dialog::createWidget(parentWidget);
    // A window of its own beside the editor; it goes when the editor closes, not before.
    w->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (auto* d = qobject_cast<QDialog*>(w)) d->setModal(false);
    return w;
}

bool LinkDiagram::open(int atX, int atY) {
    if (!createModeless()) return false;
    handle()->move(atX, atY);
    handle()->show();
    return true;
}

int LinkDiagram::onInitDialog() {
    tree_ = newWindow<TreeView>(this, kTreeId);
    if (!tree_->create()) return 0;
    QTreeWidget* w = tree_->tree();
    w->setObjectName(QString::number(kTreeId));
    w->setFont(defaultFont());
    // Long map names scroll sideways rather than being cut short.
    w->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    w->header()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(handle());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(w);
    QObject::connect(w, &QTreeWidget::currentItemChanged, w,
                     [this](QTreeWidgetItem* item) { currentChanged(item); });
    rebuild();
    return 0;
}

TreeView::Item LinkDiagram::mapItem(int slot) const {
    return CampaignData::validSlot(slot) ? items_[size_t(slot)] : nullptr;
}

void LinkDiagram::rebuild() {
    if (!tree_) return;
    selecting_ = true;
    items_ = buildLinkTree(*tree_, rootText_ ? rootText_() : std::string(), data_, sources_);
    selecting_ = false;
    select(selected_);
}

void LinkDiagram::select(int slot) {
    selected_ = slot;
    TreeView::Item item = mapItem(slot);
    if (!tree_ || !item) return;
    selecting_ = true;
    tree_->tree()->setCurrentItem(item);
    tree_->tree()->scrollToItem(item);
    selecting_ = false;
}

void LinkDiagram::currentChanged(TreeView::Item item) {
    if (selecting_ || !item) return;
    const intptr_t data = tree_->itemData(item);
    if (data < kMapItemBase) return;
    postMessage(owner, campaignmsg::DiagramSelection, static_cast<uintptr_t>(data),
                reinterpret_cast<intptr_t>(item));
}

int LinkDiagram::onMessage(MessageRecord& m) {
    switch (m.message) {
        case diagrammsg::NameChanged:
            if (tree_ && tree_->tree() && tree_->tree()->topLevelItemCount() > 0)
                tree_->setItemText(tree_->tree()->topLevelItem(0),
                                   rootText_ ? rootText_() : std::string());
            return 1;
        case diagrammsg::SelectMap: select(static_cast<int>(m.wParam)); return 1;
        case diagrammsg::LinkChanged:
        case diagrammsg::LinkRetargeted:
        case diagrammsg::Rebuild: rebuild(); return 1;
        default: return Dialog::onMessage(m);
    }
}

int LinkDiagram::onCommand(MessageRecord& m, int id, int code) {
    // Enter and Escape do not close the diagram; the editor closes it.
    if (id == kIdOk || id == kIdCancel) return 1;
    return Dialog::onCommand(m, id, code);
}

}  // namespace kv
