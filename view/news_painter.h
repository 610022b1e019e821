// Drawing the briefing and ending previews: the newspaper page's fonts, background, headline,
// text columns and picture box, and the small map overview with its pulsing markers.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QPainter;

namespace kv {

class MapDocument;

inline constexpr int kNewsWidth = 640;
inline constexpr int kNewsHeight = 512;

struct NewsFonts {
    QFont headline;       // 48 pixels
    QFont smallHeadline;  // 28 pixels, for an ending headline too wide for 48
    QFont subHeadline;    // 24 pixels: sub-headline and operation name
    QFont caption;        // 18 pixels bold
    QFont body;           // 16 pixels
    NewsFonts();
};

// The page's background ("news.bmp") and banner ("news2.bmp"); null when missing.
struct NewsArt {
    QImage background;
    QImage banner;
    // Loads both from the bitmap folder; a picture that cannot be loaded stays null.
    static NewsArt load();
};

// The background and the banner at (16, 12); white where the background is missing.
void drawNewsPaper(QPainter& p, const NewsArt& art);
// A headline centred in `box`, with its light grey shadow `shadowOffset` down and right.
void drawHeadline(QPainter& p, const QFont& font, const QString& text, const QRect& box,
                  int shadowOffset = 3);
// CP932 lines at x, from y downwards 24 pixels apart, each in a box `width` wide.
void drawLines(QPainter& p, const QFont& font, std::span<const std::string> lines, int x, int y,
               int width);
// Where a picture of `size` goes in `box`: at its own size when it fits, else scaled down
// keeping its aspect ratio; centred either way.
QRect fitPicture(QSize size, const QRect& box);
// The briefing and ending picture box.
inline constexpr QRect kPictureBox{18, 302, 216, 160};
// A bitmap file image (a picture blob or a chosen file) as a picture; null when unreadable.
QImage decodePicture(std::span<const uint8_t> bitmapFile);
QImage decodePictureFile(const std::string& path);

// Where the ending headline goes: the 48-pixel font unless the text is wider than 528 pixels
// in it, then the 28-pixel font; centred over the 528-pixel band from x 57.
struct HeadlinePlace {
    bool small = false;  // the 28-pixel font
    int x = 0;           // of the black text; the shadow is 3 pixels further right and down
    int y = 0;
};
HeadlinePlace placeEndingHeadline(int width48, int height48, int width28, int height28);

// The map overview of the operation order page: one square of 2 pixels per hex (1 pixel on
// maps wider or higher than 64; every second hex of maps larger than 128), coloured from the
// overview strips, with the targets of the map marked.
class MapOverview {
public:
    MapOverview() = default;
    explicit MapOverview(const MapDocument& doc);

    const QImage& image() const { return image_; }
    QSize size() const { return image_.size(); }
    int step() const { return step_; }
    int squareSize() const { return square_; }
    // The marker squares' top-left corners, within the overview.
    const std::vector<QPoint>& markers() const { return markers_; }
    // The base image with the white 4 × 4 markers, at `origin`.
    void draw(QPainter& p, QPoint origin) const;
    // The 5 × 5 squares of one timer tick in their pulsing grey.
    void drawPulse(QPainter& p, QPoint origin, int tick) const;
    // The grey level of tick `tick` (period 25).
    static int pulseLevel(int tick);

private:
    QImage image_;
    std::vector<QPoint> markers_;
    int step_ = 1;
    int square_ = 2;
};

}  // namespace kv
