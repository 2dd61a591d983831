// Where the program and the user's data live, and the few questions start-up asks about
// paths. Paths are 8-bit texts in the file system's encoding, with "/" as separator.
#pragma once

#include <string>

namespace tavrel::platform {

// The folder of the running executable, ending in "/". Needs the application object.
[[nodiscard]] std::string programFolder();

// The per-user configuration folder without a trailing "/": $XDG_CONFIG_HOME or ~/.config
// on Unix-like systems, the roaming application-data folder on Windows; empty when the
// system cannot tell.
[[nodiscard]] std::string userConfigFolder();

// An existing path that is not a directory (a symbolic link counts as what it points to).
[[nodiscard]] bool isFile(const std::string& path);
[[nodiscard]] bool isDirectory(const std::string& path);

// The absolute form of an existing path with every link, "." and ".." resolved, byte for
// byte; empty when it cannot be resolved.
[[nodiscard]] std::string canonicalPath(const std::string& path);

// Whether two existing paths name one file (the same file on the same device): the answer
// of the file system itself, so letter case folds only where the file system folds it.
[[nodiscard]] bool isSameFile(const std::string& a, const std::string& b);

// Creates the folder and every missing parent; failures are left for later steps to meet.
void makeFolders(const std::string& path);

} // namespace tavrel::platform
