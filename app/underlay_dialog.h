// The underlay picture commands of the main frame (open a file, paste from the clipboard,
// move) with the placement dialog they share, and the bitmap export command.
#pragma once

#include <QSize>

#include "framework/window.h"

namespace kv {

class MainFrame;

// "下絵の配置": the picture fitted over the whole map, or at its actual size with its top
// left corner at a column and row. `actualSize`, `col` and `row` hold the choice after OK;
// a fitted picture has the offset (0, 0).
class UnderlayPlacementDialog : public Dialog {
public:
    enum Control : int { kIdFit = 1000, kIdActualSize, kIdCol, kIdRow, kIdPictureSize };
    UnderlayPlacementDialog(Window* owner, QSize picture, int mapWidth, int mapHeight);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    void exchangeData(bool toObject) override;

    bool actualSize = false;
    int col = 0, row = 0;

private:
    void enableOffset();
    QSize picture_;
    int mapWidth_, mapHeight_;
};

// Each does nothing while the frame has no map view.
void openUnderlay(MainFrame& frame);
void pasteUnderlay(MainFrame& frame);
void moveUnderlay(MainFrame& frame);
// Writes the map's terrain at the current hex size to a bitmap file the user names.
void exportBitmapFile(MainFrame& frame);

}  // namespace kv
