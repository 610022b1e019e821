// The contact sheet of the map art: every picture at 48, 32 and 16 pixels with its number, in
// the faction colours where it has them, and a small test map laid out the way the map view
// places its cells, so the whole art can be reviewed on one page.
#pragma once

#include <QImage>

#include <string>

namespace kv::sample {

// Scales a colour-keyed picture by size / 48 (48, 32 or 16): each new pixel is the mean of the
// pixels it covers that are not the key, or the key when they cover less than half of it.
QImage shrinkKeyed(const QImage& picture, int size);

// Renders the contact sheet. With an empty `programFolder` the art is drawn afresh, otherwise
// it is read from the folder's bmp/, munit/ and unit/ files.
QImage contactSheet(const std::string& programFolder = {});

// Writes the contact sheet as a PNG file; returns an error text, empty on success. Needs a
// QGuiApplication for its captions.
std::string writeContactSheet(const std::string& pngPath, const std::string& programFolder = {});

}  // namespace kv::sample
