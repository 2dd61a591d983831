// Keeping a file's old bytes in a named copy with a note, in the order that lets a crash at
// any moment leave either nothing to ask about or a complete copy to offer back.
#include "platform/old_text_copy.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavrel::platform {

using posix::Descriptor;

namespace {

// Names here may meet a full-length name: the copy's name keeps at most this much of the
// target's, so that its own part still fits within the 255 bytes of a name.
constexpr std::size_t kKeptNameBytes = 200;

[[nodiscard]] std::string namePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new file of this user only, never through a symbolic link: the folder beside the target
// may be one that others can write to.
[[nodiscard]] Descriptor createPrivate(const std::string& stem, std::string_view suffix,
                                       std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = stem + posix::randomSuffix() + std::string(suffix);
        Descriptor fd(
            ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd.valid()) {
            return fd;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    // The name tried belongs to someone else or to nobody: nothing may remove it.
    path.clear();
    return Descriptor();
}

// Removes whatever a failed try made, keeping the errno that made it fail.
void undoTry(const std::string& copy, const std::string& pending, const std::string& ready) {
    const int error = errno;
    for (const std::string* path : {&copy, &pending, &ready}) {
        if (!path->empty()) {
            ::unlink(path->c_str());
        }
    }
    errno = error;
}

[[nodiscard]] std::optional<OldTextCopy> keepIn(int from, const std::string& target, off_t size,
                                                const std::string& place,
                                                const std::string& noteFolder,
                                                const posix::CopyProgress& progress) {
    OldTextCopy copy;
    copy.place = place;
    std::string name = namePart(target);
    if (name.size() > kKeptNameBytes) {
        name.resize(kKeptNameBytes);
    }
    copy.fd = createPrivate(place + "/." + name + ".tavrel-old-", "", copy.path);
    struct stat info {};
    if (!copy.fd.valid() || ::fstat(copy.fd.get(), &info) != 0) {
        undoTry(copy.path, {}, {});
        return std::nullopt;
    }
    // The note comes before the copy's bytes: a crash while they are copied leaves a pending
    // note that leads the next start to the half copy, which it removes.
    std::string pending;
    copy.noteFd =
        createPrivate(noteFolder + "/" + std::string(kNotePrefix), kPendingNoteSuffix, pending);
    if (!copy.noteFd.valid()) {
        undoTry(copy.path, {}, {});
        return std::nullopt;
    }
    const std::string text = formatSaveNote({target, copy.path, static_cast<std::uint64_t>(size),
                                             static_cast<std::uint64_t>(info.st_dev),
                                             static_cast<std::uint64_t>(info.st_ino)});
    const std::string ready = pending.substr(0, pending.size() - kPendingNoteSuffix.size()) +
                              std::string(kReadyNoteSuffix);
    // The lock tells a start of another instance that this save is still running.
    if (::flock(copy.noteFd.get(), LOCK_EX) != 0 ||
        !posix::writeAll(copy.noteFd.get(), text.data(), text.size()) ||
        ::fsync(copy.noteFd.get()) != 0 || !posix::syncFolder(noteFolder) ||
        !posix::copyContent(from, copy.fd.get(), size, progress) || ::fsync(copy.fd.get()) != 0 ||
        !posix::syncFolder(place)) {
        undoTry(copy.path, pending, {});
        return std::nullopt;
    }
    // Only now, with the copy whole on disk, may the target be touched.
    if (::rename(pending.c_str(), ready.c_str()) != 0 || !posix::syncFolder(noteFolder)) {
        undoTry(copy.path, pending, ready);
        return std::nullopt;
    }
    copy.note = ready;
    return copy;
}

} // namespace

void OldTextCopy::remove() noexcept {
    if (!path.empty()) {
        ::unlink(path.c_str());
    }
    if (!note.empty()) {
        ::unlink(note.c_str());
    }
    fd.reset();
    noteFd.reset();
    path.clear();
    note.clear();
}

std::optional<OldTextCopy> keepOldText(int from, const std::string& target, off_t size,
                                       const std::vector<std::string>& places,
                                       const std::string& noteFolder,
                                       const posix::CopyProgress& progress) {
    int error = ENOENT;
    for (const std::string& place : places) {
        if (auto copy = keepIn(from, target, size, place, noteFolder, progress)) {
            return copy;
        }
        error = errno;
    }
    errno = error;
    return std::nullopt;
}

std::string absolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    std::string folder(PATH_MAX, '\0');
    if (::getcwd(folder.data(), folder.size()) == nullptr) {
        return path;
    }
    folder.resize(std::char_traits<char>::length(folder.c_str()));
    return (folder == "/" ? folder : folder + "/") + path;
}

bool isNotedCopy(const struct stat& info, const SaveNote& note) noexcept {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
           static_cast<std::uint64_t>(info.st_dev) == note.device &&
           static_cast<std::uint64_t>(info.st_ino) == note.inode;
}

} // namespace tavrel::platform
