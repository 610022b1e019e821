// The common ground of the information windows: an item model over a table of texts, a
// sortable list view with keyboard navigation and copying of the selected rows, and the list
// window frame that keeps its view filling the window.
#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QTreeView>

#include "app/palette_window.h"
#include "gamedata/reference_tables.h"

namespace kv {

class CompanionWindow;

// A read-only model over an InfoTable. Qt::UserRole gives the sort key (the number of a
// numeric cell, else its text); KeyRole on column 0 the row's key.
class InfoTableModel : public QAbstractTableModel {
public:
    static constexpr int KeyRole = Qt::UserRole + 1;
    explicit InfoTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void setTable(InfoTable table);
    const InfoTable& table() const { return table_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    InfoTable table_;
};

// A list of rows: sorting by a header click (ties keep the table's order, a third click on
// the same header goes back to it), Ctrl+C copies the selected rows as tab-separated lines.
class InfoListView : public QTreeView {
public:
    explicit InfoListView(QWidget* parent);
    InfoTableModel* tableModel() const { return model_; }
    QSortFilterProxyModel* proxy() const { return proxy_; }
    // The key of the row at view position `row`, or -1.
    int keyAt(int row) const;
    // The key of the current row, or -1.
    int currentKey() const;
    // Makes the row with `key` current; false when there is none.
    bool selectKey(int key);
    // The selected rows, in the view's order, as lines of tab-separated cells.
    QString selectedText() const;
    // Back to the table's own order.
    void clearSort();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    InfoTableModel* model_;
    QSortFilterProxyModel* proxy_;
};

// A resizable information window with a row of controls on top and a list below.
class InfoListWindow : public PaletteWindow {
public:
    InfoListWindow(MainFrame& frame, ToolKind kind, const char* className, const char* caption,
                   int clientWidth, int clientHeight, int listTop);
    int onInitDialog() override;
    int onMessage(MessageRecord& m) override;
    // Closes the companion too.
    void destroy() override;
    InfoListView* list() const { return list_; }

protected:
    // The rows as they are now.
    virtual InfoTable build() = 0;
    // The current row changed (by mouse or keyboard); key -1 for none.
    virtual void rowChosen(int /*key*/) {}
    // A row was double-clicked or Enter pressed on it.
    virtual void rowActivated(int /*key*/) {}
    void refresh() override;
    void layoutList();
    // Opens the companion window beside this one, or closes it when it is open.
    void toggleCompanionWindow(const char* className, const char* caption, uint32_t toggleMessage);
    // The companion while it is open, else null.
    CompanionWindow* openCompanion() const { return companionWidget_ ? companion_ : nullptr; }
    // The companion shows what the current row stands for.
    virtual void fillCompanion(int /*key*/) {}

    InfoListView* list_ = nullptr;
    int listTop_;

private:
    CompanionWindow* companion_ = nullptr;
    QPointer<QWidget> companionWidget_;  // the companion may go with the main frame first
};

// A small window beside an information window that shows (item, value) rows of the row chosen
// there. Its close box asks the main frame to toggle it.
class CompanionWindow : public Dialog {
public:
    CompanionWindow(MainFrame& frame, const char* className, const char* caption,
                    uint32_t toggleMessage);
    bool open(QPoint near);
    void destroy() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int onMessage(MessageRecord& m) override;
    void show(InfoTable table);
    InfoListView* list() const { return list_; }

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    MainFrame& frame_;
    uint32_t toggleMessage_;
    InfoListView* list_ = nullptr;
};

// Installs the factories of the information windows and the weapon detail windows.
void installInfoWindowFactories(MainFrame& frame);

}  // namespace kv
