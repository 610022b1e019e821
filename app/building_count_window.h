// The building count window: intact and destroyed facilities of every kind per owner, with
// their income, over the table of its background picture. Kept current by recounts and by
// single changes.
#pragma once

#include <QImage>

#include <memory>

#include "app/palette_window.h"
#include "document/building_count.h"

class QPainter;
class QWidget;

namespace kv {

class BuildingCountWindow : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_BUILDCNTWINDOW_CNAME";
    static constexpr int kClientWidth = 526, kClientHeight = 404;

    explicit BuildingCountWindow(MainFrame& frame);
    ~BuildingCountWindow() override;

    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;

    const BuildingCount& count() const { return *count_; }
    void paint(QPainter& p);
    // A right click closes the window, as its close box does.
    void close();

    // Where column a and display row d (19: the totals) are drawn.
    static int columnX(int a) { return 58 + 59 * a + (a == 7 ? 1 : 0); }
    static int rowY(int d);

protected:
    QPoint defaultOffset() const override;

private:
    void recount();
    void repaintColumn(int column);
    void paintColumn(QPainter& p, int column);

    std::unique_ptr<BuildingCount> count_;
    QWidget* canvas_ = nullptr;
    QImage background_;
};

}  // namespace kv
