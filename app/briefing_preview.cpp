// The briefing and ending previews: pages, sections, scrolling and the marker timer.
#include "app/briefing_preview.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

#include "document/map_document.h"
#include "framework/cp932.h"
#include "framework/errors.h"
#include "framework/picture.h"

namespace kv {

// The page itself: paints through its preview and passes on the wheel, keys and right button.
class NewsCanvas : public QWidget {
public:
    explicit NewsCanvas(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    std::function<void(QPainter&, const QRect&)> paint;
    std::function<void(int)> scroll;
    std::function<void()> close;

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.setClipRect(e->rect());
        if (paint) paint(p, e->rect());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton && close) close();
    }
    void wheelEvent(QWheelEvent* e) override {
        if (scroll) scroll(-e->angleDelta().y() / 120 * 3 * 24);
    }
    void keyPressEvent(QKeyEvent* e) override {
        const int step = e->key() == Qt::Key_Down       ? 24
                         : e->key() == Qt::Key_Up       ? -24
                         : e->key() == Qt::Key_PageDown ? 240
                         : e->key() == Qt::Key_PageUp   ? -240
                                                        : 0;
        if (step != 0 && scroll) {
            scroll(step);
        } else {
            QWidget::keyPressEvent(e);
        }
    }
};

namespace {

constexpr int kLine = 24;
// The scrolling views: where they sit on the window and how much of the tall page shows.
constexpr QRect kBriefingView{20, 128, 620, 336};
constexpr QRect kOrderView{24, 148, 616, 316};
// The lower-left area of an operation order page, left of the second column.
constexpr QRect kOverviewArea{24, 316, 136, 144};

QString decoded(const std::string& cp932) {
    return QString::fromStdString(decodeCp932Lossy(cp932));
}

void centreOver(QWidget* window, const Window* owner) {
    QRect area;
    if (owner && owner->handle()) {
        QWidget* o = owner->handle();
        area = QRect(o->mapToGlobal(QPoint(0, 0)), o->size());
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        area = s->geometry();
    }
    if (area.isValid())
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

// The three button faces of "news_btn.bmp" (back, next, finish; 120 × 32 each).
QIcon buttonFace(int index) {
    static const QImage sheet = [] {
        try {
            return loadPicture("news_btn.bmp").image();
        } catch (const swCError&) {
            return QImage();
        }
    }();
    if (sheet.width() < 360 || sheet.height() < 32) return {};
    return QIcon(QPixmap::fromImage(sheet.copy(index * 120, 0, 120, 32)));
}

std::span<const std::string> linesOf(const std::vector<std::string>& lines, size_t from,
                                     size_t count) {
    if (from >= lines.size()) return {};
    return std::span<const std::string>(lines).subspan(from, std::min(count, lines.size() - from));
}

// The picture of the chosen file, or of the blob.
QImage previewPicture(const std::string& path, const std::vector<uint8_t>& blob) {
    return path.empty() ? decodePicture(blob) : decodePictureFile(path);
}

void drawPicture(QPainter& p, const QImage& picture, const QRect& box) {
    if (picture.isNull()) return;
    const QRect r = fitPicture(picture.size(), box);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(r, picture);
}

// Lines 1–7 and 8–14 of a briefing or ending page.
void drawBriefingColumns(QPainter& p, const QFont& font, const std::vector<std::string>& lines,
                         QPoint origin) {
    drawLines(p, font, linesOf(lines, 0, 7), origin.x(), origin.y(), 448);
    drawLines(p, font, linesOf(lines, 7, 7), origin.x() + 221, origin.y() + 168, 368);
}

}  // namespace

// --- NewsPreview --------------------------------------------------------------------------

NewsPreview::NewsPreview(int templateId, Window* ownerWindow) : Dialog(templateId, ownerWindow) {
    setFixedClientSize(kNewsWidth, kNewsHeight);
}

NewsPreview::~NewsPreview() = default;

int NewsPreview::onInitDialog() {
    handle()->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    art_ = NewsArt::load();
    canvas_ = add<NewsCanvas>(0, 0, 0, kNewsWidth, kNewsHeight);
    canvas_->setObjectName("newsCanvas");
    canvas_->paint = [this](QPainter& p, const QRect& dirty) { paintPage(p, dirty); };
    canvas_->scroll = [this](int pixels) { scrollBy(pixels); };
    canvas_->close = [this] { close(); };
    const char* fallback[] = {"戻る", "次へ", "終了"};
    const QPoint places[] = {{380, 468}, {508, 468}, {508, 468}};
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = addButton(kIdBack + i, "", places[i].x(), places[i].y(), 120, 32);
        const QIcon face = buttonFace(i);
        if (face.isNull()) {
            b->setText(QString::fromUtf8(fallback[i]));
        } else {
            b->setIcon(face);
            b->setIconSize(QSize(120, 32));
            b->setFlat(true);
            b->setStyleSheet("QPushButton { border: none; padding: 0; }");
        }
        b->setFocusPolicy(Qt::NoFocus);
    }
    addButton(kIdFourth, "", 252, 468, 120, 32)->hide();
    centreOver(handle(), owner);
    canvas_->setFocus();
    return 0;
}

