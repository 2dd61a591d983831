// The system's own character set converter as the independent one of the Unicode art tests:
// the C library's iconv on POSIX systems, the code page conversions of Win32 on Windows. Both
// share no table with the program's own code page 437 glyphs.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace tavrel::test {

#ifdef _WIN32

namespace detail {

// Encodings by the names iconv knows them: the code pages Win32 converts, and UTF-16 by hand.
[[nodiscard]] inline UINT codePageOf(std::string_view name) {
    return name == "IBM437" ? 437 : name == "UTF-8" ? CP_UTF8 : 0;
}

[[nodiscard]] inline std::optional<std::wstring> toWide(std::string_view bytes,
                                                        std::string_view from) {
    if (from == "UTF-16" || from == "UTF-16LE" || from == "UTF-16BE") {
        bool big = from == "UTF-16BE";
        if (from == "UTF-16" && bytes.size() >= 2) { // iconv's rule: a mark, else big-endian
            const std::string_view mark = bytes.substr(0, 2);
            big = mark != "\xFF\xFE";
            if (mark == "\xFF\xFE" || mark == "\xFE\xFF") {
                bytes.remove_prefix(2);
            }
        } else if (from == "UTF-16") {
            big = true;
        }
        if (bytes.size() % 2 != 0) {
            return std::nullopt;
        }
        std::wstring wide;
        for (std::size_t i = 0; i < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            wide.push_back(static_cast<wchar_t>(big ? (a << 8) | b : (b << 8) | a));
        }
        return wide;
    }
    const UINT page = codePageOf(from);
    if (page == 0) {
        return std::nullopt;
    }
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return wide;
}

[[nodiscard]] inline std::optional<std::string> fromWide(const std::wstring& wide,
                                                         std::string_view to) {
    if (to == "UTF-16LE" || to == "UTF-16BE") {
        std::string bytes;
        for (const wchar_t unit : wide) {
            const auto high = static_cast<char>((unit >> 8) & 0xFF);
            const auto low = static_cast<char>(unit & 0xFF);
            bytes.append(to == "UTF-16BE" ? std::string{high, low} : std::string{low, high});
        }
        return bytes;
    }
    const UINT page = codePageOf(to);
    if (page == 0) {
        return std::nullopt;
    }
    if (wide.empty()) {
        return std::string();
    }
    // A character the code page lacks fails, as iconv does, rather than becoming "?".
    const DWORD flags = page == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    BOOL* const usedDefault = page == CP_UTF8 ? nullptr : &defaulted;
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
    if (length <= 0 || defaulted) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(page, flags, wide.data(), size, bytes.data(), length, nullptr,
                          usedDefault);
    return defaulted ? std::nullopt : std::optional<std::string>(bytes);
}

} // namespace detail

inline bool converterAvailable() {
    return true;
}

inline std::optional<std::string> convert(std::string_view bytes, const char* from,
                                          const char* to) {
    const std::optional<std::wstring> wide = detail::toWide(bytes, from);
    return wide ? detail::fromWide(*wide, to) : std::nullopt;
}

#else

inline bool converterAvailable() {
    const iconv_t probe = ::iconv_open("UTF-8", "IBM437");
    if (probe == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    ::iconv_close(probe);
    return true;
}

// The bytes converted, or nothing when iconv refuses them (a character the target lacks,
// bytes that are not the source encoding).
inline std::optional<std::string> convert(std::string_view bytes, const char* from,
                                          const char* to) {
    const iconv_t converter = ::iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string in(bytes);
    std::string out;
    char* inAt = in.data();
    std::size_t inLeft = in.size();
    char chunk[4096];
    bool ok = true;
    for (;;) {
        char* outAt = chunk;
        std::size_t outLeft = sizeof chunk;
        // Once the input is used up, a call without it writes what a stateful encoding holds.
        const bool flushing = inLeft == 0;
        const std::size_t done = flushing ? ::iconv(converter, nullptr, nullptr, &outAt, &outLeft)
                                          : ::iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
        out.append(chunk, static_cast<std::size_t>(outAt - chunk));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
        if (done != static_cast<std::size_t>(-1) && flushing) {
            break;
        }
    }
    ::iconv_close(converter);
    return ok ? std::optional<std::string>(out) : std::nullopt;
}

#endif

// The file's bytes converted from one encoding to another (iconv's names: "IBM437", "UTF-8",
// "UTF-16", "UTF-16LE", "UTF-16BE"), or nothing when the converter refuses them.
inline std::optional<std::string> convertFile(const std::filesystem::path& path, const char* from,
                                              const char* to) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return convert(bytes, from, to);
}

} // namespace tavrel::test
