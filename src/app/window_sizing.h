// The arithmetic by which the main window sizes itself to its text: the widest line in
// characters, the width that asks for, and the bounds for a file class from the stored
// settings, the work area and the auto-height rule. No toolkit: the window measures, these
// functions decide.
#pragma once

#include "settings/config_saver.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

// Narrowest line the width is computed for, and the first line length that no longer counts.
inline constexpr std::int64_t kMinContentChars = 34;
inline constexpr std::int64_t kIgnoredLineChars = 133;
// Pixels added to the text width for the frame, the scroll bar and the margins.
inline constexpr int kWidthAllowance = 53;
inline constexpr int kMinWindowWidth = 230;
inline constexpr int kMaxWindowWidth = 3000;
inline constexpr int kMaxWindowHeight = 2000;
inline constexpr int kMinAutoHeightLines = 10;

// Setting names of the stored bounds.
inline constexpr std::string_view kWindowSection = "Window";
inline constexpr std::string_view kMaximizedKey = "Maximized";
inline constexpr std::string_view kLeftKey = "Left";
inline constexpr std::string_view kTopKey = "Top";
inline constexpr std::string_view kWidthKey = "Width";
inline constexpr std::string_view kHeightKey = "Height";
inline constexpr std::string_view kFindSection = "Find";

// The widest counted line, in characters: only lines ended by a break count (the document's
// last line does not), lines of 133 characters or more are ignored, and the result is at
// least 34. `endedLines` is the number of lines followed by a break, lengthOf(i) the length
// of line i (a tab counts one). One walk over the line lengths, no text copied.
template <typename LengthOf>
[[nodiscard]] std::int64_t widestLineChars(std::int64_t endedLines, LengthOf&& lengthOf) {
    std::int64_t widest = kMinContentChars;
    for (std::int64_t i = 0; i < endedLines; ++i) {
        const std::int64_t length = lengthOf(i);
        if (widest < length && length < kIgnoredLineChars) {
            widest = length;
        }
    }
    return widest;
}

// What SizeToContent hands to SizeWindow: 0 (the stored width applies) unless the width is
// taken from the text, which needs the option on, a fixed-pitch font (average width equal to
// the maximum) and a document of at least one line.
struct ContentWidthInput {
    bool autoWidth = true;
    int averageCharWidth = 8;
    int maxCharWidth = 8;
    std::int64_t lineCount = 0;   // the document's lines (a trailing empty one not counted)
    std::int64_t widestChars = 0; // widestLineChars of the document
    bool lineNumbers = false;
    int gutterWidth = 0;
};
[[nodiscard]] int contentWidth(const ContentWidthInput& input) noexcept;

// The desktop's work area; the sizing rules use its right and bottom edges, keeping the
// window reachable uses all four.
struct WorkArea {
    int right = 0;
    int bottom = 0;
    int left = 0;
    int top = 0;
};

// A rectangle of the desktop (a screen's work area, a window's outer bounds).
struct AreaRect {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;

    [[nodiscard]] bool contains(const AreaRect& r) const noexcept {
        return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }
};

// How far the window manager's frame reaches beyond the window's own bounds.
struct FrameExtents {
    int left = 0;
    int top = 0; // the title bar
    int right = 0;
    int bottom = 0;
};

// What SizeWindow knows about the window before it moves it.
struct SizeWindowInput {
    std::string fileClass{"Other"};
    int desiredWidth = 0; // 0: the stored width
    bool sameDim = false;
    bool autoHeight = false;
    std::int64_t lineCount = 0;
    int lineHeight = 1;
    int windowTop = 0;    // current
    int windowHeight = 0; // current, frame included as the window reports it
    int editorHeight = 0; // current
    WorkArea workArea;
};

struct WindowPlacement {
    std::string section; // where the bounds were read
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int findLeft = 0; // where the find and replace dialog goes
    int findTop = 0;
};

// Reads the class's stored bounds (with the defaults that depend on the work area) and the
// find dialog's position, and applies the auto-height and width rules.
[[nodiscard]] WindowPlacement placeWindow(const SizeWindowInput& input,
                                          const ConfigSaver& settings);

// After placeWindow: bounds that would leave the title bar or the button bar (the window's bottom
// edge, all of its width) off every screen are moved onto the screen they overlap most, or the
// first, and shrunk to fit it; bounds already on a screen stay as they are. `left`, `top`,
// `width` and `height` are the window's own bounds, without the frame.
void keepReachable(WindowPlacement& place, const std::vector<AreaRect>& screens,
                   const FrameExtents& frame) noexcept;

// The bounds SaveBounds writes.
struct WindowBounds {
    bool maximized = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Window/Maximized, then, unless maximised, Left, Top, Width and Height in the class's
// section ("Other" with SameDim on).
void saveBounds(ConfigSaver& settings, const WindowBounds& bounds, std::string_view fileClass,
                bool sameDim);

// The section the bounds of a class live in.
[[nodiscard]] std::string boundsSection(std::string_view fileClass, bool sameDim);

} // namespace tavrel
