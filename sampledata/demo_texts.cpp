// The demo scenario's texts (a briefing of several pages, the operation order, victory and
// factions texts, the ending) and its briefing picture, a halftone newspaper photograph drawn
// here pixel by pixel.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "document/map_document.h"
#include "sampledata/demo_build.h"
#include "scenario/scenario_text_edit.h"

namespace kv::sample::demo {

namespace {

constexpr int kPictureWidth = 200;
constexpr int kPictureHeight = 150;

// The scene's brightness at (x, y), 0 black .. 1 white: sky, a ridge, the river with its
// bridge, fields, and a tank in the foreground.
double scene(int x, int y) {
    const double fx = x, fy = y;
    const double ridge = 52 + 9 * std::sin(fx * 0.045) + 4 * std::sin(fx * 0.17 + 1.0);
    const double river = 100 + 7 * std::sin(fx * 0.035 + 0.5);
    double g;
    if (fy < ridge) {
        g = 0.92 - 0.25 * fy / ridge;  // sky, darker towards the ridge
        if (std::hypot(fx - 150, fy - 22) < 9) g = 0.98;
    } else if (fy < river - 10) {
        g = 0.42 + 0.12 * (fy - ridge) / 40 + 0.05 * std::sin(fx * 0.9) * std::sin(fy * 1.3);
    } else if (fy < river + 10) {
        g = 0.78 + 0.08 * std::sin(fx * 0.6 + fy * 2.1);  // water
    } else {
        g = 0.58 + 0.08 * std::sin((fx + 2 * fy) * 0.5);  // ploughed fields
    }
    // The bridge: a deck over the river on three piers.
    if (fy > river - 5 && fy < river - 1 && fx > 20 && fx < 180) g = 0.18;
    for (double pier : {60.0, 100.0, 140.0})
        if (std::abs(fx - pier) < 2.5 && fy >= river - 1 && fy < river + 8) g = 0.25;
    // The tank: hull, turret and gun, with its tracks.
    const bool hull = fx > 28 && fx < 92 && fy > 122 && fy < 136;
    const bool turret = fx > 44 && fx < 72 && fy > 112 && fy <= 122;
    const bool gun = fx >= 72 && fx < 110 && fy > 115 && fy < 118;
    const bool tracks = fx > 24 && fx < 96 && fy >= 136 && fy < 143;
    if (hull || turret || gun) g = 0.12;
    if (tracks) g = ((x / 4) % 2) ? 0.05 : 0.3;
    return g;
}

// A 45° dot screen of 4-pixel cells: dark areas print large dots, as newsprint does.
bool inked(int x, int y, double brightness) {
    const double u = (x + y) / std::sqrt(2.0) / 4.0, v = (x - y) / std::sqrt(2.0) / 4.0;
    const double du = u - std::floor(u) - 0.5, dv = v - std::floor(v) - 0.5;
    return du * du + dv * dv < (1.0 - brightness) * 0.5;
}

void putU16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void putU32(std::vector<uint8_t>& b, uint32_t v) {
    putU16(b, v & 0xFFFF);
    putU16(b, v >> 16);
}

// The picture as a 24-bit bitmap file, bottom row first.
std::vector<uint8_t> briefingPicture() {
    const uint32_t rowBytes = (kPictureWidth * 3 + 3) & ~3u;
    const uint32_t pixels = rowBytes * kPictureHeight;
    std::vector<uint8_t> b;
    b.reserve(54 + pixels);
    b.push_back('B');
    b.push_back('M');
    putU32(b, 54 + pixels);
    putU32(b, 0);
    putU32(b, 54);
    putU32(b, 40);
    putU32(b, kPictureWidth);
    putU32(b, kPictureHeight);
    putU16(b, 1);
    putU16(b, 24);
    putU32(b, 0);
    putU32(b, pixels);
    putU32(b, 2835);
    putU32(b, 2835);
    putU32(b, 0);
    putU32(b, 0);
    for (int y = kPictureHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const bool ink = inked(x, y, scene(x, y));
            // Blue, green, red: ink black-brown, paper a warm newsprint.
            const uint8_t bgr[3] = {uint8_t(ink ? 34 : 214), uint8_t(ink ? 36 : 230),
                                    uint8_t(ink ? 40 : 236)};
            b.insert(b.end(), bgr, bgr + 3);
        }
        b.resize(b.size() + (rowBytes - kPictureWidth * 3), 0);
    }
    return b;
}

}  // namespace

