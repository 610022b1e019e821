// The scenario text dialog: its controls, the byte limits of its edits, apply, the picture
// buttons and the previews.
#include "app/scenario_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include <algorithm>
#include <filesystem>

#include "app/briefing_preview.h"
#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/file_dialogs.h"
#include "framework/font.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "view/news_painter.h"

namespace kv {

namespace {

constexpr int kFieldCount = kScenarioTextFieldCount;

// A control's text in CP932 bytes with CR LF line ends; characters without a CP932 form count
// two bytes each (the check reports them by name).
size_t measuredBytes(const QString& text) {
    const Cp932Text t = toCp932(text.toStdString());
    const size_t lineEnds = static_cast<size_t>(text.count('\n'));
    if (t.bytes) return t.bytes->size() + lineEnds;
    return static_cast<size_t>(text.size()) * 2 + lineEnds;
}

bool isMultiLine(int field) {
    return field == 2 || field == 4 || field == 5 || field == 6 || field == 8;
}

}  // namespace

ScenarioTextDialog::ScenarioTextDialog(Window* ownerWindow, MapDocument& doc)
    : Dialog(kTemplateId, ownerWindow), doc_(doc) {
    title = "シナリオ設定";
    setFixedClientSize(590, 654);
}

int ScenarioTextDialog::onInitDialog() {
    copy_ = doc_.scenarioTexts.bytes;
    const QFont editFont = createFont(14, 400);
    auto edit = [&](int field, int x, int y, int w, int h) {
        const int id = kEditIds[size_t(field)];
        QWidget* e = isMultiLine(field) ? static_cast<QWidget*>(addMultiLineEdit(id, x, y, w, h))
                                        : static_cast<QWidget*>(addEdit(id, x, y, w, h));
        e->setFont(editFont);
        if (auto* plain = qobject_cast<QPlainTextEdit*>(e)) plain->setTabChangesFocus(true);
    };
    addGroup(kIdBriefingGroup, "ブリーフィング", 8, 6, 354, 178);
    addCheck(kIdShowBriefing, "ブリーフィングを表示する", 12, 23, 168, 16);
    addRadio(kIdBriefingPages, "ページ", 180, 23, 72, 16, kNewGroup);
    addRadio(kIdBriefingScroll, "スクロール", 252, 23, 84, 16);
    addLabel(1003, "見出し：", 12, 45, 60, 14);
    edit(0, 76, 40, 168, 24);
    addLabel(1005, "小見出し：", 12, 73, 60, 14);
    edit(1, 76, 68, 280, 24);
    addLabel(1007, "本文：", 12, 101, 60, 14);
    edit(2, 76, 96, 280, 80);
    addButton(kIdBriefingPicture, "", 364, 18, 218, 164);
    addGroup(kIdOrderGroup, "作戦指令書", 8, 187, 574, 134);
    addCheck(kIdShowOrder, "作戦指令書を表示する", 12, 204, 168, 16);
    addRadio(kIdOrderPages, "ページ", 180, 204, 72, 16, kNewGroup);
    addRadio(kIdOrderScroll, "スクロール", 252, 204, 84, 16);
    addLabel(1010, "作戦名：", 12, 226, 60, 14);
    edit(3, 76, 221, 500, 24);
    addLabel(1012, "本文：", 12, 253, 60, 14);
    edit(4, 76, 248, 500, 66);
    addGroup(kIdVictoryGroup, "勝利条件", 8, 324, 574, 128);
    addLabel(1015, "勝敗条件：", 12, 343, 60, 14);
    edit(5, 76, 338, 500, 52);
    addLabel(1017, "参戦陣営：", 12, 398, 60, 14);
    edit(6, 76, 393, 500, 52);
    addGroup(kIdEndingGroup, "エンディング", 8, 455, 352, 148);
    addCheck(kIdShowEnding, "エンディングを表示する", 12, 472, 156, 16);
    addLabel(1022, "見出し：", 12, 492, 48, 14);
    edit(7, 64, 487, 290, 24);
    addLabel(1024, "本文：", 12, 521, 48, 14);
    edit(8, 64, 516, 290, 80);
    addButton(kIdEndingPicture, "", 364, 454, 218, 164);
    addButton(kIdBriefingPreview, "ブリーフィング", 142, 622, 104, 24);
    addButton(kIdEndingPreview, "エンディング", 254, 622, 104, 24);
    addButton(kIdOkButton, "OK", 366, 622, 104, 24)->setDefault(true);
    addButton(kIdCancelButton, "キャンセル", 478, 622, 104, 24);
    for (int which = 0; which < 2; ++which) {
        auto* b = control<QPushButton>(which == 0 ? kIdBriefingPicture : kIdEndingPicture);
        b->setIconSize(QSize(216, 160));
        b->setAutoDefault(false);
    }
    fill();
    if (QWidget* o = owner ? owner->handle() : nullptr) {
        const QPoint centre = o->mapToGlobal(QPoint(o->width() / 2, o->height() / 2));
        handle()->move(centre - QPoint(590 / 2, 654 / 2));
    }
    return 0;
}

void ScenarioTextDialog::fill() {
    filling_ = true;
    const ScenarioTexts& st = doc_.scenarioTexts;
    control<QCheckBox>(kIdShowBriefing)->setChecked(st.briefingMode() != 0);
    control<QRadioButton>(kIdBriefingPages)->setChecked(st.briefingMode() != 2);
    control<QRadioButton>(kIdBriefingScroll)->setChecked(st.briefingMode() == 2);
    control<QCheckBox>(kIdShowOrder)->setChecked(st.orderMode() != 0);
    control<QRadioButton>(kIdOrderPages)->setChecked(st.orderMode() != 2);
    control<QRadioButton>(kIdOrderScroll)->setChecked(st.orderMode() == 2);
    control<QCheckBox>(kIdShowEnding)->setChecked(st.endingShown() == 1);
    for (int i = 0; i < kFieldCount; ++i) {
        // The controls show line ends as line breaks; what the check measures is CR LF.
        const std::string stored = st.field(textFieldRules()[size_t(i)].field);
        setEditText(kEditIds[size_t(i)], QString::fromStdString(decodeCp932Lossy(stored)));
        accepted_[size_t(i)] = editText(kEditIds[size_t(i)]);
    }
    filling_ = false;
    showPicture(0);
    showPicture(1);
    enableGroups();
}

QString ScenarioTextDialog::editText(int id) const {
    if (auto* e = control<QLineEdit>(id)) return e->text();
    if (auto* e = control<QPlainTextEdit>(id)) return e->toPlainText();
    return {};
}

void ScenarioTextDialog::setEditText(int id, const QString& text) {
    if (auto* e = control<QLineEdit>(id)) e->setText(text);
    if (auto* e = control<QPlainTextEdit>(id)) e->setPlainText(text);
}

void ScenarioTextDialog::enableGroups() {
    const bool briefing = control<QCheckBox>(kIdShowBriefing)->isChecked();
    const bool order = control<QCheckBox>(kIdShowOrder)->isChecked();
    const bool ending = control<QCheckBox>(kIdShowEnding)->isChecked();
    for (int id : {kIdHeadline, kIdSubHeadline, kIdBriefingBody, kIdBriefingPicture,
                   kIdBriefingPages, kIdBriefingScroll})
        if (QWidget* w = control<QWidget>(id)) w->setEnabled(briefing);
    for (int id : {kIdOperationName, kIdOrderBody, kIdOrderPages, kIdOrderScroll})
        if (QWidget* w = control<QWidget>(id)) w->setEnabled(order);
    for (int id : {kIdEndingHeadline, kIdEndingBody, kIdEndingPicture})
        if (QWidget* w = control<QWidget>(id)) w->setEnabled(ending);
}

// Typing past a field's edit limit is refused, as the edit control would; text the program set
// is not cut.
void ScenarioTextDialog::limitEdit(int id) {
    const auto at = std::find(kEditIds.begin(), kEditIds.end(), id);
    if (at == kEditIds.end()) return;
    const size_t field = size_t(at - kEditIds.begin());
    const QString now = editText(id);
    const size_t limit = textFieldRules()[field].editLimit;
    const size_t bytes = measuredBytes(now);
    if (bytes <= limit || bytes <= measuredBytes(accepted_[field])) {
        accepted_[field] = now;
        return;
    }
    filling_ = true;
    if (auto* e = control<QLineEdit>(id)) {
        const int cursor = e->cursorPosition() - int(now.size() - accepted_[field].size());
        e->setText(accepted_[field]);
        e->setCursorPosition(std::max(0, cursor));
    } else if (auto* e = control<QPlainTextEdit>(id)) {
        const int cursor = e->textCursor().position() - int(now.size() - accepted_[field].size());
        e->setPlainText(accepted_[field]);
        QTextCursor c = e->textCursor();
        c.setPosition(std::clamp(cursor, 0, int(accepted_[field].size())));
        e->setTextCursor(c);
    }
    filling_ = false;
}

bool ScenarioTextDialog::apply(bool withPictures) {
    ScenarioTextInput in;
    std::vector<std::string> problems;
    for (int i = 0; i < kFieldCount; ++i) {
        const Cp932Text t = toCp932(editText(kEditIds[size_t(i)]).toStdString());
        if (!t.bytes) {
            problems.push_back(unencodableMessage(i, t.unencodable));
            continue;
        }
        in.editTexts[size_t(i)] = toEditText(*t.bytes);
        const size_t measured = in.editTexts[size_t(i)].size();
        if (measured > textFieldRules()[size_t(i)].checkLimit)
            problems.push_back(tooLongMessage(i, measured));
    }
    for (const std::string& text : problems)
        showMessage("警告", text, PromptIcon::Exclamation, PromptButtons::Ok, this);
    if (!problems.empty()) return false;
    auto mode = [this](int show, int pages) -> uint8_t {
        if (!control<QCheckBox>(show)->isChecked()) return 0;
        return control<QRadioButton>(pages)->isChecked() ? 1 : 2;
    };
    in.briefingMode = mode(kIdShowBriefing, kIdBriefingPages);
    in.orderMode = mode(kIdShowOrder, kIdOrderPages);
    in.endingShown = control<QCheckBox>(kIdShowEnding)->isChecked() ? 1 : 0;
    if (!withPictures) {
        // A preview's apply: undone by Cancel, so not an edit of its own.
        storeScenarioTexts(doc_.scenarioTexts, in);
        return true;
    }
    try {
        applyScenarioTexts(doc_, in, picturePaths_[0], picturePaths_[1]);
    } catch (const swCError& e) {
        e.report(this);
    }
    return true;
}

void ScenarioTextDialog::showPicture(int which) {
    auto* button = control<QPushButton>(which == 0 ? kIdBriefingPicture : kIdEndingPicture);
    if (!button) return;
    const std::string& path = picturePaths_[size_t(which)];
    const std::vector<uint8_t>& blob =
        which == 0 ? doc_.scenarioTexts.briefingPicture : doc_.scenarioTexts.endingPicture;
    const QImage picture = path.empty() ? decodePicture(blob) : decodePictureFile(path);
    if (picture.isNull()) {
        button->setIcon(QIcon());
        button->setText(QString::fromUtf8("画像なし"));
        return;
    }
    QPixmap face(216, 160);
    face.fill(Qt::white);
    QPainter p(&face);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(fitPicture(picture.size(), QRect(0, 0, 216, 160)), picture);
    p.end();
    button->setIcon(QIcon(face));
    button->setText(QString());
}

void ScenarioTextDialog::choosePicture(int which) {
    FileDialogRequest r;
    r.kind = FileDialogRequest::Open;
    r.title = which == 0 ? "ﾌﾞﾘｰﾌｨﾝｸﾞ画面ﾋﾞｯﾄﾏｯﾌﾟの設定" : "ｴﾝﾃﾞｨﾝｸﾞ画面ﾋﾞｯﾄﾏｯﾌﾟの設定";
    r.filters = {{"ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(*.bmp)", "*.bmp"}};
    r.startFolder = readFolderKey("BriefingBmpPath");
    const std::optional<std::string> path = askForFile(r, this);
    if (!path || !fileExists(*path)) return;
    picturePaths_[size_t(which)] = *path;
    showPicture(which);
    writeFolderKey("BriefingBmpPath", std::filesystem::path(*path).parent_path().string());
}

void ScenarioTextDialog::cancel() {
    doc_.scenarioTexts.bytes = copy_;
    result = 0;
    end();
}

int ScenarioTextDialog::onCommand(MessageRecord& m, int id, int code) {
    if (filling_) return 1;
    switch (id) {
        case kIdShowBriefing:
        case kIdShowOrder:
        case kIdShowEnding: enableGroups(); return 1;
        case kIdBriefingPicture:
        case kIdEndingPicture: choosePicture(id == kIdBriefingPicture ? 0 : 1); return 1;
        case kIdBriefingPreview:
            if (apply(false)) {
                BriefingPreview preview(this, doc_, picturePaths_[0]);
                preview.run();
            }
            return 1;
        case kIdEndingPreview:
            if (apply(false)) {
                EndingPreview preview(this, doc_, picturePaths_[1]);
                preview.run();
            }
            return 1;
        case kIdOk:
        case kIdOkButton:
            if (apply(true)) {
                result = kIdOk;
                end();
            }
            return 1;
        case kIdCancel:
        case kIdCancelButton: cancel(); return 1;
        default:
            if (code == TextChanged) {
                limitEdit(id);
                return 1;
            }
            return Dialog::onCommand(m, id, code);
    }
}

}  // namespace kv
