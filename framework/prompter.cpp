// Prompter installation and the two prompters that need no window system.
#include "framework/prompter.h"

#include <cstdio>

namespace kv {

namespace {
StderrPrompter g_stderrPrompter;
Prompter* g_prompter = nullptr;
}  // namespace

Prompter& prompter() {
    return g_prompter ? *g_prompter : g_stderrPrompter;
}

Prompter* setPrompter(Prompter* p) {
    Prompter* previous = g_prompter;
    g_prompter = p;
    return previous;
}

PromptAnswer showMessage(const std::string& caption, const std::string& text, PromptIcon icon,
                         PromptButtons buttons, const void* owner) {
    Prompt p;
    p.caption = caption;
    p.text = text;
    p.icon = icon;
    p.buttons = buttons;
    p.owner = owner;
    return prompter().ask(p);
}

PromptAnswer defaultAnswer(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::YesNo:
        case PromptButtons::YesNoCancel: return PromptAnswer::Yes;
        case PromptButtons::RetryCancel: return PromptAnswer::Retry;
        case PromptButtons::Ok:
        case PromptButtons::OkCancel: break;
    }
    return PromptAnswer::Ok;
}

PromptAnswer StderrPrompter::ask(const Prompt& prompt) {
    std::fprintf(stderr, "%s%s%s\n", prompt.caption.c_str(), prompt.caption.empty() ? "" : ": ",
                 prompt.text.c_str());
    return defaultAnswer(prompt.buttons);
}

PromptAnswer RecordingPrompter::ask(const Prompt& prompt) {
    seen.push_back(prompt);
    if (script.empty()) return defaultAnswer(prompt.buttons);
    PromptAnswer a = script.front();
    script.pop_front();
    return a;
}

}  // namespace kv
