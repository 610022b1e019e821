// The briefing preview (briefing, operation order and victory pages as a newspaper front page)
// and the ending preview, as the game shows them.
#pragma once

#include <QImage>
#include <QRect>

#include <memory>
#include <string>
#include <vector>

#include "framework/window.h"
#include "scenario/text_layout.h"
#include "view/news_painter.h"

class QTimer;

namespace kv {

class MapDocument;
class NewsCanvas;

// What both previews share: the 640 × 512 window over the owner, the paper, the fonts, the
// back / next / finish buttons, and closing on the right button.
class NewsPreview : public Dialog {
public:
    enum Control : int { kIdBack = 1000, kIdNext = 1001, kIdFinish = 1002, kIdFourth = 1003 };
    NewsPreview(int templateId, Window* owner);
    ~NewsPreview() override;
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // Draws the whole window into an image (what a screenshot of it shows).
    QImage render();

protected:
    virtual void paintPage(QPainter& p, const QRect& dirty) = 0;
    virtual void next() = 0;
    virtual void back() = 0;
    virtual void scrollBy(int /*pixels*/) {}
    // Shows finish instead of next when `last`; repaints.
    void showPage(bool last);
    void close();

    NewsFonts fonts_;
    NewsArt art_;
    NewsCanvas* canvas_ = nullptr;
};

class BriefingPreview : public NewsPreview {
public:
    static constexpr int kTemplateId = 150;
    enum Section : int { kBriefing = 0, kOrder = 1, kVictory = 2 };
    // `picturePath`: a picture file shown instead of the document's briefing picture.
    BriefingPreview(Window* owner, const MapDocument& doc, std::string picturePath = {});
    ~BriefingPreview() override;
    int onInitDialog() override;

    int section() const { return section_; }
    int page() const { return page_; }
    int pageCount(int section) const;
    bool scrolling(int section) const;
    int scrollOffset() const { return scroll_; }
    bool markersPulsing() const;
    // One step of the marker timer: the next grey, and a repaint of the overview box only.
    void tick();
    // Where the overview is on the window now (empty outside the operation order).
    QRect overviewRect() const;

protected:
    void paintPage(QPainter& p, const QRect& dirty) override;
    void next() override;
    void back() override;
    void scrollBy(int pixels) override;

private:
    void enter(int section, bool onLastPage);
    void paintBriefing(QPainter& p);
    void paintOrder(QPainter& p);
    void paintVictory(QPainter& p);
    QPoint overviewOrigin() const;
    int scrollLimit() const;

    const MapDocument& doc_;
    uint8_t briefingMode_, orderMode_;
    QString headline_, subHeadline_, operationName_, difficulty_;
    std::vector<TextPage> briefingPages_, orderPages_;
    ScrolledText briefingScroll_, orderScroll_;
    std::vector<VictoryPage> victoryPages_;
    QImage picture_;
    MapOverview overview_;
    QTimer* timer_ = nullptr;
    int section_ = kVictory, page_ = 0, scroll_ = 0, ticks_ = 0;
};

class EndingPreview : public NewsPreview {
public:
    static constexpr int kTemplateId = 151;
    // `picturePath`: a picture file shown instead of the document's ending picture.
    EndingPreview(Window* owner, const MapDocument& doc, std::string picturePath = {});
    int onInitDialog() override;
    int page() const { return page_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // Where the headline went and whether it needed the smaller font.
    const HeadlinePlace& headlinePlace() const { return place_; }

protected:
    void paintPage(QPainter& p, const QRect& dirty) override;
    void next() override;
    void back() override;

private:
    QString headline_;
    std::vector<TextPage> pages_;
    QImage picture_;
    HeadlinePlace place_;
    int page_ = 0;
};

}  // namespace kv
