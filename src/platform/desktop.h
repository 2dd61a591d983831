// Handing things to the desktop: web addresses to the user's browser and programs to start
// on their own. Nothing goes through a shell.
#pragma once

#include <string>

namespace tavrel::platform {

// Opens an http or https address in the desktop's browser; false for anything else (a local
// file, another scheme, text that is no address) or when the desktop could not open it.
[[nodiscard]] bool openWebAddress(const std::string& address);

// Starts a program on its own, without arguments and without waiting for it; false when it
// could not be started.
[[nodiscard]] bool startProgram(const std::string& path);

// The uninstaller of a copy installed by its own installer, beside the program as
// "uninstall" ("Uninstall/Uninstall.exe" on Windows); empty when there is none, as for a
// copy installed by the system's package manager, which removes it itself.
[[nodiscard]] std::string uninstallerBeside(const std::string& programFolder);

} // namespace tavrel::platform
