// The C library's iconv program as the independent converter of the Unicode art tests: it
// shares no table with the program's own code page 437 glyphs.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace tavrel::test {

inline bool iconvAvailable() {
    return std::system("iconv --version >/dev/null 2>&1") == 0;
}

// The output of `iconv -f from -t to` over the file, or nothing when iconv refuses it (a
// character the target lacks, bytes that are not the source encoding).
inline std::optional<std::string> iconvFile(const std::filesystem::path& path, const char* from,
                                            const char* to) {
    const std::string command =
        std::string("iconv -f ") + from + " -t " + to + " '" + path.string() + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string out;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) {
        out.append(chunk, got);
    }
    return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

} // namespace tavrel::test
