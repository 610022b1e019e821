// The borderline palette: the territory and the borderline kind border mode paints with.
#pragma once

#include "app/palette_window.h"

namespace kv {

class BorderPalette : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_BORDERLINEPALETTEWINDOW_CNAME";
    enum Control : int { kIdFaction = 1000, kIdKind };
    explicit BorderPalette(MainFrame& frame);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {60, 420}; }

private:
    bool filling_ = false;
};
}  // namespace kv
