// The address highlighter: the styles of the five kinds of address, the acceptance rules
// and hooks, and what a click on an address does. Editors attach it through their
// EditorHighlights; several editors (the window and its print copy) may share one.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/address_scanner.h"
#include "editor/highlight_runs.h"

namespace tavrel {

// Colours as the program stores them (0x00BBGGRR); kClNone is "keep what is under it".
inline constexpr ColorRef kClNone = 0xFFFFFFFF;
inline constexpr ColorRef kClBlue = 0x00FF0000;
inline constexpr ColorRef kClGreen = 0x00008000;
inline constexpr ColorRef kClRed = 0x000000FF;
inline constexpr ColorRef kClFuchsia = 0x00FF00FF;
inline constexpr ColorRef kClSilver = 0x00C0C0C0;
inline constexpr ColorRef kClInfoBk = 0x80000018; // the system's tooltip background

struct HighlightInfo {
    bool altFont = false;
    std::uint8_t style = hsUnderline;
    ColorRef background = kClNone;
    ColorRef foreground = kClBlue;
    std::int16_t cursor = kHandCursor;
};

// Opens an address outside the program (the desktop's handler for its scheme).
class AddressLauncher {
public:
    AddressLauncher() = default;
    AddressLauncher(const AddressLauncher&) = delete;
    AddressLauncher& operator=(const AddressLauncher&) = delete;
    virtual ~AddressLauncher() = default;
    virtual void open(const std::string& address) = 0;
};

class UrlHighlighter {
public:
    // Told when a style or rule changes, so that the text is scanned again.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void highlighterChanged() = 0;
        virtual void highlighterGone() = 0;
    };

    UrlHighlighter();
    ~UrlHighlighter();
    UrlHighlighter(const UrlHighlighter&) = delete; // listeners point at it
    UrlHighlighter& operator=(const UrlHighlighter&) = delete;

    [[nodiscard]] std::int32_t baseContext() const noexcept { return baseContext_; }
    void setBaseContext(std::int32_t base);
    [[nodiscard]] const HighlightInfo& style(UrlType type) const noexcept {
        return styles_[static_cast<std::size_t>(type)];
    }
    void setStyle(UrlType type, const HighlightInfo& info);
    [[nodiscard]] std::int32_t scope() const noexcept { return scope_; }
    void setScope(std::int32_t scope);
    [[nodiscard]] bool priority() const noexcept { return priority_; }
    void setPriority(bool on);

    bool launchUrls = true;
    bool dblClickLaunch = false;
    // Decides on each address found (scope at its start, its type) when assigned.
    std::function<bool(std::int32_t scope, UrlType type)> onUrl;
    // Receives the text about to be opened, may change it; false cancels the launch.
    std::function<bool(std::string& address)> onUrlLaunch;
    void setLauncher(AddressLauncher* launcher) noexcept { launcher_ = launcher; }

    // The address runs of [from, to) of a paragraph, styled, appended in order.
    void scan(std::string_view text, Pos from, Pos to, const std::vector<HighlightRun>* existing,
              std::vector<HighlightRun>& out) const;
    // The same for a text of several whole paragraphs joined by their breaks (see
    // findAddressesAcrossBreaks): every address run lies inside one paragraph; starts are
    // offsets in `text`.
    void scanAcrossBreaks(std::string_view text, std::vector<HighlightRun>& out) const;

    // The table row of a context number, or -1 when it is not one of ours.
    [[nodiscard]] int rowOfContext(std::int32_t context) const noexcept;
    // The text handed over for an address found by `row`.
    [[nodiscard]] static std::string launchText(int row, std::string_view address);

    // A click (left release without moving, or right release) on a run with `context`,
    // whose whole text is `address`.
    void click(std::int32_t context, std::string_view address);
    // The raw input that follows while a launch waits for a double-click.
    void doubleClicked() noexcept;
    void leftButtonUp();
    void otherInput() noexcept;

    void addListener(Listener* listener);
    void removeListener(Listener* listener);

private:
    void changed();
    void appendRuns(std::vector<HighlightRun>& out) const; // the runs of found_, styled
    void launch(std::string address);

    std::int32_t baseContext_ = 1024;
    std::array<HighlightInfo, 5> styles_;
    std::int32_t scope_ = 0;
    bool priority_ = false;
    AddressLauncher* launcher_ = nullptr;
    std::vector<Listener*> listeners_;
    std::function<bool(const FoundAddress&)> accept_; // the acceptance rules, made once
    mutable std::vector<FoundAddress> found_;         // kept to spare an allocation a scan

    bool subscribed_ = false;
    bool doubleClickPending_ = false;
    std::string pending_;
};

} // namespace tavrel
