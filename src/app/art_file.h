// A file's bytes parted into the text the window shows and what it keeps aside: the SAUCE
// record (never shown as text, written back after it) and, for ANSI art, the coloured screen
// its escape sequences draw, whose rows become the text.
#pragma once

#include "text/ansi_screen.h"
#include "text/sauce.h"
#include "text/unicode_art.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// Art files are kilobytes; a larger file is shown as text whatever it holds, which also keeps
// the look for escape sequences to one pass over a bounded number of bytes.
inline constexpr std::size_t kAnsiArtMaxBytes = std::size_t(16) << 20;

struct ArtFile {
    std::optional<SauceRecord> sauce;
    // The bytes after the text: the end-of-file mark, the comment block and the record,
    // exactly as read, so that a save puts them back.
    std::string trailer;
    // The drawn screen when the file is shown as ANSI art; the text is then its rows.
    std::shared_ptr<const AnsiScreen> screen;
    // The file is ANSI art, drawn or (under a reading that shows its bytes) not.
    bool ansiArt = false;

    [[nodiscard]] bool isAnsi() const noexcept { return screen != nullptr; }
};

// Whether a reading chosen in the Encoding menu draws ANSI art (Automatic and code page 437
// do; Plain text and the other readings show its bytes).
[[nodiscard]] bool drawsAnsiArt(EncodingChoice choice) noexcept;

// Takes the record and what follows the text off `bytes` and, when the file is ANSI art
// (isAnsiArt) that `choice` draws, replaces `bytes` by the drawn rows. A file without a
// record that is not ANSI art keeps its bytes untouched.
[[nodiscard]] ArtFile separateArt(std::string_view fileName, std::string& bytes,
                                  EncodingChoice choice);

// The screen's rows joined by CR LF, each without the blank cells at its end that show
// nothing but the black ground (a blank on a coloured ground stays: it is part of the art).
[[nodiscard]] std::string ansiScreenText(const AnsiScreen& screen);

} // namespace tavrel
