// Two windows of the editor's own beside the game's: the undo history, naming each step and
// walking to a chosen one, and the problems panel, the map check kept up to date while editing.
#pragma once

#include "app/palette_window.h"

class QListWidget;
class QTimer;
class QTreeWidget;

namespace kv {

class HistoryWindow : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KVORNME_HISTORYWINDOW_CNAME";
    enum Control : int { kIdList = 1000 };
    explicit HistoryWindow(MainFrame& frame);
    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;
    QListWidget* list() const { return list_; }
    // Row 0 is the map before the oldest step kept; row n the map after step n. Walks the
    // history there as a click on the row does.
    void choose(int row);

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {560, 420}; }

private:
    QListWidget* list_ = nullptr;
};

class ProblemsWindow : public PaletteWindow {
public:
    static constexpr const char* kClassName = "KVORNME_PROBLEMSWINDOW_CNAME";
    enum Control : int { kIdCount = 1000, kIdList };
    // The pause after an edit before the map is checked again: a drag of the pen checks once.
    static constexpr int kRecheckDelayMs = 250;
    explicit ProblemsWindow(MainFrame& frame);
    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;
    QTreeWidget* list() const { return list_; }
    // Checks the map now (the timer's work).
    void recheck() { refresh(); }
    bool recheckPending() const;
    // Shows the place of row `index` in the map as a click on it does.
    void choose(int index);

protected:
    void refresh() override;
    QPoint defaultOffset() const override { return {40, 420}; }

private:
    QTreeWidget* list_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Installs the factories of both windows in the main frame's bookkeeping.
void installHistoryWindows(MainFrame& frame);

}  // namespace kv
