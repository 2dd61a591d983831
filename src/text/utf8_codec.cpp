// UTF-8 decoding and encoding with the program's lenient rules: language files and the
// "UTF-8 to Charset" command must accept anything a user throws at them.
#include "text/utf8_codec.h"

#include <cstddef>
#include <cstdint>

namespace tavrel {
namespace {

constexpr char16_t replacementChar = 0xFFFD;

/// Length of the sequence a lead byte announces (0 for a byte that cannot lead) and the
/// value bits it contributes. Five- and six-byte leads are still recognised so that their
/// continuation bytes are consumed as one unit and give a single U+FFFD.
struct Lead {
    int length;
    std::uint32_t bits;
};

constexpr Lead classify(std::uint8_t b) noexcept {
    if (b < 0x80) {
        return {1, b};
    }
    if (b < 0xC0) {
        return {0, 0};
    }
    if (b < 0xE0) {
        return {2, b & 0x1Fu};
    }
    if (b < 0xF0) {
        return {3, b & 0x0Fu};
    }
    if (b < 0xF8) {
        return {4, b & 0x07u};
    }
    if (b < 0xFC) {
        return {5, b & 0x03u};
    }
    if (b < 0xFE) {
        return {6, b & 0x01u};
    }
    return {0, 0};
}

constexpr bool isContinuation(std::uint8_t b) noexcept {
    return (b & 0xC0) == 0x80;
}

} // namespace

std::u16string utf8ToWide(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    std::size_t pos = 0;
    while (pos < n) {
        const auto lead = classify(static_cast<std::uint8_t>(bytes[pos]));
        if (lead.length == 1) {
            out.push_back(static_cast<char16_t>(lead.bits));
            ++pos;
            continue;
        }
        const auto k = static_cast<std::size_t>(lead.length);
        if (k == 0 || n - pos < k) {
            // An invalid lead, or a sequence cut off by the end: only the lead is consumed,
            // so the bytes after it get their own chance.
            out.push_back(replacementChar);
            ++pos;
            continue;
        }
        std::uint32_t value = lead.bits;
        std::size_t j = 1;
        for (; j < k; ++j) {
            const auto c = static_cast<std::uint8_t>(bytes[pos + j]);
            if (!isContinuation(c)) {
                break;
            }
            value = (value << 6) | (c & 0x3Fu);
        }
        if (j < k) {
            // Skip the lead and the continuation bytes accepted so far; the byte that broke
            // the sequence starts the next one.
            out.push_back(replacementChar);
            pos += j;
            continue;
        }
        out.push_back(value > 0xFFFF ? replacementChar : static_cast<char16_t>(value));
        pos += k;
    }
    return out;
}

void appendUtf8(char16_t u, std::string& out) {
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

std::string wideToUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size() * 3);
    for (const char16_t u : wide) {
        appendUtf8(u, out);
    }
    return out;
}

} // namespace tavrel
