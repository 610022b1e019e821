// The error family thrown by file, bitmap, sound and drawing code. Callers catch the
// base class, `report` it (a message box with the code's text) or drop it.
#pragma once

#include <string>

namespace kv {

class swCError {
public:
    explicit swCError(int code = 0, std::string caption = {})
        : code(code), caption(std::move(caption)) {}
    virtual ~swCError() = default;
    // Shows the code's text with `caption` as title and an OK button. `owner` is the
    // owning window's framework object; none means the main frame.
    virtual void report(const void* owner = nullptr) const;
    // The user-facing text of this error's code (UTF-8).
    virtual std::string text() const;

    int code;
    std::string caption;  // UTF-8, may be empty
};

class swCFileError : public swCError {
public:
    enum Code { Open = 0, Read = 1, Write = 2, Seek = 3, Close = 4, Size = 5 };
    using swCError::swCError;
    std::string text() const override;
};

class swCBitmapError : public swCError {
public:
    enum Code { Create = 0, Save = 1 };
    using swCError::swCError;
    std::string text() const override;
};

class swCMCIError : public swCError {
public:
    using swCError::swCError;
    std::string text() const override;
};

class swCDirectSoundError : public swCError {
public:
    using swCError::swCError;
    std::string text() const override;
};

class swCDirectDrawError : public swCError {
public:
    enum Code { ColourKey = 7, Restore = 9 };
    using swCError::swCError;
    std::string text() const override;
};

}  // namespace kv