std::string setUpScenarioTexts(MapDocument& doc) {
    ScenarioTexts& s = doc.scenarioTexts;
    using F = ScenarioTexts;
    s.setField(F::BriefingHeadline, cp932("セルヴィア川に緊張走る"));
    s.setField(F::BriefingSubHeadline, cp932("北ローレン連邦、国境に部隊集結"));
    s.setField(
        F::BriefingBody,
        cp932("【アルデナ発】北ローレン連邦とセルヴィア王国は、本日未明に相互防衛条約を締結した"
              "と発表した。両国の外相は共同声明の中で、セルヴィア川流域の自由都市ミランを「共同"
              "の管理下に置く」と一方的に宣言しており、流域の安定を脅かすものとして各国に波紋が"
              "広がっている。\n"
              "国境付近の住民によれば、数日前から北ローレン連邦の機甲部隊が昼夜を問わず南下を続"
              "けており、ローレン市の郊外には仮設の補給所が次々と設けられているという。セルヴィ"
              "ア王国もまた、南海に面した港に揚陸艦を集めているとの情報がある。\n"
              "アルデナ共和国政府は同日午後に緊急閣議を開き、両国の動きを重大な挑発行為とみな"
              "す声明を発表した。首相は記者会見で「自由都市ミランの独立は流域諸国の合意によって"
              "守られてきたものであり、いかなる国もこれを一方的に変えることは許されない」と述べ"
              "、国防軍に全軍の即応態勢を命じた。\n"
              "国防省の発表によれば、首都近郊の機甲師団は既に東部の集結地へ移動を始めており、"
              "空港の戦闘機部隊も警戒待機に入った。南部の軍港では護衛艦が出港準備を整え、民間船"
              "舶には南海への立ち入りを控えるよう通告が出されている。\n"
              "一方、自由都市ミランの市長は中立の維持を訴え、三国の代表を招いた会談を呼びかけ"
              "ている。しかし北ローレン連邦はこれに応じる姿勢を見せておらず、外交による解決の道"
              "は急速に狭まりつつある。\n"
              "専門家の間では、セルヴィア川に架かる二つの橋の帰趨が今後の情勢を左右するとの見"
              "方が強い。川の北岸を押さえた側が流域全体の主導権を握ることになるからだ。両岸の町"
              "では住民の避難が始まっており、主要な道路は軍の車両で埋め尽くされている。\n"
              "流域の緊張がこのまま高まれば、三国の軍が国境で衝突するのは時間の問題とみられる"
              "。本紙は引き続き現地から最新の情勢を伝える。"));
    s.setField(F::OperationName, cp932("ブルーリバー作戦"));
    s.setField(
        F::OrderBody,
        cp932("発　アルデナ共和国国防軍総司令部\n"
              "宛　セルヴィア川方面軍司令官\n"
              "一、状況　北ローレン連邦およびセルヴィア王国の両軍は国境付近に集結を終え、数日"
              "のうちに自由都市ミランへ進出する公算が大である。\n"
              "二、任務　方面軍は敵の進出に先んじてセルヴィア川の橋梁を確保し、敵両国の首都を"
              "攻略してこれを占領せよ。\n"
              "三、実施\n"
              "　１　機甲部隊は首都東方に集結し、街道に沿って前進、セルヴィア川の橋梁を確保せ"
              "よ。\n"
              "　２　航空部隊は空港より出撃し、敵航空戦力を制圧するとともに地上部隊の前進を掩"
              "護せよ。\n"
              "　３　海上部隊は揚陸艦を護衛して南海の制海権を確保し、セルヴィア王国の港を封鎖"
              "せよ。\n"
              "　４　対戦車歩兵部隊はヘリコプターによりローレン市まで進出し、敵後方を攪乱せよ"
              "。\n"
              "四、司令部は首都アルデナに置く。司令部の喪失は作戦の失敗を意味する。各部隊は司令"
              "部の防護に十分留意せよ。\n"
              "以上、各部隊の健闘を祈る。"));
    s.setField(F::VictoryText, cp932("勝利条件：首都ローレンと首都セルヴィアを占領する。\n"
                                     "　　　　　対戦車歩兵部隊をローレン市へ送り届ける。\n"
                                     "　　　　　自由都市ミランを確保する（進行目標）。\n"
                                     "敗北条件：首都アルデナを失う。司令部が全滅する。\n"
                                     "　　　　　３０ターンが過ぎても勝利条件を満たせない。"));
    s.setField(F::FactionsText, cp932("アルデナ共和国（ＢＬＵＥ）　プレイヤー\n"
                                      "北ローレン連邦（ＲＥＤ）　　コンピュータ・侵攻重視\n"
                                      "セルヴィア王国（ＧＲＥＥＮ）コンピュータ・防御重視\n"
                                      "北ローレン連邦とセルヴィア王国は同盟関係にある。"));
    s.setField(F::EndingHeadline, cp932("セルヴィア川の戦い、終結"));
    s.setField(
        F::EndingBody,
        cp932("【アルデナ発】アルデナ共和国軍は北ローレン連邦とセルヴィア王国の両首都を制圧"
              "し、三国の代表は自由都市ミランにおいて停戦協定に調印した。\n"
              "協定により、両国の部隊は国境から後退し、セルヴィア川の二つの橋は国際監視団の管"
              "理下に置かれる。自由都市ミランの独立もあらためて確認された。\n"
              "避難していた流域の住民は少しずつ町へ戻り始めている。セルヴィア川には、ふたたび"
              "穏やかな日々が戻ろうとしている。"));
    s.briefingPicture = briefingPicture();
    s.setBriefingMode(1);
    s.setOrderMode(1);
    s.setEndingShown(1);
    // Every text must pass the dialog's check as it stands.
    ScenarioTextInput in;
    for (int i = 0; i < kScenarioTextFieldCount; ++i) {
        in.editTexts[size_t(i)] = toEditText(s.field(textFieldRules()[size_t(i)].field));
        // An empty field is a text without a CP932 form.
        if (in.editTexts[size_t(i)].empty())
            return std::string("demo scenario texts: ") + textFieldRules()[size_t(i)].name;
    }
    const std::vector<std::string> problems = checkScenarioTexts(in);
    return problems.empty() ? std::string() : "demo scenario texts: " + problems.front();
}

}  // namespace kv::sample::demo
