// Choosing, checking and placing the underlay picture, and the bitmap export command. The
// picture is read and checked once, before the placement dialog, and that very picture goes
// to the map view on OK.
#include "app/underlay_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/file_dialogs.h"
#include "framework/profile.h"
#include "framework/prompter.h"
#include "view/bitmap_export.h"
#include "view/map_view.h"
#include "view/underlay_picture.h"

namespace kv {

namespace {

constexpr const char* kFolderKey = "EbauchePath";

// Tells why a picture is not taken; the old underlay stays whatever the reason.
void reportProblem(const UnderlayRead& read, QSize maximum, MainFrame& frame) {
    char text[256];
    switch (read.problem) {
        case UnderlayRead::None: return;
        case UnderlayRead::TooLarge:
            std::snprintf(text, sizeof text,
                          "グラフィックが大きすぎます。\n最大サイズは%dx%dドットです。",
                          maximum.width(), maximum.height());
            break;
        case UnderlayRead::Unreadable:
            std::snprintf(text, sizeof text, "%s",
                          "下絵のファイルを開けませんでした。\n"
                          "ファイルがないか、大きすぎます（256MBまで）。");
            break;
        case UnderlayRead::Undecodable:
            std::snprintf(text, sizeof text, "%s",
                          "下絵を読み込めませんでした。\n"
                          "ファイルが壊れているか、BMP・JPEG・PNG の画像ではありません。");
            break;
        case UnderlayRead::OutOfMemory:
            std::snprintf(text, sizeof text, "%s", "下絵を読み込むためのメモリが足りません。");
            break;
    }
    showMessage("注意", text, PromptIcon::Exclamation, PromptButtons::Ok, &frame);
}

// Runs the placement dialog for `size`; on OK the view keeps the choice.
bool placeUnderlay(MainFrame& frame, MapView& view, QSize size, bool actualSize, int col, int row) {
    const MapDocument& doc = frame.document();
    UnderlayPlacementDialog d(&frame, size, doc.width(), doc.height());
    d.actualSize = actualSize;
    d.col = col;
    d.row = row;
    if (!d.run() || d.result != kIdOk) return false;
    view.underlayActualSize = d.actualSize;
    view.underlayOffsetCol = d.actualSize ? d.col : 0;
    view.underlayOffsetRow = d.actualSize ? d.row : 0;
    return true;
}

// A picture read for the underlay becomes the view's once it is sound and the user has placed
// it; false when it is refused or the placement cancelled.
bool takeOver(MainFrame& frame, MapView& view, UnderlayRead& read, QSize maximum) {
    if (read.problem != UnderlayRead::None) {
        reportProblem(read, maximum, frame);
        return false;
    }
    if (!placeUnderlay(frame, view, read.image.size(), view.underlayActualSize,
                       view.underlayOffsetCol, view.underlayOffsetRow))
        return false;
    view.underlayPicture = std::move(read.image);
    return true;
}

}  // namespace

UnderlayPlacementDialog::UnderlayPlacementDialog(Window* ownerWindow, QSize picture, int mapWidth,
                                                 int mapHeight)
    : Dialog(0, ownerWindow), picture_(picture), mapWidth_(mapWidth), mapHeight_(mapHeight) {
    title = "下絵の配置";
    setFixedClientSize(300, 170);
}

int UnderlayPlacementDialog::onInitDialog() {
    char size[64];
    std::snprintf(size, sizeof size, "画像サイズ：%d×%d ドット", picture_.width(),
                  picture_.height());
    addLabel(kIdPictureSize, size, 12, 10, 276, 18);
    addRadio(kIdFit, "マップ全体に合わせる", 12, 36, 276, 20, kNewGroup);
    addRadio(kIdActualSize, "実寸で表示する（左上の位置）", 12, 62, 276, 20);
    addLabel("列：", 36, 92, 30, 20);
    addSpin(kIdCol, 66, 90, 70, 22, 0, std::max(mapWidth_ - 1, 0));
    addLabel("行：", 150, 92, 30, 20);
    addSpin(kIdRow, 180, 90, 70, 22, 0, std::max(mapHeight_ - 1, 0));
    addButton(kIdOk, "OK", 60, 132, 80, 26)->setDefault(true);
    addButton(kIdCancel, "ｷｬﾝｾﾙ", 160, 132, 80, 26);
    exchangeData(false);
    return 0;
}

void UnderlayPlacementDialog::exchangeData(bool toObject) {
    auto* actual = control<QRadioButton>(kIdActualSize);
    auto* fit = control<QRadioButton>(kIdFit);
    auto* colSpin = control<QSpinBox>(kIdCol);
    auto* rowSpin = control<QSpinBox>(kIdRow);
    if (!actual || !fit || !colSpin || !rowSpin) return;
    if (toObject) {
        actualSize = actual->isChecked();
        col = colSpin->value();
        row = rowSpin->value();
        return;
    }
    (actualSize ? actual : fit)->setChecked(true);
    colSpin->setValue(std::clamp(col, 0, std::max(mapWidth_ - 1, 0)));
    rowSpin->setValue(std::clamp(row, 0, std::max(mapHeight_ - 1, 0)));
    enableOffset();
}

void UnderlayPlacementDialog::enableOffset() {
    const auto* actual = control<QRadioButton>(kIdActualSize);
    const bool on = actual && actual->isChecked();
    for (int id : {kIdCol, kIdRow})
        if (auto* spin = control<QSpinBox>(id)) spin->setEnabled(on);
}

int UnderlayPlacementDialog::onCommand(MessageRecord& m, int id, int code) {
    if ((id == kIdFit || id == kIdActualSize) && code == Clicked) {
        enableOffset();
        return 1;
    }
    return Dialog::onCommand(m, id, code);
}

void openUnderlay(MainFrame& frame) {
    MapView* view = frame.mapView();
    if (!view) return;
    FileDialogRequest r;
    r.kind = FileDialogRequest::Open;
    r.title = "下絵を開く";
    r.startFolder = readFolderKey(kFolderKey);
    // PNG beside the two classic formats: scans and screenshots often come as PNG.
    r.filters = {{"ビットマップ(*.bmp)", "*.bmp"},
                 {"JPEG(*.jpg;*.jpeg)", "*.jpg;*.jpeg"},
                 {"PNG(*.png)", "*.png"}};
    const std::optional<std::string> path = askForFile(r, &frame);
    if (!path) return;
    writeFolderKey(kFolderKey, std::filesystem::path(*path).parent_path().string());
    const MapDocument& doc = frame.document();
    const QSize maximum = maximumUnderlaySize(doc.width(), doc.height());
    UnderlayRead read = readUnderlayFile(*path, maximum);
    if (!takeOver(frame, *view, read, maximum)) return;
    postMessage(view, viewmsg::LoadUnderlay, reinterpret_cast<uintptr_t>(new std::string(*path)));
}

void pasteUnderlay(MainFrame& frame) {
    MapView* view = frame.mapView();
    if (!view) return;
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    if (!clip || !clip->hasImage()) return;
    const MapDocument& doc = frame.document();
    const QSize maximum = maximumUnderlaySize(doc.width(), doc.height());
    UnderlayRead read = takeUnderlayImage(QApplication::clipboard()->image(), maximum);
    if (!takeOver(frame, *view, read, maximum)) return;
    postMessage(view, viewmsg::PasteUnderlay);
}

void moveUnderlay(MainFrame& frame) {
    MapView* view = frame.mapView();
    if (!view || !view->renderer().underlayLoaded()) return;
    if (!placeUnderlay(frame, *view, view->renderer().underlaySize(), view->underlayActualSize,
                       view->underlayOffsetCol, view->underlayOffsetRow))
        return;
    postMessage(view, viewmsg::UnderlayPlacement);
}

void exportBitmapFile(MainFrame& frame) {
    if (!frame.mapView()) return;
    FileDialogRequest r;
    r.kind = FileDialogRequest::Save;
    r.title = "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへの出力";
    r.startFolder = dataPath("data", DataKind::Program);
    r.filters = {{"ﾋﾞｯﾄﾏｯﾌﾟ(*.bmp)", "*.bmp"}};
    r.defaultSuffix = "bmp";
    const std::optional<std::string> path = askForFile(r, &frame);
    if (!path) return;
    if (fileExists(*path) &&
        showMessage("確認", "同じ名前のファイルが存在しています。\n上書きしますか？",
                    PromptIcon::Question, PromptButtons::YesNo, &frame) != PromptAnswer::Yes)
        return;
    const MapDocument& doc = frame.document();
    try {
        exportBitmap(doc, doc.viewSettings.hexSize, *path);
    } catch (const swCError& e) {
        e.report(&frame);
    }
}

}  // namespace kv
