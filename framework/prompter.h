// The one seam through which the program asks or tells the user something.
// The editor installs a prompter that shows message boxes, the command line one
// that prints to stderr, and tests one that records every prompt and answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace kv {

enum class PromptIcon { None, Information, Exclamation, Stop, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// Numbered like the platform's dialog results so that dialogs returning ids match.
enum class PromptAnswer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct Prompt {
    std::string caption;  // UTF-8
    std::string text;     // UTF-8, "\n" separates lines
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    const void* owner = nullptr;  // the owning window's framework object, or none
    bool systemModal = false;
    bool taskModal = false;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer ask(const Prompt& prompt) = 0;
};

// The installed prompter; a stderr prompter until something else is installed.
Prompter& prompter();
// Installs `p` (not owned; nullptr restores the default) and returns the previous one.
Prompter* setPrompter(Prompter* p);

PromptAnswer showMessage(const std::string& caption, const std::string& text,
                         PromptIcon icon = PromptIcon::None,
                         PromptButtons buttons = PromptButtons::Ok, const void* owner = nullptr);

// The default answer of a box: the first button (OK, Yes, Retry).
PromptAnswer defaultAnswer(PromptButtons buttons);

// Prints every prompt to stderr and takes the default answer.
class StderrPrompter : public Prompter {
public:
    PromptAnswer ask(const Prompt& prompt) override;
};

// Records every prompt; answers from a script, then with the default answer.
class RecordingPrompter : public Prompter {
public:
    std::vector<Prompt> seen;
    std::deque<PromptAnswer> script;
    PromptAnswer ask(const Prompt& prompt) override;
};

// Installs a prompter for the lifetime of the guard.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter* p) : previous_(setPrompter(p)) {}
    ~ScopedPrompter() { setPrompter(previous_); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    Prompter* previous_;
};

}  // namespace kv
