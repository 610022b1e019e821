// The map view: the main frame's client, in which the map is drawn and edited.
#pragma once

#include "framework/window.h"

namespace kv {

class MapView : public Window {
public:
    static constexpr const char* kClassName = "KOBMEC_MAPWINDOW_CNAME";
    explicit MapView(Window* parentWindow);
    // The main frame moved.
    void frameMoved() {}
    int onMessage(MessageRecord& m) override;

protected:
    QWidget* createWidget(QWidget* parentWidget) override;
};

}  // namespace kv
