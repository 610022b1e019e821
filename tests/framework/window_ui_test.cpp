// The window object layer: lifetimes, dispatch fall-through, posted messages, dialogs and
// their frames, a number as a window's text, placement and the override cursor.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "framework/profile.h"
#include "framework/window.h"
#include "support/test_paths.h"

namespace kv {
namespace {

struct Counted : Window {
    explicit Counted(int* deaths, std::string name = "KOBMEC_COUNTED_CNAME") : deaths_(deaths) {
        setClassName(std::move(name));
    }
    ~Counted() override { ++*deaths_; }
    int onMessage(MessageRecord& m) override {
        seen.push_back(m.message);
        if (m.message == msg::Close) return handleClose ? 1 : 0;
        if (m.message >= 1128) return 1;
        return 0;
    }
    int onCommand(MessageRecord&, int id, int) override {
        commands.push_back(id);
        if (onCommandHook) onCommandHook(id);
        return id == 77 ? 1 : 0;
    }
    std::vector<uint32_t> seen;
    std::vector<int> commands;
    std::function<void(int)> onCommandHook;
    bool handleClose = false;
    int* deaths_;
};

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TEST(WindowLifetime, FrameworkWindowsDeleteThemselvesExactlyOnce) {
    int deaths = 0;
    Counted* w = newWindow<Counted>(&deaths);
    ASSERT_TRUE(w->ownedByFramework());
    ASSERT_TRUE(w->create());
    QPointer<QWidget> widget = w->handle();
    EXPECT_EQ(Window::lookup(widget), w);
    w->destroy();
    flushDeletes();
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(deaths, 1);
    flushDeletes();
    EXPECT_EQ(deaths, 1);
}

TEST(WindowLifetime, StackAndMemberWindowsAreOnlyDetached) {
    int deaths = 0;
    {
        Counted onStack(&deaths);
        EXPECT_FALSE(onStack.ownedByFramework());
        ASSERT_TRUE(onStack.create());
        delete onStack.handle();  // the window goes away first
        EXPECT_EQ(onStack.handle(), nullptr);
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(onStack.seen.back(), msg::Destroy);
    }
    EXPECT_EQ(deaths, 1);  // only the scope ended it

    // A member window inside a framework window's widget tree: the parent widget's
    // destruction detaches the member, and the member's owner deletes it once.
    struct Owner : Window {
        explicit Owner(int* d) : child(d, "KOBMEC_CHILD_CNAME") { child.parent = this; }
        Counted child;
    };
    deaths = 0;
    Owner* owner = newWindow<Owner>(&deaths);
    ASSERT_TRUE(owner->create());
    ASSERT_TRUE(owner->child.create());
    EXPECT_EQ(owner->child.handle()->parentWidget(), owner->handle());
    owner->destroy();
    flushDeletes();
    EXPECT_EQ(deaths, 1);
}

TEST(WindowLifetime, AWindowCreatedWithoutTheAllocatorIsNotMistakenForOne) {
    int deaths = 0;
    Counted* framework = newWindow<Counted>(&deaths);
    auto* plain = new Counted(&deaths);  // the allocator's record was cleared
    EXPECT_TRUE(framework->ownedByFramework());
    EXPECT_FALSE(plain->ownedByFramework());
    delete plain;
    delete framework;
}

TEST(WindowDispatchTest, UnhandledMessagesFallThroughToTheWidget) {
    int deaths = 0;
    Counted w(&deaths);
    ASSERT_TRUE(w.create());
    w.handle()->show();
    w.handle()->resize(200, 150);
    w.handle()->resize(321, 123);
    EXPECT_EQ(w.handle()->size(), QSize(321, 123));
    EXPECT_NE(std::find(w.seen.begin(), w.seen.end(), msg::Size), w.seen.end());

    // Close not handled: the default destroys the window.
    w.handle()->close();
    flushDeletes();
    EXPECT_EQ(w.handle(), nullptr);

    // Close handled: the window stays.
    Counted kept(&deaths);
    kept.handleClose = true;
    ASSERT_TRUE(kept.create());
    kept.handle()->show();
    kept.handle()->close();
    flushDeletes();
    ASSERT_NE(kept.handle(), nullptr);
    EXPECT_TRUE(kept.handle()->isVisible());
    EXPECT_EQ(kept.sendCommand(77), 1);
    EXPECT_EQ(kept.sendCommand(78), 0);
    EXPECT_EQ(kept.commands, (std::vector<int>{77, 78}));
}

TEST(PostedMessages, ArriveAfterTheCurrentCommandInPostingOrder) {
    int deaths = 0;
    Counted a(&deaths, "A_CNAME"), b(&deaths, "B_CNAME");
    ASSERT_TRUE(a.create());
    ASSERT_TRUE(b.create());
    std::vector<PostedMessage> posted;
    recordPosts(&posted);
    std::vector<std::pair<char, uint32_t>> order;
    a.onCommandHook = [&](int) {
        postMessage(&b, 1131);
        postMessage(&a, 1146);
        postMessage(&b, 1129);
        // Nothing arrives while the command runs.
        EXPECT_TRUE(std::count(b.seen.begin(), b.seen.end(), 1131u) == 0);
    };
    a.sendCommand(5);
    EXPECT_TRUE(std::find(a.seen.begin(), a.seen.end(), 1146u) == a.seen.end());
    QCoreApplication::processEvents();
    recordPosts(nullptr);
    std::vector<uint32_t> bPrivate, aPrivate;
    for (uint32_t m : b.seen)
        if (m >= 1128) bPrivate.push_back(m);
    for (uint32_t m : a.seen)
        if (m >= 1128) aPrivate.push_back(m);
    EXPECT_EQ(bPrivate, (std::vector<uint32_t>{1131, 1129}));
    EXPECT_EQ(aPrivate, (std::vector<uint32_t>{1146}));
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].targetClass, "B_CNAME");
    EXPECT_EQ(posted[1].targetClass, "A_CNAME");
    EXPECT_EQ(posted[2].message, 1129u);
    // A window without a widget receives nothing and nothing is recorded.
    Counted gone(&deaths);
    EXPECT_FALSE(postMessage(&gone, 1129));
    EXPECT_FALSE(postMessage(nullptr, 1129));
}

