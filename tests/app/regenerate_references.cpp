// Rewrites tests/app/data/Tavrel.ini from the reference settings (target
// tavrel_app_regenerate_references). Run it only after checking that a changed byte is meant.
#include "settings_reference.h"

#include <cstdio>
#include <fstream>

int main() {
    const std::string text = tavrel::test::referenceSettingsText();
    const char* path = TAVREL_SOURCE_DIR "/tests/app/data/Tavrel.ini";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
        std::fprintf(stderr, "could not write %s\n", path);
        return 1;
    }
    std::printf("wrote %s (%zu bytes)\n", path, text.size());
    return 0;
}
