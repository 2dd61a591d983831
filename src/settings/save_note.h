// The note an in-place save keeps in the settings folder while it writes over a file: which
// file, where its old bytes are kept and how many there are, so that a start after a crash
// can offer them back. The form is tiny and strict; a damaged or foreign note reads as none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

struct SaveNote {
    std::string target;        // the file written over, absolute, symbolic links followed
    std::string oldText;       // the copy of its bytes from before the save, absolute
    std::uint64_t oldSize = 0; // the copy's length once it is complete
    // The copy's device and inode: a file put under its name later is never taken for it.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool operator==(const SaveNote&) const = default;
};

// Two paths of at most PATH_MAX bytes and three numbers fit well within this; a larger file is
// not a note and is not read whole.
inline constexpr std::size_t kMaxSaveNoteSize = 16384;

// The note's bytes: a first line naming the form, then the two paths and the three numbers
// (decimal), each ended by a NUL byte, which no path can hold.
[[nodiscard]] std::string formatSaveNote(const SaveNote& note);

// The note these bytes hold, or nothing unless they are exactly what formatSaveNote writes for
// absolute paths: no field missing or added, no leading zeros, nothing after the last field.
[[nodiscard]] std::optional<SaveNote> parseSaveNote(std::string_view bytes);

} // namespace tavrel
