// SizeToContent's width, SizeWindow's bounds and SaveBounds, as plain arithmetic over the
// settings store.
#include "app/window_sizing.h"

#include "app/document_title.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace tavrel {

int contentWidth(const ContentWidthInput& input) noexcept {
    if (!input.autoWidth || input.averageCharWidth != input.maxCharWidth || input.lineCount < 1) {
        return 0;
    }
    // The widest counted line is at most 132 characters, so this stays far inside an int.
    int width = static_cast<int>(input.widestChars) * input.averageCharWidth + kWidthAllowance;
    if (input.lineNumbers) {
        width += input.gutterWidth;
    }
    return width;
}

std::string boundsSection(std::string_view fileClass, bool sameDim) {
    return std::string(sameDim ? kOtherFileClass : fileClass);
}

WindowPlacement placeWindow(const SizeWindowInput& input, const ConfigSaver& settings) {
    WindowPlacement place;
    place.section = boundsSection(input.fileClass, input.sameDim);
    const WorkArea& area = input.workArea;

    const int defaultHeight = place.section == "diz" ? 290 : std::min(469, area.bottom - 200);
    place.height = settings.readInteger(place.section, kHeightKey, defaultHeight);
    if (input.autoHeight && input.lineCount >= 1) {
        const int chrome = input.windowHeight - input.editorHeight;
        int limit = static_cast<int>(std::trunc(area.bottom * 0.8)) - input.windowTop - chrome - 40;
        if (limit < 100) {
            limit = 150;
        }
        const int lineHeight = std::max(input.lineHeight, 1);
        std::int64_t lines = std::min<std::int64_t>(limit / lineHeight, input.lineCount);
        lines = std::max<std::int64_t>(lines, kMinAutoHeightLines);
        place.height = std::min(static_cast<int>(lines) * lineHeight + chrome + 20, limit);
    }

    const int storedWidth =
        settings.readInteger(place.section, kWidthKey, std::min(687, area.right - 200));
    // Integer division truncates toward zero, as the stored defaults always have.
    place.left = settings.readInteger(place.section, kLeftKey, (area.right - storedWidth) / 2);
    place.top = settings.readInteger(place.section, kTopKey, (area.bottom - place.height) / 2);

    place.findLeft = settings.readInteger(kFindSection, kLeftKey, place.left + 100);
    place.findTop = settings.readInteger(kFindSection, kTopKey, place.top + 100);

    int desired = input.desiredWidth;
    if (desired == 0) {
        place.width = storedWidth;
    } else {
        if (place.left + desired > area.right) {
            desired = area.right - place.left;
        }
        // A stored left edge beyond the work area leaves nothing to clamp to: the minimum
        // width applies then, so that the window keeps a usable size.
        place.width = std::max(desired, kMinWindowWidth);
    }
    return place;
}

void keepReachable(WindowPlacement& place, const std::vector<AreaRect>& screens,
                   const FrameExtents& frame) noexcept {
    if (screens.empty()) {
        return;
    }
    // Stored values may be anything a settings file holds: work in 64 bits.
    const auto outer = [&](std::int64_t left, std::int64_t top, std::int64_t width,
                           std::int64_t height) {
        return std::array<std::int64_t, 4>{left - frame.left, top - frame.top,
                                           left + width + frame.right, top + height + frame.bottom};
    };
    const auto bounds = outer(place.left, place.top, place.width, place.height);
    const AreaRect* best = &screens.front();
    std::int64_t bestOverlap = -1;
    for (const AreaRect& screen : screens) {
        if (bounds[0] >= screen.left && bounds[1] >= screen.top && bounds[2] <= screen.right &&
            bounds[3] <= screen.bottom) {
            return; // wholly on this screen: title bar and buttons can be reached
        }
        const std::int64_t w = std::min<std::int64_t>(bounds[2], screen.right) -
                               std::max<std::int64_t>(bounds[0], screen.left);
        const std::int64_t h = std::min<std::int64_t>(bounds[3], screen.bottom) -
                               std::max<std::int64_t>(bounds[1], screen.top);
        const std::int64_t overlap = w > 0 && h > 0 ? w * h : 0;
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &screen;
        }
    }
    const AreaRect& s = *best;
    const int roomX = std::max(1, s.right - s.left - frame.left - frame.right);
    const int roomY = std::max(1, s.bottom - s.top - frame.top - frame.bottom);
    place.width = std::clamp(place.width, 1, roomX);
    place.height = std::clamp(place.height, 1, roomY);
    place.left = std::clamp(place.left, s.left + frame.left, s.right - frame.right - place.width);
    place.top = std::clamp(place.top, s.top + frame.top, s.bottom - frame.bottom - place.height);
}

void saveBounds(ConfigSaver& settings, const WindowBounds& bounds, std::string_view fileClass,
                bool sameDim) {
    settings.writeBool(kWindowSection, kMaximizedKey, bounds.maximized);
    if (bounds.maximized) {
        return;
    }
    const std::string section = boundsSection(fileClass, sameDim);
    settings.writeInteger(section, kLeftKey, bounds.left);
    settings.writeInteger(section, kTopKey, bounds.top);
    settings.writeInteger(section, kWidthKey, bounds.width);
    settings.writeInteger(section, kHeightKey, bounds.height);
}

} // namespace tavrel
