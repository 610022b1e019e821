// The campaign editor: its controls, map loading with the player-faction checks, the links,
// the selected map's picture and texts, saving and closing; and the choice of a loaded map.
#include "app/campaign_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <filesystem>

#include "app/map_open_dialog.h"
#include "app/text_fields.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/cp932.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "gamedata/organisation.h"
#include "scenario/campaign_check.h"
#include "view/map_thumbnail.h"

namespace kv {

namespace {

constexpr int kLinkCombos[kLinkKinds] = {CampaignEditor::kIdVictory, CampaignEditor::kIdDraw,
                                         CampaignEditor::kIdDefeat};
constexpr size_t kNameBytes = CampaignData::kNameSize - 1;

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

QString shown(std::string_view cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

void caution(const std::string& text, const void* owner) {
    showMessage("注意", text, PromptIcon::Exclamation, PromptButtons::Ok, owner);
}

bool confirmed(const std::string& text, const void* owner) {
    return showMessage("確認", text, PromptIcon::Question, PromptButtons::YesNo, owner) ==
           PromptAnswer::Yes;
}

int kindOfCombo(int id) {
    for (int kind = 0; kind < kLinkKinds; ++kind)
        if (kLinkCombos[kind] == id) return kind;
    return -1;
}

CampaignSlotsUsed usedOf(const CampaignSources& sources) {
    CampaignSlotsUsed used{};
    for (int k = 0; k < kCampaignSlots; ++k) used[size_t(k)] = sources[size_t(k)].used;
    return used;
}

}  // namespace

// --- マップ選択 ------------------------------------------------------------------------------

MapChoiceDialog::MapChoiceDialog(Window* ownerWindow, const std::vector<LoadedCampaignMap>& loaded)
    : Dialog(0, ownerWindow), loaded_(loaded) {
    title = "マップ選択";
    setFixedClientSize(260, 220);
}

int MapChoiceDialog::onInitDialog() {
    QListWidget* list = addList(kIdList, 8, 8, 244, 174);
    for (size_t j = 0; j < loaded_.size(); ++j) {
        if (loaded_[j].bytes.empty()) continue;
        auto* item = new QListWidgetItem(shown(loaded_[j].name), list);
        item->setData(Qt::UserRole, static_cast<int>(j));
    }
    list->setCurrentRow(0);
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [this] { sendCommand(kIdOk); });
    addButton(kIdOk, "選択", 84, 190, 80, 22)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 172, 190, 80, 22);
    return 0;
}

void MapChoiceDialog::exchangeData(bool toObject) {
    if (!toObject) return;
    const QListWidgetItem* item = control<QListWidget>(kIdList)->currentItem();
    chosen = item ? item->data(Qt::UserRole).toInt() : -1;
}

// --- the editor ----------------------------------------------------------------------------

CampaignEditor::CampaignEditor(Window* ownerWindow, const MapDocument& doc, std::string path)
    : Dialog(kTemplateId, ownerWindow),
      doc_(doc),
      scratch_(std::make_unique<MapDocument>()),
      path_(std::move(path)),
      diagram_(this, data_, sources_, [this] { return nameText(); }) {
    title = "キャンペーン編集";
    setFixedClientSize(576, 326);
    // The thumbnails are drawn with the editor's game data and faction colours.
    scratch_->gameDatabase = doc.gameDatabase;
    scratch_->factionColours = doc.factionColours;
    data_ = CampaignData::newCampaign();
    if (!path_.empty()) {
        CampaignContents contents;
        const bool read = readCampaignFile(path_, contents).ok();
        // What does not read leaves an empty campaign, saved under a name chosen anew.
        data_ = contents.data;
        if (read) {
            sources_ = sourcesOf(contents);
            loaded_ = loadedMapsOf(contents);
        } else {
            path_.clear();
            caution("キャンペーンファイルを読み込めませんでした。", ownerWindow);
        }
    }
    openedName_ = data_.name();
}

