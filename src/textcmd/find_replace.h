// Find and replace as the main window drives it: the remembered texts and options, the
// repeat mode of F3 and Ctrl+F3, the enabled states of the two repeat items, and the
// searches and replacements themselves, all on the engine's selection.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tavrel {

class TextEngine;

// Which dialog action ran last; it decides what F3 and Ctrl+F3 do.
enum class RepeatMode { Find, Replace };

// What an action came to, for the window to follow up: scroll the selection into view after
// a find, show the not-found message, or nothing after a replacement.
enum class FindOutcome { Found, Replaced, NotFound };

struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    // Set by the button last pressed: Replace All (true) or Replace (false). F3 in replace
    // mode repeats whichever it was.
    bool replaceAll = false;
};

class FindReplace {
public:
    // The dialog's fields hold at most this many characters.
    static constexpr std::size_t kMaxTextLength = 255;
    // The language texts of the repeat item's caption and of the not-found message.
    static constexpr int kFindNextCaption = 108;
    static constexpr int kNotFoundMessage = 109;
    static constexpr int kReplaceNextCaption = 110;

    explicit FindReplace(TextEngine& engine) noexcept : engine_(engine) {}

    // Texts longer than the fields allow are cut to kMaxTextLength.
    void setFindText(std::string_view text);
    void setReplaceText(std::string_view text);
    [[nodiscard]] const std::string& findText() const noexcept { return find_; }
    [[nodiscard]] const std::string& replaceText() const noexcept { return replace_; }
    FindOptions options;

    // The dialog's Find Next: always from the top, whatever the caret position.
    FindOutcome dialogFind();
    // The dialog's Replace and Replace All (by options.replaceAll): always from the top.
    FindOutcome replace();
    // F3 (previous = false) and Ctrl+F3: the next or previous match in find mode, the
    // dialog's replace action again in replace mode.
    FindOutcome repeat(bool previous);
    FindOutcome findNext();
    FindOutcome findPrevious();

    [[nodiscard]] RepeatMode repeatMode() const noexcept { return mode_; }
    [[nodiscard]] bool nextEnabled() const noexcept { return nextEnabled_; }
    [[nodiscard]] bool previousEnabled() const noexcept { return previousEnabled_; }
    // The language text for the repeat item's caption; 0 before any dialog action.
    [[nodiscard]] int nextCaptionText() const noexcept { return nextCaption_; }

    // Called before and after a Replace All, which may take a while on a big document (the
    // window shows a busy cursor meanwhile).
    std::function<void(bool busy)> onBusy;

private:
    bool search(bool forward, bool fromStart);

    TextEngine& engine_;
    std::string find_;
    std::string replace_;
    RepeatMode mode_ = RepeatMode::Find;
    bool nextEnabled_ = false;
    bool previousEnabled_ = false;
    int nextCaption_ = 0;
};

} // namespace tavrel
