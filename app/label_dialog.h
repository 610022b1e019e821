// The label dialog ("[col,row]", the name, the victory-condition and progress-target boxes)
// and the two label list windows.
#pragma once

#include <string>

#include "app/palette_window.h"
#include "document/hex_geometry.h"

class QTreeWidget;

namespace kv {

class LabelDialog : public Dialog {
public:
    enum Control : int { kIdPosition = 1000, kIdName, kIdVictory, kIdProgress };
    // The longest name in bytes (the field keeps a terminator).
    static constexpr size_t kMaxNameBytes = 33;

    LabelDialog(Window* owner, MapDocument& doc, HexPos hex);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    void exchangeData(bool toObject) override;

    std::string text;  // CP932
    bool victory = false, progress = false;

private:
    MapDocument& doc_;
    HexPos hex_;
    std::string shownText_;  // what the edit showed at the start, to keep unchanged bytes
};

// Opens the label dialog for a hex and applies its OK.
void runLabelDialog(Window* owner, MapDocument& doc, HexPos hex);

// A list of labels: the terrain labels, or the troops with victory conditions. Choosing an
// entry makes the map show and flash its hex.
class LabelList : public PaletteWindow {
public:
    static constexpr const char* kTerrainClassName = "KOBMEC_LANDLABELLISTWINDOW_CNAME";
    static constexpr const char* kTroopClassName = "KOBMEC_TROOPLABELLISTWINDOW_CNAME";
    enum Control : int { kIdCount = 1000, kIdList };
    LabelList(MainFrame& frame, bool troops);
    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;
    QTreeWidget* list() const { return list_; }
    // Chooses row `index` as a click would.
    void choose(int index);

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {500, 60}; }

private:
    bool troops_;
    QTreeWidget* list_ = nullptr;
};

}  // namespace kv
