// The top-level window of the editor.
#include "app/main_frame.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/history_windows.h"
#include "app/hq_map_window.h"
#include "app/info_list.h"
#include "app/menu_table.h"
#include "app/palette_window.h"
#include "app/terrain_dialogs.h"
#include "app/troop_dialogs.h"
#include "app/version_dialog.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/message_box_prompter.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "view/map_view.h"
#include "view/terrain_tools.h"
#include "view/troop_tools.h"

namespace kv {

namespace {

// The screen saver is the desktop's business here; the flag is kept so that the
// main frame restores what it found.
bool screenSaverActive() {
    return false;
}
void setScreenSaverActive(bool) {}

void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries, MainFrame* frame,
                std::map<int, QAction*>& actions, std::map<cmd::Menu, QMenu*>& menus) {
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntry::Separator) {
            menu->addSeparator();
        } else if (e.kind == MenuEntry::SubMenu) {
            QMenu* sub = menu->addMenu(QString::fromStdString(e.caption));
            menus[e.menu] = sub;
            addEntries(sub, e.children, frame, actions, menus);
        } else {
            QAction* a = menu->addAction(QString::fromStdString(e.caption));
            a->setData(e.id);
            a->setCheckable(e.checkable);
            const int id = e.id;
            QObject::connect(a, &QAction::triggered, a, [frame, id] { frame->sendCommand(id); });
            actions[id] = a;
        }
    }
}

}  // namespace

MainFrame::MainFrame(MapDocument& document) : doc_(document) {
    setClassName(kClassName);
    savedScreenSaverActive = screenSaverActive();
    setScreenSaverActive(false);
    registerHandlers();
}

MainFrame::~MainFrame() {
    doc_.onEdited = nullptr;
    MessageBoxPrompter::setDefaultOwner(nullptr);
    setScreenSaverActive(savedScreenSaverActive);
}

void MainFrame::startAutosave() {
    autosave_ = std::make_unique<Autosave>(doc_, Autosave::defaultFolder());
    autosave_->setIntervalMinutes(
        ProfileEntry("Environment", Autosave::kMinutesKey).readInt(Autosave::kDefaultMinutes));
    // A cheap look every few seconds; the autosave itself keeps the minutes.
    auto* timer = new QTimer(handle());
    QObject::connect(timer, &QTimer::timeout, handle(), [this] { autosave_->poll(); });
    timer->start(kAutosavePollMs);
}

bool MainFrame::create() {
    const Rect area = workArea();
    title = kBaseTitle;
    x = area.left;
    y = area.top;
    width = area.width();
    height = area.height();
    try {
        if (!FrameWindow::create()) return false;
        auto* w = static_cast<QMainWindow*>(handle());
        MessageBoxPrompter::setDefaultOwner(w);
        buildMenuBar();
        buildAccelerators();
        // The editor keeps many steps of undo ("UndoDepth", 1 for a single step).
        doc_.history.setLimits(ProfileEntry("Environment", "UndoDepth").readInt(kUndoDepth));
        mapView_ = newWindow<MapView>(this, doc_, this);
        mapView_->create();
        installTerrainTools(mapView_->tools(), terrainBrush_, terrainToolHooks());
        installTroopTools(mapView_->tools(), troopToolHooks(this, doc_));
        w->setCentralWidget(mapView_->handle());
        w->show();
        fitFrameToWorkArea();
        watchDisplay();
        createImeHelper();
        installPaletteFactories(*this);
        installAnalysisWindows(*this);
        installInfoWindowFactories(*this);
        installHistoryWindows(*this);
        startAutosave();
        reopenToolWindows();
    } catch (const swCError& e) {
        e.report(this);
    }
    sendCommand(cmd::NewMap);
    return handle() != nullptr;
}

void MainFrame::buildMenuBar() {
    QMenuBar* bar = static_cast<QMainWindow*>(handle())->menuBar();
    for (const MenuEntry& top : menuBarTable()) {
        QMenu* menu = bar->addMenu(QString::fromStdString(top.caption));
        menus_[top.menu] = menu;
        addEntries(menu, top.children, this, actions_, menus_);
        // The states are worked out whenever a menu is about to open.
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu] { updateMenus(menu); });
    }
}

void MainFrame::buildAccelerators() {
    for (const MenuShortcut& shortcut : menuShortcuts()) {
        const int id = shortcut.id;
        const QKeySequence seq = QKeySequence::fromString(QString::fromStdString(shortcut.key),
                                                          QKeySequence::PortableText);
        // Accelerators act even while the menu item is greyed (the commands check their own
        // conditions), and from every window of the editor: the tool windows and palettes are
        // windows of their own. An application shortcut of a window that a modal dialog
        // blocks does not fire, so none acts while a dialog is open.
        auto* a = new QAction(handle());
        a->setShortcut(seq);
        a->setShortcutContext(Qt::ApplicationShortcut);
        a->setObjectName(QStringLiteral("accel%1").arg(id));
        QObject::connect(a, &QAction::triggered, a, [this, id] { sendCommand(id); });
        handle()->addAction(a);
    }
}

