// The named copy of a file's old bytes that an in-place write keeps until the new bytes are on
// disk, with its note in the settings folder, so that a start after a crash finds both; and
// the checks that the lookup and the restore make before they trust either. POSIX only.
#pragma once

#include "platform/posix_io.h"
#include "settings/save_note.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>

namespace tavrel::platform {

// A note is "in-place-save-XXXXXX.pending" while its copy is being made and renamed to
// "in-place-save-XXXXXX.note" once the copy is complete and on disk: only then may the target
// have been touched. The saving process holds an exclusive flock on the note throughout.
inline constexpr std::string_view kNotePrefix = "in-place-save-";
inline constexpr std::string_view kPendingNoteSuffix = ".pending";
inline constexpr std::string_view kReadyNoteSuffix = ".note";

struct OldTextCopy {
    std::string path;  // the copy
    std::string place; // its folder
    std::string note;  // the note (its ready name once the copy is complete)
    posix::Descriptor fd;
    posix::Descriptor noteFd; // holds the lock until the write is over

    OldTextCopy() = default;
    OldTextCopy(OldTextCopy&&) = default;
    OldTextCopy& operator=(OldTextCopy&&) = default;
    // Leaving scope without remove() keeps copy and note on disk, for the next start.
    ~OldTextCopy() = default;
    // The copy, then the note: a crash in between leaves a note without a copy, which the
    // next start drops, never a copy that nothing leads to.
    void remove() noexcept;
};

// Copies the first `size` bytes of `from` (the open target, absolute path `target`) into a
// new copy in the first of `places` that takes it, with its note in `noteFolder`; both are on
// disk when it answers. Nothing when no place took it; whatever a try left is removed.
[[nodiscard]] std::optional<OldTextCopy>
keepOldText(int from, const std::string& target, off_t size, const std::vector<std::string>& places,
            const std::string& noteFolder, const posix::CopyProgress& progress);

// `path` made absolute against the working folder; a path already absolute comes back as it is.
[[nodiscard]] std::string absolutePath(const std::string& path);

// Whether `info` is the copy a note names: a regular file of this user with the noted device
// and inode. A file put under the copy's name later is never taken for it.
[[nodiscard]] bool isNotedCopy(const struct stat& info, const SaveNote& note) noexcept;

} // namespace tavrel::platform
