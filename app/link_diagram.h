// "マップリンク図": the campaign's maps as a tree that follows the victory, draw and defeat
// links from the first map, kept in step with the campaign editor through posted messages.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "framework/tree_view.h"
#include "framework/window.h"
#include "scenario/campaign_file.h"

namespace kv {

// The diagram's private messages, posted by the campaign editor.
namespace diagrammsg {
constexpr uint32_t NameChanged = 1129;     // the root shows the campaign name again
constexpr uint32_t SelectMap = 1130;       // wParam: the slot whose node becomes current
constexpr uint32_t LinkChanged = 1131;     // wParam: the slot, lParam: the link kind 0..2
constexpr uint32_t LinkRetargeted = 1132;  // lParam: kind × 65536 + the new target slot
constexpr uint32_t Rebuild = 1133;
}  // namespace diagrammsg

// Item data of the tree's nodes: a map node holds its slot + kMapItemBase; the root and the
// outcome leaves hold kNoMapItem.
inline constexpr intptr_t kMapItemBase = 100;
inline constexpr intptr_t kNoMapItem = -1;

// Fills `tree` afresh: the root (`rootText`, UTF-8), below it the walk from slot 0. A map node
// has a child per link, in the order victory, draw, defeat: "終了", "ｴﾝﾃﾞｨﾝｸﾞ" or "ﾘﾄﾗｲ", or
// the target map, expanded below this node when this map is the target's `linkedFrom` and the
// target is not shown yet, else a plain node with its name. Used maps the walk does not reach
// follow under the root, so that every map can be selected. Returns each slot's expanded node
// (null for a slot not shown).
std::array<TreeView::Item, kCampaignSlots> buildLinkTree(TreeView& tree,
                                                         const std::string& rootText,
                                                         const CampaignData& data,
                                                         const CampaignSources& sources);

class LinkDiagram : public Dialog {
public:
    static constexpr int kTreeId = 1018;

    // `owner` is told (campaignmsg::DiagramSelection) when the user picks a map node; `data`,
    // `sources` and `rootText` are read whenever the tree is rebuilt.
    LinkDiagram(Window* owner, const CampaignData& data, const CampaignSources& sources,
                std::function<std::string()> rootText);

    // Creates the window at (x, y) in screen coordinates and shows it.
    bool open(int x, int y);
    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;
    int onCommand(MessageRecord& m, int id, int code) override;

    TreeView* tree() const { return tree_; }
    // The node of a slot's map (null when it is not shown).
    TreeView::Item mapItem(int slot) const;

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    void rebuild();
    void select(int slot);
    void currentChanged(TreeView::Item item);

    const CampaignData& data_;
    const CampaignSources& sources_;
    std::function<std::string()> rootText_;
    TreeView* tree_ = nullptr;
    std::array<TreeView::Item, kCampaignSlots> items_{};
    int selected_ = -1;
    bool selecting_ = false;
};

}  // namespace kv