struct NameDialog : Dialog {
    NameDialog() : Dialog(150, nullptr) {
        title = "テスト";
        focusControlId = 1001;
    }
    int onInitDialog() override {
        ++inits;
        for (int id : {1000, 1001}) {
            auto* edit = new QLineEdit(handle());
            edit->setObjectName(QString::number(id));
        }
        return 0;
    }
    void exchangeData(bool toObject) override { exchanges.push_back(toObject); }
    int inits = 0;
    std::vector<bool> exchanges;
};

TEST(DialogTest, OkExchangesDataAndCancelDoesNot) {
    NameDialog ok;
    QString focused;
    Dialog::onModalStart = [&focused](Dialog& d) {
        QTimer::singleShot(0, [&d, &focused] {
            if (QWidget* f = d.handle()->focusWidget()) focused = f->objectName();
            d.sendCommand(1);
        });
    };
    EXPECT_TRUE(ok.run());
    EXPECT_EQ(ok.result, 1);
    EXPECT_EQ(ok.inits, 1);
    EXPECT_EQ(ok.exchanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(ok.handle(), nullptr);  // the dialog's window is gone after it ended
    EXPECT_EQ(focused, "1001");

    NameDialog escaped;
    Dialog::onModalStart = [](Dialog& d) {
        QTimer::singleShot(0, [&d] { QTest::keyClick(d.handle(), Qt::Key_Escape); });
    };
    EXPECT_TRUE(escaped.run());
    EXPECT_EQ(escaped.result, 0);
    EXPECT_EQ(escaped.exchanges, (std::vector<bool>{false}));
    Dialog::onModalStart = nullptr;
}

// A dialog of a fixed size, or one that can be resized.
struct SizedDialog : Dialog {
    explicit SizedDialog(bool fixed) : Dialog(151, nullptr), fixed_(fixed) {}
    int onInitDialog() override {
        if (fixed_) setFixedClientSize(200, 100);
        return 0;
    }
    bool fixed_;
};

TEST(DialogTest, DialogsOfferACloseBoxButNeverMinimising) {
    for (bool fixed : {true, false}) {
        SizedDialog d(fixed);
        Qt::WindowFlags flags;
        Dialog::onModalStart = [&flags](Dialog& dlg) {
            flags = dlg.handle()->windowFlags();
            QTimer::singleShot(0, [&dlg] { dlg.sendCommand(2); });
        };
        d.run();
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << fixed;  // only the buttons asked for
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << fixed;
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint) << fixed;
        EXPECT_EQ(bool(flags & Qt::WindowMaximizeButtonHint), !fixed);
    }
    Dialog::onModalStart = nullptr;
}

