// The program's icon: a hex tile of land and sea with a flag planted on it, for the desktop's
// menus, file manager and window frames.
#pragma once

#include <QImage>

#include <string>

namespace kv::sample {

// The sizes of the icon theme's folders the icon is drawn for.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon at `size` × `size` pixels (ARGB, transparent outside the hex).
QImage programIcon(int size);

// Where the icon of `size` lies under a program folder: the layout of the hicolor theme.
std::string programIconPath(int size);

// Writes the icon at every size as PNG under root. Returns an error text, empty on success.
std::string writeProgramIcons(const std::string& root);

}  // namespace kv::sample
