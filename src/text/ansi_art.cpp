// From a file's bytes to its ANSI screen, and the check that a file is ANSI art at all.
#include "text/ansi_art.h"

#include <algorithm>

namespace tavrel {
namespace {

bool endsWithAns(std::string_view name) {
    constexpr std::string_view kExtension = ".ans";
    if (name.size() < kExtension.size()) {
        return false;
    }
    const std::string_view end = name.substr(name.size() - kExtension.size());
    return std::equal(end.begin(), end.end(), kExtension.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

// An ESC '[' at `at` followed by digits and ';' and one of the finals art uses.
bool ansiSequenceAt(std::string_view text, std::size_t at) {
    constexpr std::string_view kFinals = "mHfABCDJKsu";
    if (at + 2 >= text.size() || text[at + 1] != '[') {
        return false;
    }
    // Art's parameters are short; a long run of digits is not a sequence worth believing.
    const std::size_t end = std::min(text.size(), at + 2 + 32);
    for (std::size_t i = at + 2; i < end; ++i) {
        const char c = text[i];
        if ((c >= '0' && c <= '9') || c == ';') {
            continue;
        }
        return kFinals.find(c) != std::string_view::npos;
    }
    return false;
}

} // namespace

AnsiArt renderAnsiArt(std::string_view file, AnsiOptions base) {
    SauceSplit split = readSauce(file);
    if (split.record) {
        if (split.record->columns() > 0) {
            base.width = split.record->columns();
        }
        base.iceColours = base.iceColours || split.record->iceColours();
    }
    AnsiScreen screen = interpretAnsi(file.substr(0, split.textLength), base);
    return {std::move(split.record), std::move(screen)};
}

bool isAnsiArt(std::string_view fileName, std::string_view file) {
    if (endsWithAns(fileName)) {
        return true;
    }
    const SauceSplit split = readSauce(file);
    if (split.record && split.record->isAnsi()) {
        return true;
    }
    const std::string_view text = file.substr(0, split.textLength);
    for (std::size_t at = text.find('\x1B'); at != std::string_view::npos;
         at = text.find('\x1B', at + 1)) {
        if (ansiSequenceAt(text, at)) {
            return true;
        }
    }
    return false;
}

} // namespace tavrel