TEST(WindowText, ANumberShowsInAControlAndInAWindowsTitle) {
    int deaths = 0;
    Counted top(&deaths);
    ASSERT_TRUE(top.create());
    top.setNumberText(1205, 100);
    EXPECT_EQ(top.handle()->windowTitle(), "12.05");
    ChildControl label("STATIC", &top, 1000, [](QWidget* p) { return new QLabel(p); });
    ChildControl edit("EDIT", &top, 1001, [](QWidget* p) { return new QLineEdit(p); });
    ChildControl button("BUTTON", &top, 1002, [](QWidget* p) { return new QPushButton(p); });
    for (ChildControl* c : {&label, &edit, &button}) {
        ASSERT_TRUE(c->create());
        c->setNumberText(-1234, 100);
        EXPECT_EQ(c->handle()->property("text").toString(), "-12.34") << c->className();
        EXPECT_TRUE(c->handle()->windowTitle().isEmpty()) << c->className();
    }
}

TEST(DialogTest, ModelessListPushesAtTheFrontAndUnlinks) {
    NameDialog a, b, c;
    ModelessList list;
    list.add(&a);
    list.add(&b);
    list.add(&c);
    EXPECT_EQ(list.first(), &c);
    list.remove(&b);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.first()->nextModeless, &a);
    list.remove(&b);  // not in the list: nothing happens
    list.remove(&c);
    list.remove(&a);
    EXPECT_EQ(list.first(), nullptr);
}

// One control of each kind the dialog helpers make, at known places.
struct ControlsDialog : Dialog {
    enum Control : int {
        kIdButton = 1000,
        kIdLabel,
        kIdEdit,
        kIdMemo,
        kIdCombo,
        kIdCheck,
        kIdRadioA,
        kIdRadioB,
        kIdRadioC,
        kIdRadioD,
        kIdSpin,
        kIdList,
        kIdGroup,
    };
    ControlsDialog() : Dialog(152, nullptr) { setFixedClientSize(320, 240); }
    int onInitDialog() override {
        addButton(kIdButton, "押す", 10, 10, 80, 24);
        addLabel(kIdLabel, "見出し", 10, 40, 80, 14);
        addLabel("名無し", 100, 40, 80, 14);
        addEdit(kIdEdit, 10, 60, 120, 22);
        addMultiLineEdit(kIdMemo, 140, 60, 160, 60);
        addCombo(kIdCombo, 10, 90, 120, 22)->addItems({"一", "二"});
        addCheck(kIdCheck, "確認", 10, 118, 100, 16);
        addRadio(kIdRadioA, "A", 10, 150, 50, 16);
        addRadio(kIdRadioB, "B", 60, 150, 50, 16);
        addRadio(kIdRadioC, "C", 10, 170, 50, 16, kNewGroup);
        addRadio(kIdRadioD, "D", 60, 170, 50, 16);
        addSpin(kIdSpin, 140, 130, 60, 22, 1, 10);
        addList(kIdList, 210, 130, 100, 60)->addItems({"x", "y"});
        addGroup(kIdGroup, "枠", 4, 140, 120, 50);  // after the radio buttons it frames
        return 0;
    }
    int onCommand(MessageRecord& m, int id, int code) override {
        commands.emplace_back(id, code);
        return Dialog::onCommand(m, id, code);
    }
    std::vector<std::pair<int, int>> commands;
};

