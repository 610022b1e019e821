// Writes the busy generated map of a size as a normal map file, for timing whole commands.
//   kvbusymap OUT.kvn WIDTH HEIGHT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "busy_map.h"
#include "document/map_document.h"
#include "document/map_file.h"
#include "framework/errors.h"
#include "framework/profile.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kvbusymap OUT.kvn WIDTH HEIGHT\n");
        return 2;
    }
    kv::setProgramPath(std::string(KV_DIST_DIR) + "/kvornme");
    kv::MapDocument doc;
    try {
        doc.loadResources();
        kvbench::makeBusyMap(doc, std::atoi(argv[2]), std::atoi(argv[3]));
        kv::writeMapFile(doc, argv[1], kv::MapFileKind::Normal);
    } catch (const kv::swCError& e) {
        std::fprintf(stderr, "kvbusymap: %s %s\n", e.caption.c_str(), e.text().c_str());
        return 1;
    }
    return 0;
}
