// "陣営色のカスタマイズ": the angles of the faction colour table edited with live previews,
// and the main frame command that runs it.
#pragma once

#include <memory>

#include "framework/faction_colours.h"
#include "framework/window.h"

namespace kv {

class FactionColourPreview;
class MainFrame;
class MapDocument;

// Two tabs of six colour buttons: the first selects the factions' entries 4..9, the second
// entries 0..5. The selected entry's angle is edited with a number field and a track bar
// kept in step (0..360; a typed value outside is shown and used clamped). OK stores the
// table in the document and writes it to its file; Cancel changes nothing.
class FactionColourDialog : public Dialog {
public:
    static constexpr int kTemplateId = 182;
    enum Control : int {
        kIdTabs = 1000,
        kIdHue,
        kIdHueBar,
        kIdDefault,
        kIdFirstColour = 1010,   // + button 0..5
        kIdFirstPreview = 1020,  // + FactionColourPreview::Kind
    };
    FactionColourDialog(Window* owner, MapDocument& doc);
    ~FactionColourDialog() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // The entry the controls edit.
    int selectedEntry() const {
        return tab_ == 0 ? FactionColourTable::factionEntry(button_) : button_;
    }
    // The angles being edited; the document's table until OK.
    FactionColourTable table;

private:
    void select(int tab, int button);
    void setHue(int angle, int fromControl);
    void showColourButtons();
    void showPreviews();
    void commit();

    MapDocument& doc_;
    std::unique_ptr<FactionColourPreview> preview_;
    int tab_ = 0, button_ = 0;
    bool filling_ = false;
};

// Runs the dialog; after OK the faction-coloured pictures of every window are made again.
void customiseFactionColours(MainFrame& frame);

}  // namespace kv
