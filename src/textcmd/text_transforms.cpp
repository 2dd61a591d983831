// Implementation of the Format menu's byte-string rewrites.
#include "textcmd/text_transforms.h"

#include "text/byte_case.h"
#include "text/code_page.h"
#include "text/utf8_codec.h"

#include <array>

namespace tavrel {
namespace {

/// Replaces every non-overlapping occurrence of `from`, scanning left to right once; what
/// has been written is never looked at again. That is why eleven spaces become three.
std::string replaceAllOnce(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
}

std::string mapBytes(std::string_view text, const std::array<unsigned char, 256>& table) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    }
    return out;
}

} // namespace

std::string joinLinesText(std::string_view text) {
    const std::string joined = replaceAllOnce(text, "\r\n", " ");
    const std::string fewer = replaceAllOnce(joined, "   ", " ");
    return replaceAllOnce(fewer, "  ", " ");
}

std::string lowercaseText(std::string_view text) {
    return mapBytes(text, byteCaseTable().lower);
}

std::string uppercaseText(std::string_view text) {
    return mapBytes(text, byteCaseTable().upper);
}

std::string charsetToUtf8Text(std::string_view text) {
    return wideToUtf8(codePageToWide(text));
}

std::string utf8ToCharsetText(std::string_view text) {
    return wideToCodePage(utf8ToWide(text));
}

} // namespace tavrel