CampaignEditor::~CampaignEditor() = default;

int CampaignEditor::onInitDialog() {
    filling_ = true;
    addLabel("キャンペーン名：", 8, 12, 96, 12);
    QLineEdit* name = addEdit(kIdName, 106, 8, 212, 20);
    name->setText(shown(openedName_));
    limitToBytes(name, kNameBytes);
    addLabel(kIdLinkedFromLabel, "リンク元マップ：", 8, 36, 96, 12);
    addList(kIdLinkedFrom, 8, 50, 200, 128)->setStyleSheet("QListView::item { height: 16px; }");
    QLabel* picture = addLabel(kIdThumbnail, "", 216, 34, kThumbnailSize, kThumbnailSize);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setAlignment(Qt::AlignCenter);
    const char* linkLabels[kLinkKinds] = {"勝利リンク：", "引分リンク：", "敗北リンク："};
    for (int kind = 0; kind < kLinkKinds; ++kind) {
        addLabel(kLinkCombos[kind] - 1, linkLabels[kind], 368, 34 + 40 * kind, 96, 12);
        addCombo(kLinkCombos[kind], 368, 48 + 40 * kind, 200, 20);
    }
    addLabel(kIdRankLabel, "操作階級：", 368, 154, 96, 12);
    QComboBox* rank = addCombo(kIdRank, 368, 168, 200, 20);
    for (int r = 0; r < kOperatingRanks; ++r)
        rank->addItem(QString::fromUtf8(commanderTitle(size_t(r))), r);
    addLabel(kIdMapName, "マップ名：", 8, 182, 312, 12);
    QPlainTextEdit* text = addMultiLineEdit(kIdDescription, 8, 196, 560, 94);
    text->setReadOnly(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    addButton(kIdLoadMap, "マップ読込", 8, 298, 80, 20);
    addButton(kIdSave, "保存", 400, 298, 80, 20);
    addButton(kIdClose, "閉じる", 488, 298, 80, 20);
    // Enter in the name must not close the editor.
    for (QPushButton* b : handle()->findChildren<QPushButton*>()) b->setAutoDefault(false);
    filling_ = false;
    placeBesideOwner();
    selectMap(-1);
    openDiagram();
    return 0;
}

void CampaignEditor::placeBesideOwner() {
    const Rect area = workArea();
    QPoint at((area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2);
    if (owner && owner->handle()) {
        const QWidget* o = owner->handle();
        at =
            o->mapToGlobal(QPoint(o->width() / 2, o->height() / 2)) - QPoint(width / 2, height / 2);
    }
    at += QPoint(80, 40);
    at.setX(std::max(area.left, std::min(at.x(), area.right - width)));
    at.setY(std::max(area.top, std::min(at.y(), area.bottom - height)));
    handle()->move(at);
}

void CampaignEditor::openDiagram() {
    // Beside the editor on the right, or on the left where the screen ends.
    const Rect area = workArea();
    const QRect g = handle()->geometry();
    int x = g.right() + 8;
    if (x + diagram_.width > area.right) x = std::max(area.left, g.left() - 8 - diagram_.width);
    diagram_.open(x, g.top());
}

std::string CampaignEditor::nameText() const {
    const QLineEdit* e = control<QLineEdit>(kIdName);
    return e ? e->text().toStdString() : decodeCp932Lossy(data_.name());
}

// --- selection -------------------------------------------------------------------------------

void CampaignEditor::selectMap(int slot) {
    selected_ = CampaignData::validSlot(slot) && sources_[size_t(slot)].used ? slot : -1;
    showSelectedMap();
    fillLinks();
    fillRank();
    fillLinkedFrom();
    updateSave();
    if (selected_ >= 0) postMessage(&diagram_, diagrammsg::SelectMap, uintptr_t(selected_));
}

void CampaignEditor::showSelectedMap() {
    QLabel* picture = control<QLabel>(kIdThumbnail);
    picture->setPixmap(QPixmap());
    QString name, description;
    if (selected_ >= 0) {
        const CampaignSlotSource& s = sources_[size_t(selected_)];
        std::string bytes;
        if (!s.sourcePath.empty()) {
            bytes = readWholeFile(s.sourcePath, kMaxMapFileBytes).value_or(std::string());
        } else if (s.blobIndex >= 0 && size_t(s.blobIndex) < loaded_.size()) {
            bytes = loaded_[size_t(s.blobIndex)].bytes;
        }
        name = shown(data_.map(selected_).mapName());
        MapReadReport report;
        if (!bytes.empty() && readMapFileBytes(*scratch_, bytes, &report)) {
            name = shown(scratch_->mapHeader.mapName());
            description = shown(scratch_->mapHeader.message());
            description.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            try {
                picture->setPixmap(QPixmap::fromImage(mapThumbnail(*scratch_, kThumbnailSize)));
            } catch (const swCError&) {
                // No picture; the name and the text still show.
            }
        }
    }
    control<QLabel>(kIdMapName)->setText(QStringLiteral("マップ名：") + name);
    control<QPlainTextEdit>(kIdDescription)->setPlainText(description);
}

void CampaignEditor::fillLinks() {
    for (int kind = 0; kind < kLinkKinds; ++kind) fillLinkCombo(kind);
}

void CampaignEditor::fillLinkCombo(int kind) {
    QComboBox* c = control<QComboBox>(kLinkCombos[kind]);
    filling_ = true;
    c->clear();
    if (selected_ < 0) {
        c->addItem("--", -1);
        c->setCurrentIndex(0);
        filling_ = false;
        return;
    }
    c->addItem("終了", int(kLinkEnd));
    c->addItem("エンディング", int(kLinkEnding));
    c->addItem("リトライ", int(kLinkRetry));
    const bool free = firstFreeSlot() >= 0;
    if (free) c->addItem("マップ追加", kAddMapChoice);
    for (int i = 0; i < kCampaignSlots; ++i)
        if (i != selected_ && sources_[size_t(i)].used)
            c->addItem("ﾘﾝｸ:" + shown(data_.map(i).mapName()), kLinkChoiceBase + i);
    if (free)
        for (size_t j = 0; j < loaded_.size(); ++j)
            if (!loaded_[j].bytes.empty() && !loaded_[j].placed)
                c->addItem("未ﾘﾝｸ:" + shown(loaded_[j].name), kCopyChoiceBase + int(j));
    const CampaignMap entry = data_.map(selected_);
    const int type = entry.linkType(kind);
    const int wanted = type < kLinkMap ? type : kLinkChoiceBase + entry.linkedSlot(kind);
    c->setCurrentIndex(c->findData(wanted));
    filling_ = false;
}

void CampaignEditor::fillRank() {
    QComboBox* c = control<QComboBox>(kIdRank);
    filling_ = true;
    c->setEnabled(selected_ >= 0);
    c->setCurrentIndex(selected_ >= 0 ? c->findData(int(data_.operatingRank(selected_))) : -1);
    filling_ = false;
}

void CampaignEditor::fillLinkedFrom() {
    QListWidget* list = control<QListWidget>(kIdLinkedFrom);
    filling_ = true;
    list->clear();
    for (int i = 0; selected_ >= 0 && i < kCampaignSlots; ++i) {
        if (!sources_[size_t(i)].used) continue;
        const CampaignMap entry = data_.map(i);
        for (int kind = 0; kind < kLinkKinds; ++kind) {
            if (entry.linkedSlot(kind) != selected_) continue;
            auto* item = new QListWidgetItem(shown(entry.mapName()), list);
            item->setData(Qt::UserRole, i);
            break;
        }
    }
    filling_ = false;
}

void CampaignEditor::updateSave() {
    control<QPushButton>(kIdSave)->setEnabled(modified_ && selected_ >= 0);
}

void CampaignEditor::setModified() {
    modified_ = true;
    updateSave();
}

int CampaignEditor::firstFreeSlot() const {
    for (int k = 0; k < kCampaignSlots; ++k)
        if (!sources_[size_t(k)].used) return k;
    return -1;
}

void CampaignEditor::recomputePlaced() {
    for (LoadedCampaignMap& copy : loaded_) copy.placed = false;
    for (const CampaignSlotSource& s : sources_)
        if (s.used && s.sourcePath.empty() && s.blobIndex >= 0 &&
            size_t(s.blobIndex) < loaded_.size())
            loaded_[size_t(s.blobIndex)].placed = true;
}

// --- links -----------------------------------------------------------------------------------

void CampaignEditor::linkChosen(int kind) {
    QComboBox* c = control<QComboBox>(kLinkCombos[kind]);
    if (filling_ || selected_ < 0 || c->currentIndex() < 0) return;
    const int choice = c->currentData().toInt();
    CampaignMap entry = data_.map(selected_);
    int target = 0;
    if (choice >= kLinkEnd && choice <= kLinkRetry) {
        if (entry.linkType(kind) == choice) return;
        entry.setLink(kind, static_cast<uint8_t>(choice), 0);
        data_.setMap(selected_, entry);
        postMessage(&diagram_, diagrammsg::LinkChanged, uintptr_t(selected_), kind);
    } else if (choice == kAddMapChoice) {
        std::string path;
        const std::optional<CheckedMap> map = openMapFile(path);
        const int n = firstFreeSlot();
        if (!map || n < 0) {
            fillLinkCombo(kind);  // back to the link as it is
            return;
        }
        CampaignMap added;
        added.setMapName(map->name);
        added.setLinkedFrom(static_cast<uint8_t>(selected_));
        data_.setMap(n, added);
        sources_[size_t(n)] = {.used = true, .sourcePath = path};
        target = n;
    } else if (choice >= kCopyChoiceBase) {
        const int j = choice - kCopyChoiceBase;
        const int n = firstFreeSlot();
        if (n < 0 || size_t(j) >= loaded_.size()) {
            fillLinkCombo(kind);
            return;
        }
        CampaignMap added;
        added.setMapName(loaded_[size_t(j)].name);
        added.setLinkedFrom(static_cast<uint8_t>(selected_));
        data_.setMap(n, added);
        sources_[size_t(n)] = {.used = true, .blobIndex = j};
        target = n;
        postMessage(&diagram_, diagrammsg::LinkChanged, uintptr_t(selected_), kind);
    } else {
        target = choice - kLinkChoiceBase;
    }
    if (choice >= kAddMapChoice) {
        entry = data_.map(selected_);
        entry.setLink(kind, kLinkMap, static_cast<uint8_t>(target));
        data_.setMap(selected_, entry);
    }
    postMessage(&diagram_, diagrammsg::LinkRetargeted, 0, intptr_t(kind) * 65536 + target);
    recomputePlaced();
    fillLinks();
    setModified();
    fillLinkedFrom();
}

// --- loading maps ----------------------------------------------------------------------------

void CampaignEditor::loadMapButton() {
    const bool copies = std::any_of(loaded_.begin(), loaded_.end(),
                                    [](const LoadedCampaignMap& c) { return !c.bytes.empty(); });
    int slot = -1;
    if (copies && confirmed("読み込み済みのマップが存在します。\n"
                            "これらのマップの中から選択しますか？",
                            this)) {
        MapChoiceDialog choice(this, loaded_);
        if (!choice.run() || choice.result != kIdOk || choice.chosen < 0 ||
            size_t(choice.chosen) >= loaded_.size())
            return;
        const LoadedCampaignMap& copy = loaded_[size_t(choice.chosen)];
        if (!checkMap(copy.bytes)) return;
        slot = targetOfReplacement();
        CampaignMap entry = data_.map(slot);
        entry.setMapName(copy.name);
        data_.setMap(slot, entry);
        sources_[size_t(slot)] = {.used = true, .blobIndex = choice.chosen};
    } else {
        std::string path;
        const std::optional<CheckedMap> map = openMapFile(path);
        if (!map) return;
        slot = targetOfReplacement();
        CampaignMap entry = data_.map(slot);
        entry.setMapName(map->name);
        data_.setMap(slot, entry);
        sources_[size_t(slot)] = {.used = true, .sourcePath = path};
    }
    recomputePlaced();
    setModified();
    selectMap(slot);
    postMessage(&diagram_, diagrammsg::NameChanged);
    postMessage(&diagram_, diagrammsg::Rebuild);
}

int CampaignEditor::targetOfReplacement() {
    if (selected_ >= 0) return selected_;
    // The first map. An opened campaign's first map keeps its links: only its file changes.
    if (!sources_[0].used) {
        CampaignMap first = data_.map(0);
        first.clearLinks();
        first.setLinkedFrom(kNoCampaignSlot);
        data_.setMap(0, first);
    }
    return 0;
}

std::optional<CampaignEditor::CheckedMap> CampaignEditor::openMapFile(std::string& path) {
    MapOpenDialog d(this, readFolderKey("MapPath"));
    if (!d.run() || d.result != kIdOk || d.chosenPath.empty()) return std::nullopt;
    std::optional<std::string> bytes = readWholeFile(d.chosenPath, kMaxMapFileBytes);
    if (!bytes || bytes->empty()) {
        caution("マップファイルを読み込めませんでした。", this);
        return std::nullopt;
    }
    std::optional<CheckedMap> map = checkMap(std::move(*bytes));
    if (map) path = d.chosenPath;
    return map;
}

std::optional<CampaignEditor::CheckedMap> CampaignEditor::checkMap(std::string bytes) {
    const CampaignMapInfo info = inspectCampaignMap(bytes, *scratch_);
    if (!info.readable) {
        caution("このファイルはマップとして読み込めません。", this);
        return std::nullopt;
    }
    if (info.userFactions.empty()) {
        caution("USER陣営の存在しないマップはキャンペーンに使用できません。", this);
        return std::nullopt;
    }
    if (info.userFactions.size() > 1) {
        caution("USER陣営が２陣営以上存在するマップはキャンペーンに使用できません。", this);
        return std::nullopt;
    }
    const int user = info.userFactions.front();
    const int decided = data_.decidedUserFaction();
    if (decided >= 0 && decided != user) {
        caution("USER陣営は " + std::string(factionColourName(decided)) +
                    " 陣営にする必要があります。\n読み込みをキャンセルします。",
                this);
        return std::nullopt;
    }
    // The game plays scenario maps; a plain map or an intermediate file is the user's call.
    const bool scenario = info.scenario && scratch_->mapHeader.magic() != kIntermediateMagic;
    if (!scenario &&
        !confirmed("シナリオマップではありません。\nキャンペーンに使用しますか？", this))
        return std::nullopt;
    if (decided < 0) data_.setUserFaction(static_cast<uint8_t>(user));
    return CheckedMap{std::move(bytes), scratch_->mapHeader.mapName()};
}

// --- saving and closing ----------------------------------------------------------------------

std::optional<std::string> CampaignEditor::nameBytes() {
    const QString text = control<QLineEdit>(kIdName)->text();
    // Text shown unchanged keeps the bytes it came from.
    if (text == shown(openedName_)) return openedName_;
    return bytesOfText(text);
}

bool CampaignEditor::save() {
    updateCampaignCounts(data_, usedOf(sources_));
    const std::optional<std::string> bytes = nameBytes();
    if (!bytes) {
        caution("キャンペーン名に使用できない文字が含まれています。", this);
        return false;
    }
    const std::string name = cutToBytes(trimTrailingBlanks(*bytes), kNameBytes);
    if (name.empty()) {
        caution("キャンペーン名を入力してください。", this);
        return false;
    }
    data_.setName(name);
    // Every map is read before anything is written; one that is gone is named first.
    const GatheredCampaignMaps maps = gatherCampaignMaps(sources_, loaded_);
    if (!maps.missing.empty()) {
        std::string list;
        for (int k : maps.missing) list += "\n・" + decodeCp932Lossy(data_.map(k).mapName());
        if (!confirmed("次のマップのファイルが見つかりません。" + list +
                           "\n\nこれらのマップを含めずに保存しますか？",
                       this))
            return false;
    }
    FileDialogRequest r;
    r.kind = FileDialogRequest::Save;
    r.title = "ｷｬﾝﾍﾟｰﾝﾌｧｲﾙとして保存";
    r.startFolder = path_.empty() ? readFolderKey("CampaignPath") : folderOf(path_);
    r.filters = {dialogFilter(kCampaignFilter)};
    r.defaultSuffix = "kvc";
    const std::optional<std::string> chosen = askForFile(r, this);
    if (!chosen) return false;
    if (*chosen != path_ && fileExists(*chosen) &&
        !confirmed("同じ名前のファイルが存在しています。\n上書きしますか？", this))
        return false;
    writeFolderKey("CampaignPath", folderOf(*chosen));
    try {
        writeCampaignFile(*chosen, data_, maps.maps);
    } catch (const swCError& e) {
        e.report(owner);
        return false;
    }
    path_ = *chosen;
    openedName_ = name;
    modified_ = false;
    updateSave();
    return true;
}

bool CampaignEditor::closeAllowed() {
    return !modified_ ||
           confirmed("保存されていないキャンペーンですが、編集を終了してよろしいですか？", this);
}

// --- commands and messages -------------------------------------------------------------------

int CampaignEditor::onCommand(MessageRecord& m, int id, int code) {
    switch (id) {
        case kIdOk:
        case kIdCancel:
        case kIdClose:
            if (closeAllowed()) {
                if (QWidget* d = diagram_.handle()) d->hide();
                result = id == kIdCancel ? 0 : kIdOk;
                end();
            }
            return 1;
        case kIdSave: save(); return 1;
        case kIdLoadMap: loadMapButton(); return 1;
        case kIdName:
            if (code == TextChanged && !filling_) {
                postMessage(&diagram_, diagrammsg::NameChanged);
                setModified();
            }
            return 1;
        case kIdRank:
            if (code == SelectionChanged && !filling_ && selected_ >= 0) {
                const int rank = control<QComboBox>(kIdRank)->currentData().toInt();
                if (rank >= 0 && rank != data_.operatingRank(selected_)) {
                    data_.setOperatingRank(selected_, static_cast<uint8_t>(rank));
                    setModified();
                }
            }
            return 1;
        case kIdLinkedFrom:
            if (code == SelectionChanged && !filling_) {
                const QListWidgetItem* item = control<QListWidget>(kIdLinkedFrom)->currentItem();
                if (item) selectMap(item->data(Qt::UserRole).toInt());
            }
            return 1;
        default: break;
    }
    if (const int kind = kindOfCombo(id); kind >= 0) {
        if (code == SelectionChanged) linkChosen(kind);
        return 1;
    }
    return Dialog::onCommand(m, id, code);
}

int CampaignEditor::onMessage(MessageRecord& m) {
    if (m.message == campaignmsg::DiagramSelection) {
        const intptr_t slot = static_cast<intptr_t>(m.wParam) - kMapItemBase;
        if (slot >= 0 && slot < kCampaignSlots) selectMap(static_cast<int>(slot));
        return 1;
    }
    return Dialog::onMessage(m);
}

}  // namespace kv