TEST(DialogTest, HelpersPlaceNameAndWireEachKindOfControl) {
    using D = ControlsDialog;
    ControlsDialog d;
    bool checked = false;
    Dialog::onModalStart = [&checked](Dialog& base) {
        auto& dlg = static_cast<D&>(base);
        QTimer::singleShot(0, [&dlg] { dlg.sendCommand(kIdCancel); });  // once the checks are done
        QWidget* w = dlg.handle();
        EXPECT_EQ(w->size(), QSize(320, 240));
        EXPECT_EQ(w->minimumSize(), w->maximumSize());
        EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
        const std::pair<int, QRect> places[] = {
            {D::kIdButton, {10, 10, 80, 24}},  {D::kIdLabel, {10, 40, 80, 14}},
            {D::kIdEdit, {10, 60, 120, 22}},   {D::kIdMemo, {140, 60, 160, 60}},
            {D::kIdCombo, {10, 90, 120, 22}},  {D::kIdCheck, {10, 118, 100, 16}},
            {D::kIdRadioC, {10, 170, 50, 16}}, {D::kIdSpin, {140, 130, 60, 22}},
            {D::kIdList, {210, 130, 100, 60}}, {D::kIdGroup, {4, 140, 120, 50}},
        };
        for (const auto& [id, rect] : places) {
            QWidget* c = dlg.control<QWidget>(id);
            ASSERT_NE(c, nullptr) << id;
            EXPECT_EQ(c->geometry(), rect) << id;
            EXPECT_EQ(c->font(), Dialog::defaultFont()) << id;
        }
        // The lookup is typed: a control of another kind, or no control, is null.
        EXPECT_NE(dlg.control<QComboBox>(D::kIdCombo), nullptr);
        EXPECT_EQ(dlg.control<QPushButton>(D::kIdCheck), nullptr);
        EXPECT_EQ(dlg.control<QLineEdit>(D::kIdMemo), nullptr);
        EXPECT_EQ(dlg.control<QLabel>(999), nullptr);
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (l->text() == "名無し") {
                EXPECT_TRUE(l->objectName().isEmpty());
            }
        }
        EXPECT_EQ(dlg.control<QSpinBox>(D::kIdSpin)->maximum(), 10);
        // The group box lies beneath the buttons it frames although it came after them.
        EXPECT_EQ(w->childAt(15, 155), dlg.control<QWidget>(D::kIdRadioA));

        // Each control reports to onCommand with its id and what happened.
        dlg.commands.clear();
        dlg.control<QPushButton>(D::kIdButton)->click();
        dlg.control<QCheckBox>(D::kIdCheck)->click();
        dlg.control<QLineEdit>(D::kIdEdit)->setText("abc");
        dlg.control<QPlainTextEdit>(D::kIdMemo)->setPlainText("abc");
        dlg.control<QComboBox>(D::kIdCombo)->setCurrentIndex(1);
        dlg.control<QSpinBox>(D::kIdSpin)->setValue(5);
        dlg.control<QListWidget>(D::kIdList)->setCurrentRow(1);
        EXPECT_EQ(dlg.commands, (std::vector<std::pair<int, int>>{
                                    {D::kIdButton, Dialog::Clicked},
                                    {D::kIdCheck, Dialog::Clicked},
                                    {D::kIdEdit, Dialog::TextChanged},
                                    {D::kIdMemo, Dialog::TextChanged},
                                    {D::kIdCombo, Dialog::SelectionChanged},
                                    {D::kIdSpin, Dialog::TextChanged},
                                    {D::kIdList, Dialog::SelectionChanged},
                                }));
        // Two radio groups: a click changes only its own group.
        auto radio = [&dlg](int id) { return dlg.control<QRadioButton>(id); };
        radio(D::kIdRadioA)->click();
        radio(D::kIdRadioC)->click();
        radio(D::kIdRadioB)->click();
        EXPECT_FALSE(radio(D::kIdRadioA)->isChecked());
        EXPECT_TRUE(radio(D::kIdRadioB)->isChecked());
        EXPECT_TRUE(radio(D::kIdRadioC)->isChecked());
        EXPECT_FALSE(radio(D::kIdRadioD)->isChecked());
        EXPECT_EQ(dlg.commands.back(), (std::pair<int, int>{D::kIdRadioB, Dialog::Clicked}));
        checked = true;
    };
    d.run();
    Dialog::onModalStart = nullptr;
    EXPECT_TRUE(checked);
    EXPECT_EQ(d.result, 0);
}

