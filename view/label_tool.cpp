// The label edit mode's tool.
#include "view/label_tool.h"

#include <memory>

#include "document/label_edit.h"
#include "document/map_document.h"
#include "document/tool_state.h"
#include "framework/prompter.h"

namespace kv {

namespace {

class LabelTool : public MapTool {
public:
    explicit LabelTool(LabelToolHooks hooks) : hooks_(std::move(hooks)) {}

    void press(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap) return;
        if (!labelPlaceable(host.document(), p.hex)) {
            showMessage(kLabelLimitCaption, kLabelLimitText, PromptIcon::Exclamation);
            return;
        }
        edit(host, p.hex);
    }

    bool rightPress(ToolHost& host, const ToolPoint& p) override {
        if (!p.inMap || !host.document().labelAt(p.hex.col, p.hex.row)) return false;
        const int chosen = host.contextMenu(
            p.hex, {{kLabelPropertiesItem, "プロパティ"}, {kLabelDeleteItem, "削除"}});
        if (chosen == kLabelPropertiesItem) {
            edit(host, p.hex);
        } else if (chosen == kLabelDeleteItem) {
            if (showMessage("削除確認", "ラベルを削除します。\nよろしいですか？",
                            PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes)
                return true;
            deleteLabelAt(host.document(), p.hex);
            redrawRow(host, p.hex);
        }
        return true;
    }

private:
    void edit(ToolHost& host, HexPos hex) {
        if (!hooks_.labelDialog) return;
        hooks_.labelDialog(host, hex);
        redrawRow(host, hex);
    }
    static void redrawRow(ToolHost& host, HexPos hex) {
        host.queueRow(hex.row);
        host.flush();
    }
    LabelToolHooks hooks_;
};

}  // namespace

void installLabelTool(ToolRouter& router, LabelToolHooks hooks) {
    router.add(kEditLabels, ToolRouter::kAnyKind, std::make_shared<LabelTool>(std::move(hooks)));
}

}  // namespace kv
