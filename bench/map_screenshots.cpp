// Screenshots of the editor showing a map at each hex size with the hex frame off and on,
// and the map's bitmap export, for looking at what the view draws.
//   kvshots OUT_FOLDER [MAP_FILE]
// Without a map file the demo scenario of the program folder is shown, or a busy generated
// map when there is none. Run it under a display (xvfb-run) for real fonts and windows.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <string>

#include "app/editor_app.h"
#include "app/main_frame.h"
#include "busy_map.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/data_paths.h"
#include "framework/disk_file.h"
#include "framework/font.h"
#include "framework/message_box_prompter.h"
#include "framework/profile.h"
#include "view/bitmap_export.h"
#include "view/map_view.h"

namespace {

void send(kv::MapView& view, uint32_t message) {
    kv::MessageRecord m;
    m.message = message;
    view.sendMessage(m);
}

void shoot(kv::MainFrame& frame, const QString& path) {
    QApplication::processEvents();
    frame.handle()->grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

void run(kv::MainFrame& frame, const QString& out, const std::string& mapFile) {
    kv::MapDocument& doc = *kv::theDocument();
    kv::MapView& view = *frame.mapView();
    const std::string demo = kv::dataPath("demo_scenario.kvs", kv::DataKind::Map);
    const std::string file = mapFile.empty() ? demo : mapFile;
    if (!kv::fileExists(file) || !kv::loadMapFile(doc, file)) kvbench::makeBusyMap(doc, 80, 60);
    send(view, kv::viewmsg::NewMap);
    for (int size : {16, 32, 48}) {
        for (int framed : {0, 1}) {
            // What the zoom and hex frame commands do.
            doc.viewSettings.hexSize = size;
            doc.viewSettings.showHexFrame = static_cast<uint8_t>(framed);
            doc.viewSettings.redrawGrid.markAllDirty();
            send(view, kv::viewmsg::RebuildSheets);
            send(view, kv::viewmsg::Redraw);
            view.centreOn(doc.width() / 3, doc.height() / 3);
            shoot(frame, QString("%1/map_%2%3.png").arg(out).arg(size).arg(framed ? "_frame" : ""));
        }
    }
    const std::string exported = (out + "/export_32.png").toStdString();
    kv::exportBitmap(doc, 32, exported);
    kv::exportBitmap(doc, 16, (out + "/export_16.bmp").toStdString());
    std::printf("%s\n", exported.c_str());
    doc.isClean = 1;
    frame.destroy();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kvshots OUT_FOLDER [MAP_FILE]\n");
        return 2;
    }
    const QString out = QDir(argv[1]).absolutePath();
    QDir().mkpath(out);
    const std::string mapFile = argc > 2 ? argv[2] : "";
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    kv::installFontSubstitutions();
    kv::MessageBoxPrompter prompter;
    kv::ScopedPrompter installed(&prompter);
    kv::EditorApp app;
    kv::StartupOptions options;
    options.onStarted = [out, mapFile](kv::MainFrame& frame) { run(frame, out, mapFile); };
    return app.run(options);
}
