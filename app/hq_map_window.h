// The HQ map: the whole map in coloured squares with a frame around what the map view shows.
// Dragging the frame scrolls the map view; edits recolour only the hexes they touched.
#pragma once

#include "app/palette_window.h"
#include "document/hq_overview.h"
#include "view/hq_overview_image.h"

class QPainter;
class QPoint;
class QPushButton;
class QWidget;

namespace kv {

class HqMapWindow : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_HQWINDOW_CNAME";
    enum Control : int { kIdRow0 = 1000, kIdRow1 = 1001 };

    explicit HqMapWindow(MainFrame& frame);

    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // The terrain strips' row every HQ map window uses (0 or 1).
    static int colourRow();
    static void setColourRowForTesting(int row);

    const HqOverviewImage& overview() const { return overview_; }
    // The frame as it is drawn now (the dragged one while dragging).
    HqFrame viewFrame() const;
    bool dragging() const { return dragging_; }
    HexPos dragPosition() const { return drag_; }

    // The overview's canvas reports here, in window coordinates.
    void paint(QPainter& p);
    void mousePress(const QPoint& at);
    void mouseMove(const QPoint& at);
    void mouseRelease();

protected:
    QPoint defaultOffset() const override;

private:
    // The map view's top-left hex and visible size; the whole map without a view.
    HexPos viewOrigin() const;
    HexPos viewSize() const;
    void newMap();
    void placeControls();
    void chooseRow(int row);
    void repaintSquare(int col, int row);

    HqOverviewImage overview_;
    QWidget* canvas_ = nullptr;
    QPushButton* rowButtons_[2] = {nullptr, nullptr};
    bool dragging_ = false;
    HexPos drag_;
};

// Installs the factories of the HQ map and the building count window in the main frame's
// bookkeeping.
void installAnalysisWindows(MainFrame& frame);

}  // namespace kv
