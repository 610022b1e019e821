// The version dialog: the program's title and its version.
#pragma once

#include "framework/window.h"

namespace kv {

class VersionDialog : public Dialog {
public:
    static constexpr int kTemplateId = 124;
    explicit VersionDialog(Window* owner);
    int onInitDialog() override;
};

}  // namespace kv
