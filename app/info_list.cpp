// The item model, list view and window frames of the information windows.
#include "app/info_list.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

#include "app/main_frame.h"
#include "framework/profile.h"

namespace kv {

// --- the model -----------------------------------------------------------------------------

namespace {

// A number shown as digits (with blanks, signs and separators), not as a name.
bool isFigure(const InfoCell& cell) {
    if (!cell.number || cell.text.empty()) return false;
    return std::all_of(cell.text.begin(), cell.text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == ',' || c == '/';
    });
}

}  // namespace

void InfoTableModel::setTable(InfoTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int InfoTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int InfoTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.headings.size());
}

QVariant InfoTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= table_.rows.size()) return {};
    const InfoTable::Row& row = table_.rows[size_t(index.row())];
    if (role == KeyRole) return row.key;
    if (size_t(index.column()) >= row.cells.size()) return {};
    const InfoCell& cell = row.cells[size_t(index.column())];
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(cell.text);
        case Qt::UserRole:
            if (cell.number) return qlonglong(*cell.number);
            return QString::fromStdString(cell.text);
        case Qt::TextAlignmentRole:
            // Figures line up on the right; names, marks and turns on the left.
            return QVariant(
                int((isFigure(cell) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
        default: return {};
    }
}

QVariant InfoTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        size_t(section) >= table_.headings.size())
        return {};
    return QString::fromStdString(table_.headings[size_t(section)]);
}

// --- the view ------------------------------------------------------------------------------

InfoListView::InfoListView(QWidget* parent)
    : QTreeView(parent), model_(new InfoTableModel(this)), proxy_(new QSortFilterProxyModel(this)) {
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);
    proxy_->setSortLocaleAware(true);
    setModel(proxy_);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    header()->setSortIndicatorClearable(true);
    // Column widths from the first rows: measuring every row of a full troop table costs
    // more than the rest of opening it.
    header()->setResizeContentsPrecision(100);
    setSortingEnabled(true);
}

int InfoListView::keyAt(int row) const {
    const QModelIndex i = proxy_->index(row, 0);
    return i.isValid() ? i.data(InfoTableModel::KeyRole).toInt() : -1;
}

int InfoListView::currentKey() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? keyAt(i.row()) : -1;
}

bool InfoListView::selectKey(int key) {
    for (int r = 0; r < proxy_->rowCount(); ++r)
        if (keyAt(r) == key) {
            setCurrentIndex(proxy_->index(r, 0));
            scrollTo(currentIndex());
            return true;
        }
    return false;
}

QString InfoListView::selectedText() const {
    QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex& r : rows) {
        QStringList cells;
        for (int c = 0; c < proxy_->columnCount(); ++c)
            cells << proxy_->index(r.row(), c).data().toString().trimmed();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void InfoListView::clearSort() {
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    proxy_->sort(-1);
}

void InfoListView::keyPressEvent(QKeyEvent* e) {
    if (e->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(selectedText());
        e->accept();
        return;
    }
    QTreeView::keyPressEvent(e);
}

// --- the list window -----------------------------------------------------------------------

InfoListWindow::InfoListWindow(MainFrame& frame, ToolKind kind, const char* className,
                               const char* caption, int clientWidth, int clientHeight, int listTop)
    : PaletteWindow(frame, kind, className, caption, clientWidth, clientHeight), listTop_(listTop) {
    resizable_ = true;
}

int InfoListWindow::onInitDialog() {
    list_ = new InfoListView(handle());
    list_->setFont(defaultFont());
    list_->setObjectName(QStringLiteral("list"));
    layoutList();
    QObject::connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, list_,
                     [this](const QModelIndex& now) {
                         const int key = now.isValid() ? list_->keyAt(now.row()) : -1;
                         fillCompanion(key);
                         rowChosen(key);
                     });
    QObject::connect(list_, &QTreeView::activated, list_, [this](const QModelIndex& i) {
        if (i.isValid()) rowActivated(list_->keyAt(i.row()));
    });
    return 0;
}

