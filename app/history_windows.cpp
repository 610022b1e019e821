// The undo history window and the problems panel.
#include "app/history_windows.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

#include "app/main_frame.h"
#include "document/map_check.h"
#include "document/map_document.h"
#include "document/undo_history.h"
#include "view/window_messages.h"

namespace kv {

namespace {

constexpr int kMargin = 4;

// Keeps a list filling the client area below `top` as the window is resized.
void fitToClient(QWidget* list, QWidget* client, int top) {
    if (list && client)
        list->setGeometry(kMargin, top, std::max(40, client->width() - 2 * kMargin),
                          std::max(40, client->height() - top - kMargin));
}

}  // namespace

// --- the undo history ------------------------------------------------------------------------

HistoryWindow::HistoryWindow(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::UndoHistory, kClassName, "操作履歴", 260, 320) {
    resizable_ = true;
}

int HistoryWindow::onInitDialog() {
    list_ = add<QListWidget>(kIdList, kMargin, kMargin, 252, 312);
    list_->setUniformItemSizes(true);
    QObject::connect(list_, &QListWidget::itemClicked, list_,
                     [this](QListWidgetItem* item) { choose(list_->row(item)); });
    // Enter or a double click on the keyboard's current row walks there too.
    QObject::connect(list_, &QListWidget::itemActivated, list_,
                     [this](QListWidgetItem* item) { choose(list_->row(item)); });
    return 0;
}

void HistoryWindow::refresh() {
    if (!list_) return;
    const UndoHistory& h = doc_.history;
    list_->clear();
    std::string base = "(開始)";
    if (h.dropped() > 0)
        base = "(古い操作 " + std::to_string(h.dropped()) + " 件は破棄されました)";
    else if (!h.origin().empty())
        base = "(" + h.origin() + " で履歴は消去されました)";
    list_->addItem(QString::fromStdString(base));
    for (const UndoStep& s : h.doneSteps()) list_->addItem(QString::fromStdString(stepCaption(s)));
    const auto& undone = h.undoneSteps();
    for (auto it = undone.rbegin(); it != undone.rend(); ++it) {
        auto* item = new QListWidgetItem(QString::fromStdString(stepCaption(*it)));
        item->setForeground(list_->palette().brush(QPalette::Disabled, QPalette::Text));
        list_->addItem(item);
    }
    // The row of the map as it is now.
    const int current = static_cast<int>(h.doneSteps().size());
    if (QListWidgetItem* item = list_->item(current)) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
}

void HistoryWindow::choose(int row) {
    if (row < 0 || !list_ || row >= list_->count()) return;
    frame_.walkHistory(row);
    refresh();
}

int HistoryWindow::onMessage(MessageRecord& m) {
    if (m.message == historymsg::Refresh) {
        refresh();
        return 1;
    }
    if (m.message == msg::Size) fitToClient(list_, handle(), kMargin);
    return PaletteWindow::onMessage(m);
}

// --- the problems panel ----------------------------------------------------------------------

ProblemsWindow::ProblemsWindow(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::Problems, kClassName, "問題一覧", 480, 240) {
    resizable_ = true;
}

int ProblemsWindow::onInitDialog() {
    addLabel(kIdCount, "", 6, 4, 300, 18);
    list_ = add<QTreeWidget>(kIdList, kMargin, 24, 472, 212);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({"コード", "内容", "場所"});
    list_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    QObject::connect(list_, &QTreeWidget::itemClicked, list_,
                     [this](QTreeWidgetItem* item) { choose(list_->indexOfTopLevelItem(item)); });
    QObject::connect(list_, &QTreeWidget::itemActivated, list_,
                     [this](QTreeWidgetItem* item) { choose(list_->indexOfTopLevelItem(item)); });
    timer_ = new QTimer(list_);
    timer_->setSingleShot(true);
    timer_->setInterval(kRecheckDelayMs);
    QObject::connect(timer_, &QTimer::timeout, list_, [this] { refresh(); });
    return 0;
}

bool ProblemsWindow::recheckPending() const {
    return timer_ && timer_->isActive();
}

void ProblemsWindow::refresh() {
    if (!list_) return;
    if (timer_) timer_->stop();
    const std::vector<MapProblem> problems = checkMap(doc_);
    list_->clear();
    for (const MapProblem& p : problems) {
        int col = p.col, row = p.row;
        if (col < 0 && p.table >= 0)
            if (const TroopRecord* t = doc_.troopAt(p.table, p.slot);
                t && doc_.contains(t->col(), t->row())) {
                col = t->col();
                row = t->row();
            }
        std::string text = p.text;
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';
        char code[8], at[16] = "";
        std::snprintf(code, sizeof code, "%d", p.code);
        if (col >= 0) std::snprintf(at, sizeof at, "%3d,%3d", col, row);
        auto* item = new QTreeWidgetItem(
            {QString::fromLatin1(code), QString::fromStdString(text), QString::fromLatin1(at)});
        item->setToolTip(1, QString::fromStdString(p.text));
        item->setData(0, Qt::UserRole, col);
        item->setData(0, Qt::UserRole + 1, row);
        list_->addTopLevelItem(item);
    }
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(2);
    const std::string header = problems.empty() ? std::string("問題はありません")
                                                : "問題 " + std::to_string(problems.size()) + " 件";
    if (auto* l = control<QLabel>(kIdCount)) l->setText(QString::fromStdString(header));
}

void ProblemsWindow::choose(int index) {
    QTreeWidgetItem* item = list_ ? list_->topLevelItem(index) : nullptr;
    if (!item) return;
    list_->setCurrentItem(item);
    const int col = item->data(0, Qt::UserRole).toInt(),
              row = item->data(0, Qt::UserRole + 1).toInt();
    MapView* view = frame_.mapView();
    if (col < 0 || !view) return;  // a finding about the whole map
    view->centreOn(col, row);
    postMessage(view, viewmsg::FlashHex, uintptr_t(col), row);
}

int ProblemsWindow::onMessage(MessageRecord& m) {
    if (m.message == problemsmsg::Recheck) {
        if (timer_) timer_->start();
        return 1;
    }
    if (m.message == msg::Size) fitToClient(list_, handle(), 24);
    return PaletteWindow::onMessage(m);
}

void installHistoryWindows(MainFrame& frame) {
    frame.tools().setFactory(ToolKind::UndoHistory, windowFactory<HistoryWindow>(frame));
    frame.tools().setFactory(ToolKind::Problems, windowFactory<ProblemsWindow>(frame));
}

}  // namespace kv
