// The SAUCE record that art tools append to a file (title, author, group, date, the kind of
// data, its width and flags, the font) with its comment block, read from the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

struct SauceRecord {
    // Fields as stored (code page 437 bytes), with the padding spaces and NULs cut off.
    std::string title;
    std::string author;
    std::string group;
    std::string date; // CCYYMMDD as written, not checked
    std::uint32_t fileSize = 0;
    std::uint8_t dataType = 0; // 1: character (ASCII, ANSi, ...)
    std::uint8_t fileType = 0; // with dataType 1: 0 ASCII, 1 ANSi, 2 ANSiMation, ...
    std::uint16_t tInfo1 = 0;  // with character data: the width in columns
    std::uint16_t tInfo2 = 0;  // with character data: the number of lines
    std::uint16_t tInfo3 = 0;
    std::uint16_t tInfo4 = 0;
    std::uint8_t flags = 0;
    std::string fontName; // "TInfoS", e.g. "IBM VGA"
    std::vector<std::string> comments;

    // Character data whose blink bit means a bright background (the "iCE colours" flag).
    [[nodiscard]] bool iceColours() const noexcept { return isCharacterData() && (flags & 1); }
    // The width the record gives character data, or 0 when it gives none.
    [[nodiscard]] int columns() const noexcept { return isCharacterData() ? tInfo1 : 0; }
    [[nodiscard]] bool isCharacterData() const noexcept { return dataType == 1; }
    [[nodiscard]] bool isAnsi() const noexcept {
        return isCharacterData() && (fileType == 1 || fileType == 2);
    }
};

struct SauceSplit {
    std::optional<SauceRecord> record;
    // How many of the file's bytes are its text: everything before the end-of-file mark
    // (Ctrl+Z) that precedes the record and its comments. The whole file when there is no
    // record, so a file without one is read as it always was.
    std::size_t textLength = 0;
};

inline constexpr std::size_t kSauceRecordSize = 128;
inline constexpr std::size_t kSauceCommentLineSize = 64;

// Finds a record in the last 128 bytes of `file`. A comment count that does not lead to a
// "COMNT" block is taken as no comments; any other damage leaves fields as they read, never
// past the file's bytes.
[[nodiscard]] SauceSplit readSauce(std::string_view file);

} // namespace tavrel
