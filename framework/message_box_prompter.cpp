// The editor's prompter: message boxes with Japanese button texts.
#include "framework/message_box_prompter.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "framework/window.h"

namespace kv {

namespace {

QPointer<QWidget> g_defaultOwner;

QMessageBox::Icon iconOf(PromptIcon i) {
    switch (i) {
        case PromptIcon::Information: return QMessageBox::Information;
        case PromptIcon::Exclamation: return QMessageBox::Warning;
        case PromptIcon::Stop: return QMessageBox::Critical;
        case PromptIcon::Question: return QMessageBox::Question;
        case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice {
    PromptAnswer answer;
    const char* text;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonChoice> buttonsOf(PromptButtons b) {
    const ButtonChoice ok{PromptAnswer::Ok, "OK", QMessageBox::AcceptRole};
    const ButtonChoice cancel{PromptAnswer::Cancel, "キャンセル", QMessageBox::RejectRole};
    const ButtonChoice yes{PromptAnswer::Yes, "はい(&Y)", QMessageBox::YesRole};
    const ButtonChoice no{PromptAnswer::No, "いいえ(&N)", QMessageBox::NoRole};
    const ButtonChoice retry{PromptAnswer::Retry, "再試行(&R)", QMessageBox::AcceptRole};
    switch (b) {
        case PromptButtons::Ok: return {ok};
        case PromptButtons::OkCancel: return {ok, cancel};
        case PromptButtons::YesNo: return {yes, no};
        case PromptButtons::YesNoCancel: return {yes, no, cancel};
        case PromptButtons::RetryCancel: return {retry, cancel};
    }
    return {ok};
}

}  // namespace

void MessageBoxPrompter::setDefaultOwner(QWidget* w) {
    g_defaultOwner = w;
}

PromptAnswer MessageBoxPrompter::ask(const Prompt& prompt) {
    QWidget* owner = nullptr;
    if (prompt.owner) owner = static_cast<const Window*>(prompt.owner)->handle();
    if (!owner && !prompt.systemModal) owner = g_defaultOwner;
    QMessageBox box(iconOf(prompt.icon), QString::fromStdString(prompt.caption),
                    QString::fromStdString(prompt.text), QMessageBox::NoButton, owner);
    std::vector<std::pair<QAbstractButton*, PromptAnswer>> map;
    const std::vector<ButtonChoice> choices = buttonsOf(prompt.buttons);
    for (const ButtonChoice& s : choices)
        map.emplace_back(box.addButton(QString::fromUtf8(s.text), s.role), s.answer);
    box.setDefaultButton(static_cast<QPushButton*>(map.front().first));
    if (prompt.buttons != PromptButtons::YesNo) box.setEscapeButton(map.back().first);
    box.exec();
    for (const auto& [button, answer] : map)
        if (box.clickedButton() == button) return answer;
    // Closed without a button: the box's cancel, or the default where there is none.
    return prompt.buttons == PromptButtons::YesNo ? PromptAnswer::No : choices.back().answer;
}

}  // namespace kv
