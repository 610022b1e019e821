// The factories that make the tool window and the palettes when the main frame opens them.
#include "app/border_palette.h"
#include "app/label_dialog.h"
#include "app/main_frame.h"
#include "app/mine_palette.h"
#include "app/terrain_palette.h"
#include "app/tool_window.h"
#include "app/troop_palette.h"

namespace kv {

void installPaletteFactories(MainFrame& frame) {
    ToolWindows& tools = frame.tools();
    tools.setFactory(ToolKind::ToolWindow, windowFactory<ToolWindow>(frame));
    tools.setFactory(ToolKind::TerrainPalette, windowFactory<TerrainPalette>(frame));
    tools.setFactory(ToolKind::BorderPalette, windowFactory<BorderPalette>(frame));
    tools.setFactory(ToolKind::TroopPalette, windowFactory<TroopPalette>(frame));
    tools.setFactory(ToolKind::MinePalette, windowFactory<MinePalette>(frame));
    for (bool troops : {false, true})
        tools.setFactory(troops ? ToolKind::TroopLabelList : ToolKind::TerrainLabelList,
                         [&frame, troops]() -> Window* {
                             auto* w = newWindow<LabelList>(frame, troops);
                             if (w->open()) return w;
                             delete w;
                             return nullptr;
                         });
    installLabelEditing(frame);
}

}  // namespace kv
