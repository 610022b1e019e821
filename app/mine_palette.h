// The mine palette: the kind, activation count and watching factions a mine is laid with.
#pragma once

#include "app/palette_window.h"

namespace kv {

class MinePalette : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KOBMEC_MINEPALETTEWINDOW_CNAME";
    enum Control : int { kIdLandMine = 1000, kIdSeaMine, kIdDelete, kIdCount, kIdSeenBy };
    static constexpr int kMaxCount = 10;
    explicit MinePalette(MainFrame& frame);
    ~MinePalette() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {320, 420}; }

private:
    bool filling_ = false;
};

}  // namespace kv
