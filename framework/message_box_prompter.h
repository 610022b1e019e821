// The editor's prompter: message boxes with Japanese button texts.
#pragma once

#include "framework/prompter.h"

class QWidget;

namespace kv {

class MessageBoxPrompter : public Prompter {
public:
    PromptAnswer ask(const Prompt& prompt) override;
    // The window that owns boxes that name no owner (the main frame).
    static void setDefaultOwner(QWidget* w);
};

}  // namespace kv
