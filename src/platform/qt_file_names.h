// File names between the program and Qt. Inside the program a name is the file system's own
// bytes on Linux and UTF-8 on Windows, where Qt's own byte form would be the ANSI code page.
#pragma once

#include <QString>

#include <string>

namespace tavrel::platform {

[[nodiscard]] QString qtFileName(const std::string& name);
[[nodiscard]] std::string fileNameOf(const QString& name);

} // namespace tavrel::platform