int NewsPreview::onCommand(MessageRecord& m, int id, int code) {
    switch (id) {
        case kIdBack: back(); return 1;
        case kIdNext: next(); return 1;
        case kIdFinish:
        case kIdCancel:
        case kIdOk: close(); return 1;
        default: return Dialog::onCommand(m, id, code);
    }
}

void NewsPreview::showPage(bool last) {
    if (auto* b = control<QPushButton>(kIdNext)) b->setVisible(!last);
    if (auto* b = control<QPushButton>(kIdFinish)) b->setVisible(last);
    if (canvas_) canvas_->update();
}

void NewsPreview::close() {
    result = 0;
    end();
}

QImage NewsPreview::render() {
    QImage image(kNewsWidth, kNewsHeight, QImage::Format_RGB32);
    if (handle()) handle()->render(&image);
    return image;
}

// --- BriefingPreview ----------------------------------------------------------------------

BriefingPreview::BriefingPreview(Window* ownerWindow, const MapDocument& doc,
                                 std::string picturePath)
    : NewsPreview(kTemplateId, ownerWindow), doc_(doc) {
    using F = ScenarioTexts;
    const ScenarioTexts& st = doc.scenarioTexts;
    briefingMode_ = st.briefingMode();
    orderMode_ = st.orderMode();
    headline_ = decoded(st.field(F::BriefingHeadline));
    subHeadline_ = decoded(st.field(F::BriefingSubHeadline));
    operationName_ = decoded(st.field(F::OperationName));
    if (briefingMode_ == 2) {
        briefingScroll_ =
            scrollText(st.field(F::BriefingBody), briefingLineWidths(), kScrollLineWidth);
    } else {
        briefingPages_ = paginate(st.field(F::BriefingBody), briefingLineWidths());
    }
    if (orderMode_ == 2) {
        orderScroll_ = scrollText(st.field(F::OrderBody), orderLineWidths(), kScrollLineWidth);
    } else {
        orderPages_ = paginate(st.field(F::OrderBody), orderLineWidths());
    }
    victoryPages_ = victoryPages(st.field(F::VictoryText), st.field(F::FactionsText));
    const int stars = std::clamp<int>(doc.mapHeader.difficulty(), 0, 5);
    QString difficulty;
    for (int i = 0; i < 5; ++i) difficulty += i < stars ? QChar(0x2605) : QChar(0x2606);
    difficulty_ = QString::fromUtf8("難易度 ") + difficulty;
    picture_ = previewPicture(picturePath, st.briefingPicture);
    overview_ = MapOverview(doc);
}

BriefingPreview::~BriefingPreview() = default;

int BriefingPreview::onInitDialog() {
    NewsPreview::onInitDialog();
    timer_ = new QTimer(handle());
    timer_->setInterval(100);
    QObject::connect(timer_, &QTimer::timeout, handle(), [this] { tick(); });
    enter(briefingMode_ != 0 ? kBriefing : orderMode_ != 0 ? kOrder : kVictory, false);
    return 0;
}

bool BriefingPreview::scrolling(int section) const {
    return (section == kBriefing && briefingMode_ == 2) || (section == kOrder && orderMode_ == 2);
}

int BriefingPreview::pageCount(int section) const {
    if (scrolling(section)) return 1;
    if (section == kBriefing) return static_cast<int>(briefingPages_.size());
    if (section == kOrder) return static_cast<int>(orderPages_.size());
    return static_cast<int>(victoryPages_.size());
}

bool BriefingPreview::markersPulsing() const {
    return timer_ && timer_->isActive();
}

void BriefingPreview::enter(int section, bool onLastPage) {
    section_ = section;
    page_ = onLastPage ? std::max(0, pageCount(section) - 1) : 0;
    scroll_ = 0;
    if (timer_) {
        if (section == kOrder) {
            timer_->start();
        } else {
            timer_->stop();
        }
    }
    showPage(section == kVictory && page_ == pageCount(kVictory) - 1);
}

