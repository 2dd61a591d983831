// Whether the window can open at all: without a display the toolkit aborts with a message of
// its own and a core dump, so the program looks first and says what to do instead.
#pragma once

#include <string>
#include <vector>

namespace tavrel::platform {

// False when the window system chosen by "-platform NAME" among the arguments or by
// QT_QPA_PLATFORM needs a display and neither DISPLAY nor WAYLAND_DISPLAY names one. A
// platform that draws without one (offscreen, minimal, vnc, a frame buffer) always counts as
// found, and so does every platform on Windows and macOS, which have their desktop always.
[[nodiscard]] bool displayFound(const std::vector<std::string>& arguments);

} // namespace tavrel::platform
