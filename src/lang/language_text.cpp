// Decoding and splitting of language files.
#include "lang/language_text.h"

#include "text/code_page.h"
#include "text/utf8_codec.h"

#include <fstream>
#include <new>
#include <system_error>

namespace tavrel {
namespace {

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(bigEndian ? static_cast<char16_t>((first << 8) | second)
                                : static_cast<char16_t>((second << 8) | first));
    }
    return out;
}

bool startsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

constexpr bool isBreak(char16_t c) noexcept {
    return c == u'\r' || c == u'\n' || c == 0x0B || c == 0x0C || c == 0x2028 || c == 0x2029;
}

} // namespace

std::u16string decodeLanguageBytes(std::string_view bytes) {
    if (bytes.size() >= 2) {
        if (startsWith(bytes, "\xFF\xFE")) {
            return decodeUtf16(bytes.substr(2), false);
        }
        if (startsWith(bytes, "\xFE\xFF")) {
            return decodeUtf16(bytes.substr(2), true);
        }
        if (startsWith(bytes, "\xEF\xBB\xBF")) {
            return utf8ToWide(bytes.substr(3));
        }
    }
    return codePageToWide(bytes);
}

std::vector<std::u16string> splitLanguageLines(std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isBreak(text[i])) {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        const bool crLf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        i += crLf ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

std::vector<std::u16string> parseLanguageFile(std::string_view bytes) {
    return splitLanguageLines(decodeLanguageBytes(bytes));
}

std::optional<std::vector<std::u16string>> readLanguageFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > maxLanguageFileSize) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    try {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        // The file may have shrunk since it was measured; what was read is what counts.
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad()) {
            return std::nullopt;
        }
        return parseLanguageFile(bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace tavrel
