// CP932 (Shift-JIS, Microsoft table) text helpers: conversion to and from UTF-8 and
// byte-level cutting and trimming that never splits a double-byte character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool isLeadByte(unsigned char b);

// CP932 bytes to UTF-8; nullopt when any byte sequence is invalid or incomplete.
std::optional<std::string> decodeCp932(std::string_view bytes);
// CP932 bytes to UTF-8 for showing bad data: undecodable bytes become U+FFFD. Never fails.
std::string decodeCp932Lossy(std::string_view bytes);
// UTF-8 to CP932; nullopt when the text is not valid UTF-8 or a character has no CP932 form.
std::optional<std::string> encodeCp932(std::string_view utf8);

// The longest prefix of `s` of at most `maxBytes` bytes that ends on a character boundary.
// A lead byte without its trail byte at the end of `s` is dropped.
std::string cutToBytes(std::string_view s, size_t maxBytes);

// `s` up to its first NUL, without trailing ASCII blanks and full-width spaces (0x81 0x40).
std::string trimTrailingBlanks(std::string_view s);

// The text of a fixed-width field: its bytes up to the first NUL, at most `width` bytes.
std::string fieldText(const char* field, size_t width);

}  // namespace kv
