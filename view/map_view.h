// The map view: the main frame's client, in which the map is drawn and edited. It keeps the
// scroll origin and the scroll bars, turns pixels into hexes, redraws changed hexes through
// its renderer and answers the private messages of the other windows.
#pragma once

#include <QElapsedTimer>
#include <QPoint>

#include <functional>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "document/hex_pixels.h"
#include "framework/window.h"
#include "view/map_renderer.h"
#include "view/map_tool.h"

class QScrollBar;

namespace kv {

class MapDocument;

// Private messages the map view receives (the other windows' sets are in window_messages.h).
namespace viewmsg {
constexpr uint32_t Redraw = 1129;
constexpr uint32_t ScrollTo = 1130;  // wParam: low 16 bits column, high 16 bits row
constexpr uint32_t NewMap = 1131;
constexpr uint32_t LoadUnderlay = 1132;  // wParam: a `new std::string` path, deleted here
constexpr uint32_t PasteUnderlay = 1133;
constexpr uint32_t LocateTroop = 1134;  // wParam faction, lParam troop index
constexpr uint32_t FlashHex = 1135;     // wParam column, lParam row
constexpr uint32_t CancelTroopSelection = 1136;
constexpr uint32_t UnderlayPlacement = 1137;
constexpr uint32_t RebuildSheets = 1141;
constexpr uint32_t RedrawRow = 1142;  // wParam row
constexpr uint32_t RemoveUnderlay = 1143;
constexpr uint32_t LoadCustomIcon = 1144;  // wParam icon number
}  // namespace viewmsg

// What the view tells the window that owns it.
class MapViewHost {
public:
    virtual ~MapViewHost() = default;
    // The mouse entered another hex (it may lie outside the map).
    virtual void hexUnderMouse(HexPos) {}
    // A map drawing moved the scroll origin.
    virtual void viewOriginChanged(HexPos) {}
    // One edited hex was redrawn / so many that the whole overview must be redrawn.
    virtual void hexRedrawn(HexPos) {}
    virtual void manyHexesRedrawn() {}
    // After a flush in terrain mode: whether a hex with a terrain label changed.
    virtual void terrainFlushed(bool labelledHexChanged) { (void)labelledHexChanged; }
    // A copied area started or stopped waiting to be pasted.
    virtual void pasteStateChanged() {}
};

class MapView : public Window, public ToolHost {
public:
    static constexpr const char* kClassName = "KOBMEC_MAPWINDOW_CNAME";
    // A primary-button press this soon after a context menu closed is ignored.
    static constexpr int kMenuGuardMs = static_cast<int>(ToolRouter::kMenuGuardMs);

    MapView(Window* parentWindow, MapDocument& doc, MapViewHost* host = nullptr);
    ~MapView() override;

    bool create() override;
    int onMessage(MessageRecord& m) override;
    // The main frame moved: stay below the tool windows.
    void frameMoved();
    // The screen changed size: images of the new size, everything drawn again.
    void displayChanged();

    // --- geometry -----------------------------------------------------------------------
    PixelPos hexToPixel(int col, int row) const;
    HexPos pixelToHex(int x, int y) const;
    // Hexes that fit whole: (columns, rows).
    HexPos visibleSize() const;
    bool isHexVisible(int col, int row) const;
    HexPos scrollOrigin() const { return origin_; }
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }

    // --- scrolling ----------------------------------------------------------------------
    // Fits the origin to the map (a small map centred) and sets the bars.
    void updateScrollBars();
    // Moves the origin (clamped), draws and presents.
    void scrollTo(int col, int row);
    void centreOn(int col, int row);
    QScrollBar* horizontalBar() const { return hbar_; }
    QScrollBar* verticalBar() const { return vbar_; }

    // --- drawing ------------------------------------------------------------------------
    void drawMap();
    void drawLabelsOnly();
    void redrawHex(int col, int row);
    void present();
    // Editing operations queue the hexes they changed, then flush once.
    void queueHex(int col, int row) { changedHexes_.push_back({col, row}); }
    const std::vector<HexPos>& changedHexes() const { return changedHexes_; }
    void flushChangedHexes();
    void redrawRow(int row);
    void flashHex(int col, int row);
    void locateTroop(int faction, int troopIndex);
    // Milliseconds between the steps of a flash.
    void setFlashInterval(int ms) { flashIntervalMs_ = ms; }

    // --- tool state shared with the editing tools ---------------------------------------
    void noteContextMenuClosed() { tools_.contextMenuClosed(clock_.elapsed()); }
    // The editing tools; the mouse goes to the one the edit mode and draw kind choose.
    ToolRouter& tools() { return tools_; }
    // ToolHost: what a tool may ask of the view.
    MapDocument& document() override { return doc_; }
    void queueHex(HexPos hex) override { queueHex(hex.col, hex.row); }
    void queueRow(int row) override;
    void flush() override { flushChangedHexes(); }
    int contextMenu(HexPos at, const std::vector<ToolMenuItem>& items) override;
    void pasteStateChanged() override {
        if (host_) host_->pasteStateChanged();
    }
    // Tests answer the context menus here instead of a real menu.
    std::function<int(HexPos, const std::vector<ToolMenuItem>&)> menuSeam;
    bool contextMenuOpen = false;
    std::optional<HexPos> selectedTroopHex;
    // The underlay placement chosen in the placement dialog, handed to the renderer by
    // LoadUnderlay, PasteUnderlay and UnderlayPlacement.
    int underlayOffsetCol = 0;
    int underlayOffsetRow = 0;
    bool underlayActualSize = false;
    // The picture read and checked before the placement dialog: LoadUnderlay and PasteUnderlay
    // hand it to the renderer (and clear it) instead of reading the file or the clipboard
    // again, which may have changed in between.
    QImage underlayPicture;

    MapRenderer& renderer() { return *renderer_; }
    // The hex the mouse was last over.
    std::optional<HexPos> mouseHex() const { return mouseHex_; }

    // Paints the screen image's part `rect` on the widget (the widget's paint handler).
    void paint(const QRect& rect);

protected:
    QWidget* createWidget(QWidget* parentWidget) override;

private:
    void layout(int width, int height);
    void resizeClient(int width, int height);
    void scrollBarAction(bool vertical, int action);
    void handleNewMap();
    void cancelTroopSelection();
    bool mouseMove(const MessageRecord& m);
    bool rightButtonDown(const MessageRecord& m);
    void endDragScroll();
    void showOnWidget(const PresentResult& result);
    QPoint pointOf(const MessageRecord& m) const;
    ToolPoint toolPoint(const MessageRecord& m) const;

    MapDocument& doc_;
    MapViewHost* host_;
    std::unique_ptr<MapRenderer> renderer_;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    HexPos origin_;
    std::vector<HexPos> changedHexes_;
    std::vector<uint8_t> doneBits_;
    std::recursive_mutex drawLock_;
    std::optional<HexPos> mouseHex_;
    bool dragScrolling_ = false;
    QPoint dragStart_;
    HexPos dragOrigin_;
    QElapsedTimer clock_;
    ToolRouter tools_;
    int flashIntervalMs_ = 100;
};

}  // namespace kv