void BriefingPreview::next() {
    if (page_ + 1 < pageCount(section_)) {
        ++page_;
        showPage(section_ == kVictory && page_ == pageCount(kVictory) - 1);
    } else if (section_ == kBriefing) {
        enter(orderMode_ != 0 ? kOrder : kVictory, false);
    } else if (section_ == kOrder) {
        enter(kVictory, false);
    }
}

void BriefingPreview::back() {
    if (page_ > 0) {
        --page_;
        showPage(false);
    } else if (section_ == kVictory && orderMode_ != 0) {
        enter(kOrder, true);
    } else if (section_ != kBriefing && briefingMode_ != 0) {
        enter(kBriefing, true);
    } else {
        close();
    }
}

int BriefingPreview::scrollLimit() const {
    if (section_ == kBriefing && scrolling(kBriefing)) {
        const int tall = 336 + kLine * static_cast<int>(briefingScroll_.scrollLines.size());
        return std::max(0, tall - kBriefingView.height());
    }
    if (section_ == kOrder && scrolling(kOrder)) {
        const int tall = 312 + kLine * static_cast<int>(orderScroll_.scrollLines.size());
        return std::max(0, tall - kOrderView.height());
    }
    return 0;
}

void BriefingPreview::scrollBy(int pixels) {
    const int to = std::clamp(scroll_ + pixels, 0, scrollLimit());
    if (to == scroll_) return;
    scroll_ = to;
    if (canvas_) canvas_->update(section_ == kBriefing ? kBriefingView : kOrderView);
}

QPoint BriefingPreview::overviewOrigin() const {
    const QRect r = fitPicture(overview_.size(), kOverviewArea);
    // The overview is never scaled: centred in its area, or at its corner when larger.
    QPoint origin = r.size() == overview_.size() ? r.topLeft() : kOverviewArea.topLeft();
    if (scrolling(kOrder)) origin -= QPoint(0, scroll_);
    return origin;
}

QRect BriefingPreview::overviewRect() const {
    if (section_ != kOrder || overview_.image().isNull()) return {};
    QRect r(overviewOrigin(), overview_.size());
    if (scrolling(kOrder)) r = r.intersected(kOrderView);
    return r;
}

void BriefingPreview::tick() {
    ++ticks_;
    const QRect r = overviewRect();
    if (canvas_ && !r.isEmpty()) canvas_->update(r);
}

void BriefingPreview::paintPage(QPainter& p, const QRect& dirty) {
    // A timer tick asks for the overview alone: only its markers change.
    const QRect box = overviewRect();
    if (!box.isEmpty() && box.contains(dirty)) {
        p.setClipRect(box);
        overview_.draw(p, overviewOrigin());
        overview_.drawPulse(p, overviewOrigin(), ticks_);
        return;
    }
    drawNewsPaper(p, art_);
    if (section_ == kBriefing) paintBriefing(p);
    if (section_ == kOrder) paintOrder(p);
    if (section_ == kVictory) paintVictory(p);
}

void BriefingPreview::paintBriefing(QPainter& p) {
    drawHeadline(p, fonts_.headline, headline_, QRect(57, 20, 528, 48));
    drawHeadline(p, fonts_.subHeadline, subHeadline_, QRect(20, 92, 600, 24), 0);
    if (!scrolling(kBriefing)) {
        if (size_t(page_) < briefingPages_.size())
            drawBriefingColumns(p, fonts_.body, briefingPages_[size_t(page_)].lines, {20, 128});
        drawPicture(p, picture_, kPictureBox);
        return;
    }
    // The tall page: the first page, then the scrolling lines, seen through the view.
    p.save();
    p.setClipRect(kBriefingView, Qt::IntersectClip);
    p.fillRect(kBriefingView, Qt::white);
    const QPoint o = kBriefingView.topLeft() - QPoint(0, scroll_);
    drawBriefingColumns(p, fonts_.body, briefingScroll_.firstPage.lines, o);
    drawPicture(p, picture_, kPictureBox.translated(0, -scroll_));
    const std::vector<std::string>& more = briefingScroll_.scrollLines;
    const int first = std::max(0, (scroll_ - 336) / kLine);
    const int count = kBriefingView.height() / kLine + 2;
    drawLines(p, fonts_.body, linesOf(more, size_t(first), size_t(count)), o.x(),
              o.y() + 336 + kLine * first, 620);
    p.restore();
}