class PlacementUi : public testing::Test {
protected:
    void SetUp() override { setProgramPath(dir.file("kvornme")); }
    void TearDown() override { setProgramPath(""); }
    kvtest::TempDir dir;
};

TEST_F(PlacementUi, NonResizableWindowKeepsItsSizeAndMissingKeysAreIgnored) {
    int deaths = 0;
    Counted w(&deaths, "KOBMEC_PLACED_CNAME");
    ASSERT_TRUE(w.create());
    w.handle()->setGeometry(50, 60, 200, 100);
    w.savePlacement();

    Counted fixed(&deaths, "KOBMEC_PLACED_CNAME");
    ASSERT_TRUE(fixed.create());
    fixed.handle()->resize(120, 90);
    // Stored size differs from the built-in one; position must follow the file.
    ProfileEntry("WindowInfo", "KOBMEC_PLACED_CNAMEWindowPosLeft").writeInt(70);
    fixed.restorePlacement(false, true);
    EXPECT_EQ(fixed.handle()->geometry().topLeft(), QPoint(70, 60));
    EXPECT_EQ(fixed.handle()->size(), QSize(120, 90));

    Counted sized(&deaths, "KOBMEC_PLACED_CNAME");
    ASSERT_TRUE(sized.create());
    sized.restorePlacement(true, true);
    EXPECT_EQ(sized.handle()->size(), QSize(180, 100));  // right 250 − the edited left 70

    // Without "WindowPosBottom" the placement is ignored as a whole.
    kvtest::writeFile(
        settingsFile(),
        "[WindowInfo]\r\nKOBMEC_PLACED_CNAMEWindowZoomed=0\r\n"
        "KOBMEC_PLACED_CNAMEWindowIconic=0\r\nKOBMEC_PLACED_CNAMEWindowPosLeft=400\r\n"
        "KOBMEC_PLACED_CNAMEWindowPosTop=300\r\nKOBMEC_PLACED_CNAMEWindowPosRight=500\r\n");
    Counted dflt(&deaths, "KOBMEC_PLACED_CNAME");
    ASSERT_TRUE(dflt.create());
    dflt.handle()->move(11, 12);
    dflt.restorePlacement(true, true);
    EXPECT_EQ(dflt.handle()->pos(), QPoint(11, 12));
    EXPECT_TRUE(dflt.handle()->isVisible());
}

TEST(OverrideCursor, BusyRestoresThePreviousOverride) {
    EXPECT_FALSE(currentCursor());
    CursorShape before = beginBusy();
    EXPECT_FALSE(before);
    EXPECT_EQ(currentCursor(), Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    setCursor(Qt::CrossCursor);
    CursorShape nested = beginBusy();
    EXPECT_EQ(nested, Qt::CrossCursor);
    endBusy(nested);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    endBusy(before);
    EXPECT_FALSE(currentCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace kv
