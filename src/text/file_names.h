// Names of files as the program keeps them, in UTF-8, turned into the system's names at the
// system call: wide names on Windows, the same bytes elsewhere.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavrel {

// The path of a UTF-8 name. On Windows the name becomes the wide name the system takes (a
// narrow name there would be read in the ANSI code page); elsewhere its bytes stay as they
// are, whatever they are. A name that is not UTF-8 on Windows is taken in the ANSI code page.
[[nodiscard]] std::filesystem::path pathFromUtf8(std::string_view name);

// A path's name in UTF-8, the other way.
[[nodiscard]] std::string utf8FromPath(const std::filesystem::path& path);

// std::fopen for a UTF-8 name (_wfopen on Windows); nothing with errno set when it fails.
[[nodiscard]] std::FILE* openFile(std::string_view name, const char* mode);

} // namespace tavrel