void BriefingPreview::paintOrder(QPainter& p) {
    drawHeadline(p, fonts_.headline, QString::fromUtf8("作戦指令書"), QRect(57, 20, 528, 48));
    drawHeadline(p, fonts_.subHeadline, operationName_, QRect(24, 112, 576, 24), 0);
    const bool tall = scrolling(kOrder);
    const std::vector<std::string>& lines =
        tall ? orderScroll_.firstPage.lines
             : (size_t(page_) < orderPages_.size() ? orderPages_[size_t(page_)].lines
                                                   : orderScroll_.firstPage.lines);
    p.save();
    QPoint o(24, 148);
    if (tall) {
        p.setClipRect(kOrderView, Qt::IntersectClip);
        p.fillRect(kOrderView, Qt::white);
        o -= QPoint(0, scroll_);
    }
    drawLines(p, fonts_.body, linesOf(lines, 0, 7), o.x(), o.y(), 592);
    drawLines(p, fonts_.body, linesOf(lines, 7, 6), o.x() + 144, o.y() + 168, 448);
    overview_.draw(p, overviewOrigin());
    overview_.drawPulse(p, overviewOrigin(), ticks_);
    if (tall) {
        const std::vector<std::string>& more = orderScroll_.scrollLines;
        const int first = std::max(0, (scroll_ - 312) / kLine);
        const int count = kOrderView.height() / kLine + 2;
        drawLines(p, fonts_.body, linesOf(more, size_t(first), size_t(count)), o.x(),
                  o.y() + 312 + kLine * first, 616);
    }
    p.restore();
}

void BriefingPreview::paintVictory(QPainter& p) {
    drawHeadline(p, fonts_.headline, QString::fromUtf8("勝敗条件"), QRect(57, 20, 528, 48));
    if (size_t(page_) < victoryPages_.size()) {
        const VictoryPage& vp = victoryPages_[size_t(page_)];
        for (const VictoryLine& l : vp.lines) {
            const std::string one[] = {l.line};
            drawLines(p, fonts_.body, one, 24, 140 + kLine * l.row, 592);
        }
        if (vp.factionsRow >= 0) {
            const int y = 140 + kLine * vp.factionsRow;
            p.setFont(fonts_.caption);
            p.setPen(Qt::black);
            p.drawText(QRect(24, y - 18, 80, 18), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromUtf8("参戦陣営"));
        }
    }
    p.setFont(fonts_.body);
    p.setPen(Qt::black);
    p.drawText(QRect(24, 476, 160, 16), Qt::AlignLeft | Qt::AlignVCenter, difficulty_);
}

// --- EndingPreview ------------------------------------------------------------------------

EndingPreview::EndingPreview(Window* ownerWindow, const MapDocument& doc, std::string picturePath)
    : NewsPreview(kTemplateId, ownerWindow) {
    using F = ScenarioTexts;
    const ScenarioTexts& st = doc.scenarioTexts;
    headline_ = decoded(st.field(F::EndingHeadline));
    pages_ = paginate(st.field(F::EndingBody), briefingLineWidths());
    picture_ = previewPicture(picturePath, st.endingPicture);
    const QFontMetrics big(fonts_.headline), small(fonts_.smallHeadline);
    place_ = placeEndingHeadline(big.horizontalAdvance(headline_), big.height(),
                                 small.horizontalAdvance(headline_), small.height());
}

int EndingPreview::onInitDialog() {
    NewsPreview::onInitDialog();
    showPage(pageCount() <= 1);
    return 0;
}

void EndingPreview::next() {
    if (page_ + 1 >= pageCount()) return;
    ++page_;
    showPage(page_ + 1 >= pageCount());
}

void EndingPreview::back() {
    if (page_ == 0) {
        close();
        return;
    }
    --page_;
    showPage(false);
}

void EndingPreview::paintPage(QPainter& p, const QRect&) {
    drawNewsPaper(p, art_);
    const QFont& font = place_.small ? fonts_.smallHeadline : fonts_.headline;
    p.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    p.setPen(QColor(222, 222, 222));
    p.drawText(place_.x + 3, place_.y + 3 + ascent, headline_);
    p.setPen(Qt::black);
    p.drawText(place_.x, place_.y + ascent, headline_);
    if (size_t(page_) < pages_.size())
        drawBriefingColumns(p, fonts_.body, pages_[size_t(page_)].lines, {20, 128});
    drawPicture(p, picture_, kPictureBox);
}

}  // namespace kv
