// The label edit mode's tool: a click opens the label dialog for the hex (refused with a
// message when the map holds 1000 labels and the hex has none), the right button offers
// "プロパティ" and "削除" on a labelled hex. The hex's row is drawn again afterwards, since a
// label's text runs beside its hex.
#pragma once

#include <functional>

#include "view/map_tool.h"

namespace kv {

struct LabelToolHooks {
    // Runs the label dialog for the hex (its OK changes the map).
    std::function<void(ToolHost&, HexPos)> labelDialog;
};

// The context menu's entries.
inline constexpr int kLabelPropertiesItem = 1, kLabelDeleteItem = 2;

void installLabelTool(ToolRouter& router, LabelToolHooks hooks);

}  // namespace kv
