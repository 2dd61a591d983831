// UTF-8 names to the system's names: a path built from char8_t is wide on Windows and bytes
// elsewhere, so the one conversion serves both.
#include "text/file_names.h"

#include <cerrno>
#include <string>
#include <system_error>

namespace tavrel {

std::filesystem::path pathFromUtf8(std::string_view name) {
#ifdef _WIN32
    try {
        return std::filesystem::path(std::u8string(name.begin(), name.end()));
    } catch (const std::system_error&) { // not UTF-8: the name as the ANSI code page reads it
        return std::filesystem::path(std::string(name));
    }
#else
    return std::filesystem::path(std::string(name));
#endif
}

std::string utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    try {
        const std::u8string name = path.u8string();
        return std::string(name.begin(), name.end());
    } catch (const std::system_error&) { // a lone surrogate: no UTF-8 form
        return path.string();
    }
#else
    return path.string();
#endif
}

std::FILE* openFile(std::string_view name, const char* mode) {
#ifdef _WIN32
    const std::filesystem::path path = pathFromUtf8(name);
    const std::string narrowMode(mode);
    const std::wstring wideMode(narrowMode.begin(), narrowMode.end());
    return ::_wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(std::string(name).c_str(), mode);
#endif
}

} // namespace tavrel
