// The head of a file cut for its first screen, and that screen's width.
#include "app/first_screen.h"

#include "app/window_sizing.h"
#include "editor/document.h"

#include <algorithm>
#include <string_view>

namespace tavrel {

namespace {

[[nodiscard]] bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The length after the last whole 16-bit line feed, or 0 without one.
[[nodiscard]] std::size_t afterLastUtf16LineFeed(std::string_view head, bool bigEndian) {
    for (std::size_t i = (head.size() & ~std::size_t{1}); i >= 2; i -= 2) {
        const char low = head[i - (bigEndian ? 1 : 2)];
        const char high = head[i - (bigEndian ? 2 : 1)];
        if (low == '\n' && high == '\0') {
            return i;
        }
    }
    return 0;
}

// The length without a UTF-8 character cut short at the end.
[[nodiscard]] std::size_t withoutCutCharacter(std::string_view head) {
    std::size_t start = head.size();
    // A character is at most four bytes: look back over up to three continuation bytes.
    while (start > 0 && head.size() - start < 4 &&
           (static_cast<unsigned char>(head[start - 1]) & 0xC0) == 0x80) {
        --start;
    }
    if (start == 0) {
        return head.size();
    }
    const auto lead = static_cast<unsigned char>(head[start - 1]);
    const std::size_t have = head.size() - start + 1;
    const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return need > have ? start - 1 : head.size();
}

} // namespace

void cutAtLastLine(std::string& head, EncodingChoice choice) {
    const bool littleMark = startsWith(head, "\xFF\xFE");
    const bool bigMark = startsWith(head, "\xFE\xFF");
    if (littleMark || bigMark || choice == EncodingChoice::Utf16) {
        if (const std::size_t end = afterLastUtf16LineFeed(head, bigMark); end > 0) {
            head.resize(end);
        } else {
            head.resize(head.size() & ~std::size_t{1});
            // Nor the first half of a pair whose second half was not read.
            if (head.size() >= 4) {
                const auto high = static_cast<unsigned char>(head[head.size() - (bigMark ? 2 : 1)]);
                if (high >= 0xD8 && high <= 0xDB) {
                    head.resize(head.size() - 2);
                }
            }
        }
        return;
    }
    if (const std::size_t lineFeed = head.rfind('\n'); lineFeed != std::string::npos) {
        head.resize(lineFeed + 1);
    } else {
        head.resize(withoutCutCharacter(head));
    }
}

std::int64_t firstScreenColumns(const Document& document, std::int64_t lines) {
    const std::int64_t ended = std::clamp<std::int64_t>(document.paragraphCount() - 1, 0, lines);
    return widestLineChars(ended, [&document](std::int64_t i) {
        return static_cast<std::int64_t>(document.paragraphLength(i));
    });
}

} // namespace tavrel
