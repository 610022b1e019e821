// Settings file reading and writing on arbitrary file content: never crashes, and a value
// written is the value read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "framework/disk_file.h"
#include "framework/errors.h"
#include "framework/profile.h"
#include "fuzz/scratch_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file = kvfuzz::scratchProgram({}) + "/fuzz.ini";
    try {
        kv::writeFileAtomically(file, std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kv::swCError&) {
        std::abort();
    }

    std::string text = "default";
    kv::ProfileEntry("Environment", "MapPath", file).readString(text);
    kv::ProfileEntry("environment", "SHOWHQ", file).readBool(false);
    kv::ProfileEntry("WindowInfo", "KVORNME_MAINWINDOW_CNAMEWindowPosLeft", file).readInt(-1);
    kv::ProfileEntry("Environment", "HEL", file).readValue();
    kv::ProfileEntry("", "", file).readInt(7);

    // Room is left for what is added, so the file stays readable after the writes.
    const bool readable = size < (1u << 20) - 4096;
    kv::ProfileEntry path("Environment", "MapPath", file);
    path.writeString("/maps/");
    kv::ProfileEntry number("WindowInfo", "FuzzWindowPosTop", file);
    number.writeInt(-123);
    if (readable) {
        kvfuzz::expect(path.readValue() == std::optional<std::string>("/maps/"));
        kvfuzz::expect(number.readInt(0) == -123);
    }
    path.writeString("/other/");
    if (readable) {
        kvfuzz::expect(path.readValue() == std::optional<std::string>("/other/"));
        kvfuzz::expect(number.readInt(0) == -123);
    }
    return 0;
}
