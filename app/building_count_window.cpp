// The building count window.
#include "app/building_count_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cstdio>

#include "app/main_frame.h"
#include "document/map_document.h"
#include "framework/errors.h"
#include "framework/font.h"
#include "framework/picture.h"
#include "view/window_messages.h"

namespace kv {

namespace {

constexpr int kBoxWidth = 54, kBoxHeight = 12, kIncomeDrop = 14, kTotalTopY = 26;
constexpr int kTotalRow = 19;
// Counts past this are shown as it, in red.
constexpr int kMaxShown = 9999;
const QColor kWhite(255, 255, 255), kLight(200, 200, 200), kDim(160, 160, 160);

class CountCanvas : public QWidget {
public:
    CountCanvas(QWidget* parent, BuildingCountWindow* window) : QWidget(parent), window_(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        window_->paint(p);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) window_->close();
    }

private:
    BuildingCountWindow* window_;
};

bool showsIncome(int d) {
    return d <= 3 || d == 15 || d == kTotalRow;
}

void drawNumber(QPainter& p, const QRect& r, int64_t value, const QColor& colour) {
    const bool capped = value > kMaxShown;
    char text[24];
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(capped ? kMaxShown : value));
    p.setPen(capped ? QColor(255, 0, 0) : colour);
    p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(text));
}

}  // namespace

int BuildingCountWindow::rowY(int d) {
    if (d <= 3) return 40 + 28 * d;
    if (d <= 15) return 96 + 14 * d;
    if (d <= 18) return 110 + 14 * d;
    return 377;
}

BuildingCountWindow::BuildingCountWindow(MainFrame& frame)
    : PaletteWindow(frame, ToolKind::BuildingCount, kClassName, "建物数情報", kClientWidth,
                    kClientHeight) {}

BuildingCountWindow::~BuildingCountWindow() = default;

QPoint BuildingCountWindow::defaultOffset() const {
    return clientAreaOffset();  // the top-left of the main frame's client area
}

int BuildingCountWindow::onInitDialog() {
    try {
        background_ = loadPicture("buildcnt.bmp").image();
    } catch (const swCError&) {
        background_ = QImage();  // the counts are drawn on grey
    }
    canvas_ = new CountCanvas(handle(), this);
    canvas_->setGeometry(0, 0, kClientWidth, kClientHeight);
    recount();
    return 0;
}

void BuildingCountWindow::recount() {
    // The terrain table can change with the product data: rows are made afresh.
    count_ = std::make_unique<BuildingCount>(doc_.gameDatabase.terrainTypes());
    count_->recount(doc_);
    if (canvas_) canvas_->update();
}

void BuildingCountWindow::close() {
    postMessage(&frame_, mainmsg::CloseBuildingCount, mainmsg::FromCloseBox);
}

void BuildingCountWindow::repaintColumn(int column) {
    if (canvas_) canvas_->update(QRect(columnX(column), 0, kBoxWidth, kClientHeight));
}

void BuildingCountWindow::paint(QPainter& p) {
    p.fillRect(QRect(0, 0, kClientWidth, kClientHeight), QColor(192, 192, 192));
    if (!background_.isNull()) p.drawImage(0, 0, background_);
    p.setFont(createFont(12, 400));
    for (int a = 0; a < BuildingCount::kColumns; ++a) paintColumn(p, a);
}

void BuildingCountWindow::paintColumn(QPainter& p, int a) {
    const int x = columnX(a);
    const bool absent = a < kFactionCount && !doc_.factions[size_t(a)].takesPart();
    auto drawRow = [&](const BuildingCount::Cell& c, int y, bool income) {
        QColor colour = c.intact == 0 && c.destroyed == 0 ? kLight : kWhite;
        if (absent) colour = c.intact + c.destroyed <= 0 ? kDim : kLight;
        p.fillRect(QRect(x, y, kBoxWidth, kBoxHeight), Qt::black);
        drawNumber(p, QRect(x, y, 24, kBoxHeight), c.intact, colour);
        p.setPen(colour);
        p.drawText(QRect(x + 24, y, 6, kBoxHeight), Qt::AlignCenter, QStringLiteral("/"));
        drawNumber(p, QRect(x + 30, y, 24, kBoxHeight), c.destroyed, colour);
        if (!income) return;
        p.fillRect(QRect(x, y + kIncomeDrop, kBoxWidth, kBoxHeight), Qt::black);
        p.setPen(colour);
        p.drawText(QRect(x, y + kIncomeDrop, kBoxWidth, kBoxHeight),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(c.income));
    };
    for (int d = 0; d <= kTotalRow; ++d) {
        const BuildingCount::Cell& c = d == kTotalRow ? count_->total(a) : count_->cell(a, d);
        drawRow(c, rowY(d), showsIncome(d));
    }
    drawRow(count_->total(a), kTotalTopY, false);
}

int BuildingCountWindow::onMessage(MessageRecord& m) {
    using Change = BuildingCount::Change;
    switch (m.message) {
        case buildingmsg::Recount: recount(); return 1;
        case buildingmsg::IntactRemoved:
        case buildingmsg::IntactAdded:
        case buildingmsg::DestroyedRemoved:
        case buildingmsg::DestroyedAdded: {
            static constexpr Change kChanges[] = {Change::IntactRemoved, Change::IntactAdded,
                                                  Change::DestroyedRemoved, Change::DestroyedAdded};
            const int owner = int(m.lParam);
            if (count_->apply(kChanges[m.message - buildingmsg::IntactRemoved], int(m.wParam),
                              owner)) {
                repaintColumn(BuildingCount::columnOf(owner));
                repaintColumn(BuildingCount::kAllColumn);
            }
            return 1;
        }
        default: return PaletteWindow::onMessage(m);
    }
}

}  // namespace kv