void InfoListWindow::layoutList() {
    QWidget* w = handle();
    if (!list_ || !w) return;
    list_->setGeometry(4, listTop_, std::max(40, w->width() - 8),
                       std::max(40, w->height() - listTop_ - 4));
}

int InfoListWindow::onMessage(MessageRecord& m) {
    if (m.message == msg::Size) layoutList();
    return PaletteWindow::onMessage(m);
}

void InfoListWindow::destroy() {
    if (CompanionWindow* c = openCompanion()) c->destroy();
    companion_ = nullptr;
    PaletteWindow::destroy();
}

void InfoListWindow::toggleCompanionWindow(const char* className, const char* caption,
                                           uint32_t toggleMessage) {
    if (CompanionWindow* c = openCompanion()) {
        companion_ = nullptr;
        c->destroy();
        return;
    }
    companion_ = newWindow<CompanionWindow>(frame_, className, caption, toggleMessage);
    QPoint near(0, 0);
    if (QWidget* w = handle()) near = w->frameGeometry().topRight() + QPoint(4, 0);
    if (!companion_->open(near)) {
        companion_ = nullptr;
        return;
    }
    companionWidget_ = companion_->handle();
    fillCompanion(list_ ? list_->currentKey() : -1);
}

void InfoListWindow::refresh() {
    if (!list_) return;
    const int key = list_->currentKey();
    list_->tableModel()->setTable(build());
    for (int c = 0; c < list_->tableModel()->columnCount(); ++c) list_->resizeColumnToContents(c);
    if (key >= 0) list_->selectKey(key);
    fillCompanion(list_->currentKey());
}

// --- the companion window ------------------------------------------------------------------

CompanionWindow::CompanionWindow(MainFrame& frame, const char* className, const char* caption,
                                 uint32_t toggleMessage)
    : Dialog(0, &frame), frame_(frame), toggleMessage_(toggleMessage) {
    setClassName(className);
    title = caption;
    width = 260;
    height = 360;
}

QWidget* CompanionWindow::createWidget(QWidget* parentWidget) {
    QWidget* w = Dialog::createWidget(parentWidget);
    w->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint);
    return w;
}

int CompanionWindow::onInitDialog() {
    list_ = new InfoListView(handle());
    list_->setFont(defaultFont());
    list_->setObjectName(QStringLiteral("list"));
    list_->setGeometry(4, 4, width - 8, height - 8);
    return 0;
}

bool CompanionWindow::open(QPoint near) {
    if (!createModeless()) return false;
    QWidget* w = handle();
    const int left = ProfileEntry("WindowInfo", className() + "WindowPosLeft").readInt(INT32_MIN);
    const int top = ProfileEntry("WindowInfo", className() + "WindowPosTop").readInt(INT32_MIN);
    w->move(left != INT32_MIN && top != INT32_MIN ? QPoint(left, top) : near);
    w->show();
    w->raise();
    return true;
}

void CompanionWindow::destroy() {
    if (QWidget* w = handle()) {
        ProfileEntry("WindowInfo", className() + "WindowPosLeft").writeInt(w->x());
        ProfileEntry("WindowInfo", className() + "WindowPosTop").writeInt(w->y());
    }
    Window::destroy();
}

int CompanionWindow::onCommand(MessageRecord& m, int id, int code) {
    if (id == kIdCancel) {
        postMessage(&frame_, toggleMessage_);
        return 1;
    }
    if (id == kIdOk) return 1;
    return Dialog::onCommand(m, id, code);
}

int CompanionWindow::onMessage(MessageRecord& m) {
    if (m.message == msg::Size && list_ && handle())
        list_->setGeometry(4, 4, handle()->width() - 8, handle()->height() - 8);
    return Dialog::onMessage(m);
}

void CompanionWindow::show(InfoTable table) {
    if (!list_) return;
    list_->tableModel()->setTable(std::move(table));
    list_->resizeColumnToContents(0);
}

}  // namespace kv
