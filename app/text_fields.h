// Text of the dialogs' edits and the CP932 bytes of the records: conversion both ways, and
// edits limited by the bytes their text takes in the file, not by characters.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;

namespace kv {

QString textOfBytes(std::string_view cp932);
// Nothing when CP932 has no code for a character.
std::optional<std::string> bytesOfText(const QString& text);
// The CP932 size of `text`, every line end counted as CR LF; characters CP932 lacks count two.
size_t storedSize(const QString& text);

// Keeps the edit's text within `maxBytes` stored bytes: a change that would pass it is cut back
// at a character boundary.
void limitToBytes(QLineEdit* edit, size_t maxBytes);
void limitToBytes(QPlainTextEdit* edit, size_t maxBytes);
// Digits only, at most `maxDigits` of them.
void digitsOnly(QLineEdit* edit, int maxDigits);
// The number in a digits-only edit (0 when empty), wide enough that nothing wraps.
int64_t numberIn(const QLineEdit* edit);

}  // namespace kv
