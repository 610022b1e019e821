// The small dialogs of the main frame's file and map commands: the save question, the map
// check result, the map size, the faction colour exchange and the map selection.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/window.h"

namespace kv {

// "確認": 編集中のマップを保存しますか？ with はい, いいえ and ｷｬﾝｾﾙ; the result is the id of the
// button pressed (kIdYes, kIdNo, kIdCancel). Centred over the owner's client area (the screen while
// it is minimised); the close item is greyed.
class ConfirmSaveDialog : public Dialog {
public:
    static constexpr int kTemplateId = 129;
    explicit ConfirmSaveDialog(Window* owner);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
};

// "マップチェック": one line per problem, or "エラーは発見されませんでした。".
class MapCheckDialog : public Dialog {
public:
    static constexpr int kTemplateId = 125;
    enum Control : int { kIdText = 1000 };
    MapCheckDialog(Window* owner, std::vector<std::string> problemLines);
    int onInitDialog() override;
    // The text shown: the lines joined by CR LF.
    static std::string textOf(const std::vector<std::string>& lines);

private:
    std::vector<std::string> lines_;
};

// "ﾏｯﾌﾟｻｲｽﾞの変更": width and height (48, 64, 128, 256 offered, any number accepted) and
// one of nine anchors. OK checks the range and asks before shrinking; `apply` does the work.
class MapSizeDialog : public Dialog {
public:
    static constexpr int kTemplateId = 126;
    // The anchor buttons are kIdFirstAnchor + anchor.
    enum Control : int { kIdWidth = 1000, kIdHeight = 1001, kIdFirstAnchor = 1010 };
    MapSizeDialog(Window* owner, int width, int height,
                  std::function<void(int width, int height, int anchor)> apply);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    int anchor = 4;

private:
    int currentWidth_, currentHeight_;
    std::function<void(int, int, int)> apply_;
};

// "陣営色の入れ替え": two drop-downs of the slots' colour words, each without the other's
// choice. `first` and `second` hold the chosen slots after OK.
class FactionExchangeDialog : public Dialog {
public:
    static constexpr int kTemplateId = 171;
    enum Control : int { kIdFirst = 1000, kIdSecond = 1001 };
    explicit FactionExchangeDialog(Window* owner);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    void exchangeData(bool toObject) override;
    int first = 0;
    int second = 1;

private:
    void refill();
    bool filling_ = false;
};

}  // namespace kv