void MainFrame::fitFrameToWorkArea() {
    QWidget* w = handle();
    if (!w || w->isMaximized() || w->isMinimized() || w->isFullScreen()) return;
    // The frame's size is known only once a window manager has framed the window, which
    // may be some events after it is shown.
    const QRect frame = w->frameGeometry(), client = w->geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const Rect a = workArea();
    const QRect target = QRect(a.left, a.top, a.width(), a.height()).marginsRemoved(margins);
    if (client != target) w->setGeometry(target);
    if (!margins.isNull()) frameFitted_ = true;
}

void MainFrame::watchDisplay() {
    QWindow* window = handle()->windowHandle();
    if (!window) return;
    auto follow = [this](QScreen* screen) {
        QObject::disconnect(screenWatch_);
        if (screen)
            screenWatch_ = QObject::connect(screen, &QScreen::geometryChanged, handle(),
                                            [this] { displayChanged(); });
    };
    follow(window->screen());
    QObject::connect(window, &QWindow::screenChanged, handle(), [this, follow](QScreen* s) {
        follow(s);
        displayChanged();
    });
}

void MainFrame::displayChanged() {
    if (!mapView_) return;
    if (doc_.documentOpen == 1) doc_.viewSettings.redrawGrid.markAllDirty();
    mapView_->displayChanged();
    tools_.post(ToolKind::HqMap, hqmsg::ViewMoved);
}

void MainFrame::createImeHelper() {
    imeHelper_ = new QWidget(handle(), Qt::Popup);
    imeHelper_->setObjectName(QStringLiteral("KOBMEC_ENABLEIME_CNAME"));
    imeHelper_->setFixedSize(0, 0);
    auto* button = new QPushButton(imeHelper_);
    button->setObjectName(QStringLiteral("1000"));
    button->setFixedSize(0, 0);
    imeHelper_->hide();
}

void MainFrame::reopenToolWindows() {
    // The windows open at the last exit, in this order; each is opened once it is built.
    const ToolKind order[] = {ToolKind::HqMap,        ToolKind::TerrainPalette,
                              ToolKind::TroopPalette, ToolKind::BorderPalette,
                              ToolKind::MinePalette,  ToolKind::ToolWindow,
                              ToolKind::UndoHistory,  ToolKind::Problems};
    for (ToolKind kind : order) {
        const char* key = toolInfo(kind).key;
        if (ProfileEntry("Environment", key).readInt(0) != 1) continue;
        reopenedAtStart_.push_back(key);
        tools_.open(kind);
    }
}

QAction* MainFrame::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainFrame::menu(cmd::Menu which) const {
    auto it = menus_.find(which);
    return it == menus_.end() ? nullptr : it->second;
}

std::string MainFrame::titleFor(const MapDocument& doc) {
    std::string t = kBaseTitle;
    t += " [";
    t += decodeCp932Lossy(trimTrailingBlanks(doc.mapHeader.mapName()));
    t += "] ";
    if (!doc.filePath.empty()) {
        t += " - ";
        t += doc.filePath;
    }
    return t;
}

void MainFrame::rebuildTitle() {
    if (handle()) handle()->setWindowTitle(QString::fromStdString(titleFor(doc_)));
}

int MainFrame::onMessage(MessageRecord& m) {
    switch (m.message) {
        case msg::Close:
        case mainmsg::Exit: exitFlow(); return 1;
        case mainmsg::RebuildTitle: rebuildTitle(); return 1;
        case mainmsg::EditModeChanged: editModeChanged(); return 1;
        case msg::Size:
            // The map view takes the frame's new size: its frame on the HQ map follows.
            tools_.post(ToolKind::HqMap, hqmsg::ViewMoved);
            return 0;
        case msg::Move:
            if (!frameFitted_) fitFrameToWorkArea();
            if (mapView_) mapView_->frameMoved();
            return 0;
        default: return toolMessage(m) ? 1 : 0;
    }
}

int MainFrame::onCommand(MessageRecord&, int id, int) {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return 0;
    it->second();
    return 1;
}

TerrainToolHooks MainFrame::terrainToolHooks() {
    TerrainToolHooks hooks;
    hooks.missileBaseDialog = [this](ToolHost&, HexPos hex) {
        MissileBaseDialog d(this, doc_, hex);
        d.run();
    };
    hooks.borderlineDialog = [this](ToolHost&, HexPos hex) {
        BorderlineDialog d(this, doc_, hex);
        d.run();
    };
    hooks.brushPicked = [this] {
        tools_.post(ToolKind::TerrainPalette, terrainpalettemsg::ShowBrush);
    };
    return hooks;
}

void MainFrame::pasteStateChanged() {
    tools_.post(ToolKind::ToolWindow, toolmsg::DrawKindChanged);
}

}  // namespace kv
