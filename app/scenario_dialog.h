// "シナリオ設定": the briefing, operation order, victory, factions and ending texts of a
// scenario with their display choices and pictures, and the buttons that preview them.
#pragma once

#include <QString>

#include <array>
#include <string>

#include "document/scenario_texts.h"
#include "framework/window.h"
#include "scenario/scenario_text_edit.h"

namespace kv {

class MapDocument;

class ScenarioTextDialog : public Dialog {
public:
    static constexpr int kTemplateId = 140;
    enum Control : int {
        kIdOkButton = 1000,
        kIdCancelButton = 1001,
        kIdBriefingGroup = 1002,
        kIdHeadline = 1004,
        kIdSubHeadline = 1006,
        kIdBriefingBody = 1008,
        kIdOrderGroup = 1009,
        kIdOperationName = 1011,
        kIdOrderBody = 1013,
        kIdVictoryGroup = 1014,
        kIdVictoryText = 1016,
        kIdFactionsText = 1018,
        kIdBriefingPicture = 1019,
        kIdEndingPicture = 1020,
        kIdEndingGroup = 1021,
        kIdEndingHeadline = 1023,
        kIdEndingBody = 1025,
        kIdShowEnding = 1026,
        kIdShowBriefing = 1027,
        kIdBriefingPages = 1028,
        kIdBriefingScroll = 1029,
        kIdShowOrder = 1030,
        kIdOrderPages = 1031,
        kIdOrderScroll = 1032,
        kIdBriefingPreview = 1033,
        kIdEndingPreview = 1034,
    };
    // The edit control of each text field, in field order.
    static constexpr std::array<int, kScenarioTextFieldCount> kEditIds = {
        kIdHeadline,    kIdSubHeadline,  kIdBriefingBody,   kIdOperationName, kIdOrderBody,
        kIdVictoryText, kIdFactionsText, kIdEndingHeadline, kIdEndingBody};

    ScenarioTextDialog(Window* owner, MapDocument& doc);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // Checks the texts (a "警告" box for each that does not fit) and, when all fit, stores them
    // and the display choices; with pictures also the chosen picture files, as one operation.
    bool apply(bool withPictures);
    const std::string& briefingPicturePath() const { return picturePaths_[0]; }
    const std::string& endingPicturePath() const { return picturePaths_[1]; }

private:
    void fill();
    void enableGroups();
    void choosePicture(int which);
    void showPicture(int which);
    void limitEdit(int id);
    QString editText(int id) const;
    void setEditText(int id, const QString& text);
    void cancel();

    MapDocument& doc_;
    // The texts and display bytes as the dialog found them, restored by Cancel.
    std::array<uint8_t, ScenarioTexts::kSize> copy_{};
    std::array<std::string, 2> picturePaths_;
    std::array<QString, kScenarioTextFieldCount> accepted_;
    bool filling_ = false;
};

}  // namespace kv
