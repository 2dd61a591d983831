// On X11 and Wayland desktops the display is named in the environment; the platform plugins
// that need none are the ones made for tests, remote viewing and bare frame buffers.
#include "platform/display_check.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace tavrel::platform {

#if defined(_WIN32) || defined(__APPLE__)

bool displayFound(const std::vector<std::string>&) {
    return true;
}

#else

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The platform plugins that draw without a window system.
bool drawsWithoutDisplay(std::string_view plugin) {
    static constexpr std::array<std::string_view, 8> kPlugins = {
        "offscreen", "minimal", "minimalegl",   "vnc",
        "linuxfb",   "eglfs",   "vkkhrdisplay", "directfb"};
    for (const std::string_view known : kPlugins) {
        if (plugin == known) {
            return true;
        }
    }
    return false;
}

// The platform the toolkit will use: "-platform NAME" (or "--platform") wins over
// QT_QPA_PLATFORM; empty for the default, a desktop's own window system.
std::string chosenPlatform(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-platform" || arguments[i] == "--platform") {
            return arguments[i + 1];
        }
    }
    const char* variable = std::getenv("QT_QPA_PLATFORM");
    return variable != nullptr ? variable : "";
}

} // namespace

bool displayFound(const std::vector<std::string>& arguments) {
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
        return true;
    }
    // The choice may list fallbacks, "wayland;offscreen", each with options after a colon,
    // "vnc:size=800x600".
    const std::string choice = chosenPlatform(arguments);
    std::size_t start = 0;
    while (start <= choice.size()) {
        std::size_t end = choice.find(';', start);
        if (end == std::string::npos) {
            end = choice.size();
        }
        const std::string_view entry = std::string_view(choice).substr(start, end - start);
        if (drawsWithoutDisplay(entry.substr(0, entry.find(':')))) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

#endif

} // namespace tavrel::platform
