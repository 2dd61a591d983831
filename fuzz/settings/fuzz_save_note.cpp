// Feeds arbitrary bytes to the in-place save note's reader, which a start reads from the
// settings folder: it must never crash, and a note it accepts must be exactly what the writer
// makes of it, so that no two byte strings stand for the same note.
#include "settings/save_note.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto note = tavrel::parseSaveNote(bytes)) {
        if (tavrel::formatSaveNote(*note) != bytes) {
            __builtin_trap();
        }
    }
    return 0;
}
