// Texts of the error family and its report through the prompter.
#include "framework/errors.h"

#include "framework/prompter.h"

namespace kv {

void swCError::report(const void* owner) const {
    showMessage(caption, text(), PromptIcon::None, PromptButtons::Ok, owner);
}

std::string swCError::text() const {
    return "エラーが発生しました";
}

std::string swCFileError::text() const {
    switch (code) {
        case Open: return "ファイルのオープンに失敗しました";
        case Read: return "ファイルの読み込みに失敗しました";
        case Write: return "ファイルの書き込みに失敗しました";
        case Seek: return "ファイルのシークに失敗しました";
        case Close: return "ファイルのクローズに失敗しました";
        default: return "ファイルエラーが発生しました";
    }
}

std::string swCBitmapError::text() const {
    return code == Save ? "ビットマップの保存に失敗しました" : "ビットマップの作成に失敗しました";
}

std::string swCMCIError::text() const {
    return code == 0 ? "マルチメディアデバイスをオープンできませんでした"
                     : "マルチメディアデバイスにエラーが発生しました";
}

std::string swCDirectSoundError::text() const {
    return code == 0 ? "DirectSoundの初期化に失敗しました\nサウンドデバイスは使用できません"
                     : "DirectSoundでエラーが発生しました";
}

std::string swCDirectDrawError::text() const {
    // The drawing-surface layer has no texts of its own; name the failure plainly.
    return code == ColourKey ? "描画面のカラーキーを設定できませんでした"
                             : "描画面を復元できませんでした";
}

}  // namespace kv
