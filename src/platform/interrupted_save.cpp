// Finding, putting back and letting go of the old text of interrupted in-place saves. Every
// file a note names is opened without following links and checked against the note before a
// byte of it is trusted: the copy may sit in a folder that others can write to.
#include "platform/interrupted_save.h"

#include "platform/old_text_copy.h"
#include "platform/posix_io.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrel::platform {

using posix::Descriptor;
using posix::reason;

namespace {

[[nodiscard]] bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

[[nodiscard]] std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

// A note opened, locked and read. The lock keeps a second start, or a save still running,
// from acting on the same note at the same time.
struct HeldNote {
    Descriptor fd;
    SaveNote note;
};

// Nothing, with errno set, when the note is not a readable note of this user (EINVAL for
// one that is damaged or foreign) or a running save holds it (EWOULDBLOCK).
[[nodiscard]] std::optional<HeldNote> holdNote(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0) {
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        info.st_size > static_cast<off_t>(kMaxSaveNoteSize)) {
        errno = EINVAL;
        return std::nullopt;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return std::nullopt;
    }
    std::string bytes(kMaxSaveNoteSize + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t got =
            ::pread(fd.get(), bytes.data() + size, bytes.size() - size, static_cast<off_t>(size));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    std::optional<SaveNote> note = parseSaveNote(bytes);
    if (!note) {
        errno = EINVAL;
        return std::nullopt;
    }
    return HeldNote{std::move(fd), std::move(*note)};
}

// The copy's file system is there: its folder exists on the noted device. A copy on a drive
// that is not mounted at this start is not gone, only out of reach.
[[nodiscard]] bool copyFolderPresent(const SaveNote& note) {
    struct stat info {};
    return ::stat(folderOf(note.oldText).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           static_cast<std::uint64_t>(info.st_dev) == note.device;
}

enum class CopyState {
    Whole,     // the noted copy, its length the noted one
    Gone,      // removed, or another file stands under its name: it can never be offered
    OutOfReach // not readable now (a drive not mounted, no permission): ask another time
};

[[nodiscard]] CopyState openCopy(const SaveNote& note, Descriptor& fd) {
    fd = Descriptor(::open(note.oldText.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid()) {
        if ((errno == ENOENT || errno == ELOOP) && copyFolderPresent(note)) {
            return CopyState::Gone;
        }
        return CopyState::OutOfReach;
    }
    if (::fstat(fd.get(), &info) != 0) {
        return CopyState::OutOfReach;
    }
    if (!isNotedCopy(info, note) || static_cast<std::uint64_t>(info.st_size) != note.oldSize) {
        return CopyState::Gone;
    }
    return CopyState::Whole;
}

// Removes the copy only while its name still leads to the noted file.
void removeNotedCopy(const SaveNote& note) {
    struct stat info {};
    if (::lstat(note.oldText.c_str(), &info) == 0 && isNotedCopy(info, note)) {
        ::unlink(note.oldText.c_str());
    }
}

// A pending note: the copy was still being made, so the file itself was never touched.
void tidyPending(const std::string& notePath, const SaveNote& note) {
    if (!copyFolderPresent(note)) {
        return; // the half copy is out of reach; it goes at a start that can reach it
    }
    removeNotedCopy(note);
    ::unlink(notePath.c_str());
}

[[nodiscard]] std::optional<HeldNote> holdListed(const InterruptedSave& save, std::string& error) {
    std::optional<HeldNote> held = holdNote(save.notePath);
    if (!held) {
        error = save.note.target + ": " +
                (errno == EWOULDBLOCK ? std::string("a save of this file is still running")
                                      : save.notePath + ": " + reason(errno));
        return std::nullopt;
    }
    if (!(held->note == save.note)) {
        error = save.note.target + ": " + save.notePath + " has changed since it was read";
        return std::nullopt;
    }
    return held;
}

} // namespace

std::vector<InterruptedSave> findInterruptedSaves(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.substr(0, kNotePrefix.size()) == kNotePrefix &&
                (endsWith(name, kPendingNoteSuffix) || endsWith(name, kReadyNoteSuffix))) {
                names.emplace_back(name);
            }
        }
        ::closedir(dir);
    }
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::vector<InterruptedSave> found;
    for (const std::string& name : names) {
        const std::string path = base + name;
        std::optional<HeldNote> held = holdNote(path);
        if (!held) {
            continue;
        }
        if (endsWith(name, kPendingNoteSuffix)) {
            tidyPending(path, held->note);
            continue;
        }
        Descriptor copy;
        switch (openCopy(held->note, copy)) {
        case CopyState::Whole:
            found.push_back({path, std::move(held->note)});
            break;
        case CopyState::Gone:
            // Removed after the save completed (a crash between the two removals) or by
            // the user: nothing is left to offer.
            ::unlink(path.c_str());
            break;
        case CopyState::OutOfReach:
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](const InterruptedSave& a, const InterruptedSave& b) {
        return a.note.target != b.note.target ? a.note.target < b.note.target
                                              : a.notePath < b.notePath;
    });
    return found;
}

WriteStatus restoreInterruptedSave(const InterruptedSave& save) {
    std::string error;
    const std::optional<HeldNote> held = holdListed(save, error);
    if (!held) {
        return {error};
    }
    const SaveNote& note = save.note;
    Descriptor copy;
    if (openCopy(note, copy) != CopyState::Whole) {
        return {note.oldText + ": no longer the kept old text of " + note.target};
    }
    // The note names the file with its links already followed: a link found there now was
    // put there since, and is not followed.
    const Descriptor target(::open(note.target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!target.valid() || ::fstat(target.get(), &info) != 0) {
        return {note.target + ": " + reason(errno)};
    }
    if (!S_ISREG(info.st_mode)) {
        return {note.target + ": not a file that can be written"};
    }
    const auto size = static_cast<off_t>(note.oldSize);
    if (info.st_size < size && ::fallocate(target.get(), FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return {note.target + ": " + reason(errno) + "; the file was left as it was"};
    }
    if (!posix::copyContent(copy.get(), target.get(), size) ||
        ::ftruncate(target.get(), size) != 0 || ::fsync(target.get()) != 0) {
        return {note.target + ": " + reason(errno)};
    }
    removeNotedCopy(note);
    ::unlink(save.notePath.c_str());
    return {};
}

WriteStatus discardInterruptedSave(const InterruptedSave& save) {
    std::string error;
    const std::optional<HeldNote> held = holdListed(save, error);
    if (!held) {
        return {error};
    }
    removeNotedCopy(save.note);
    if (::unlink(save.notePath.c_str()) != 0) {
        return {save.notePath + ": " + reason(errno)};
    }
    return {};
}

} // namespace tavrel::platform
