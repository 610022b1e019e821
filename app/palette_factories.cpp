// The factories that make the tool window and the palettes when the main frame opens them.
#include "app/border_palette.h"
#include "app/label_dialog.h"
#include "app/main_frame.h"
#include "app/mine_palette.h"
#include "app/terrain_palette.h"
#include "app/tool_window.h"
#include "app/troop_palette.h"

namespace kv {

namespace {

template <class T>
ToolWindows::Factory factoryOf(MainFrame& frame) {
    return [&frame]() -> Window* {
        T* w = newWindow<T>(frame);
        if (w->open()) return w;
        delete w;
        return nullptr;
    };
}

}  // namespace

void installPaletteFactories(MainFrame& frame) {
    ToolWindows& tools = frame.tools();
    tools.setFactory(ToolKind::ToolWindow, factoryOf<ToolWindow>(frame));
    tools.setFactory(ToolKind::TerrainPalette, factoryOf<TerrainPalette>(frame));
    tools.setFactory(ToolKind::BorderPalette, factoryOf<BorderPalette>(frame));
    tools.setFactory(ToolKind::TroopPalette, factoryOf<TroopPalette>(frame));
    tools.setFactory(ToolKind::MinePalette, factoryOf<MinePalette>(frame));
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
