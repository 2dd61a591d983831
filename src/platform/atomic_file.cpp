// The atomic file writer on POSIX systems. Every write, sync, close and rename is checked:
// buffered writers that report success after a failed flush are how a full disk empties a
// file, so nothing here is buffered and nothing is assumed.
#include "platform/atomic_file.h"
#include "platform/qt_file_names.h"

#include "platform/file_identity.h"
#include "platform/old_text_copy.h"
#include "platform/posix_io.h"

#include <QDir>
#include <QFile>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrel::platform {

using posix::Descriptor;
using posix::reason;

namespace {

[[nodiscard]] std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

[[nodiscard]] std::string namePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path with every symbolic link on its last part followed, so that a link is kept and
// the file it names is written. A dangling link names the file to create.
[[nodiscard]] bool resolveLinks(std::string& path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t size = ::readlink(path.c_str(), link.data(), link.size());
        if (size <= 0) {
            errno = size == 0 ? ENOENT : errno;
            return false;
        }
        link.resize(static_cast<std::size_t>(size));
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

[[nodiscard]] bool folderWritable(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

[[nodiscard]] std::string systemTempFolder() {
    return fileNameOf(QDir::tempPath());
}

// A temporary file without a name (it vanishes by itself if the program dies), or, where
// the file system cannot make one, a named one removed at once.
[[nodiscard]] Descriptor openAnonymous(const std::string& folder) {
    Descriptor fd(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd.valid() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        return fd;
    }
    std::string pattern = folder + "/.tavrel-XXXXXX";
    fd = Descriptor(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.valid()) {
        ::unlink(pattern.c_str());
    }
    return fd;
}

struct NoteFolder {
    std::mutex lock;
    std::string folder;
};

[[nodiscard]] NoteFolder& noteFolder() {
    static NoteFolder shared;
    return shared;
}

std::atomic<InPlaceStepHook> stepHook{nullptr};

void tell(InPlaceStep step, off_t done) {
    if (const InPlaceStepHook hook = stepHook.load()) {
        hook(step, static_cast<std::uint64_t>(done));
    }
}

} // namespace

void setSaveNoteFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back(); // the folder is named in paths shown to the user
    }
    NoteFolder& shared = noteFolder();
    const std::lock_guard<std::mutex> held(shared.lock);
    shared.folder = folder.empty() ? folder : absolutePath(folder);
}

std::string saveNoteFolder() {
    NoteFolder& shared = noteFolder();
    const std::lock_guard<std::mutex> held(shared.lock);
    return shared.folder;
}

void setInPlaceStepHook(InPlaceStepHook hook) noexcept {
    stepHook.store(hook);
}

struct AtomicFile::State {
    std::string path;   // as the caller named it; every message starts with it
    std::string target; // symbolic links followed
    std::string folder; // the target's folder
    std::string error;
    WriteMethod method = WriteMethod::Replace;
    bool opened = false;
    bool done = false; // committed or abandoned
    bool existed = false;
    struct stat old {};
    Descriptor fd;       // temporary file (Replace), staging file (InPlace), target (Through)
    Descriptor targetFd; // InPlace: the target itself
    bool targetReadable = false;
    std::string tempName; // Replace: the named temporary file
    std::string stagingFolder;

    bool fail(const std::string& why) {
        if (error.empty()) {
            error = path + ": " + why;
        }
        return false;
    }
    bool failErrno() { return fail(reason(errno)); }

    void dropTemporary() noexcept {
        fd.reset();
        if (!tempName.empty()) {
            ::unlink(tempName.c_str());
            tempName.clear();
        }
    }

    [[nodiscard]] bool createTemporary(bool newFile) {
        const std::string base = folder + "/." + namePart(target) + ".tavrel-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = base + posix::randomSuffix();
            // A new file gets the usual permissions (the umask applies); a replacement starts
            // private and receives the old file's mode before any byte is written.
            fd = Descriptor(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                   newFile ? 0666 : 0600));
            if (fd.valid()) {
                tempName = name;
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        return false;
    }

    [[nodiscard]] bool openThrough() {
        method = WriteMethod::Through;
        if (S_ISFIFO(old.st_mode)) {
            // Without a reader a FIFO would hold the program for ever.
            fd = Descriptor(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
            if (!fd.valid()) {
                return errno == ENXIO ? fail("no program is reading from this FIFO") : failErrno();
            }
            const int flags = ::fcntl(fd.get(), F_GETFL);
            if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
                return failErrno();
            }
            return true;
        }
        fd = Descriptor(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        return fd.valid() || failErrno();
    }

    [[nodiscard]] bool openInPlace() {
        method = WriteMethod::InPlace;
        targetFd = Descriptor(::open(target.c_str(), O_RDWR | O_CLOEXEC));
        targetReadable = targetFd.valid();
        if (!targetReadable) {
            targetFd = Descriptor(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        }
        if (!targetFd.valid()) {
            return failErrno();
        }
        // The new bytes wait beside the file when its folder allows, else in the system's
        // temporary folder; the file itself is untouched until commit.
        for (const std::string& place : {folder, systemTempFolder()}) {
            if (!folderWritable(place)) {
                continue;
            }
            fd = openAnonymous(place);
            if (fd.valid()) {
                stagingFolder = place;
                return true;
            }
        }
        return fail("no room for a temporary copy (" + reason(errno) + ")");
    }

    [[nodiscard]] WriteStatus commitReplace() {
        if (::fsync(fd.get()) != 0 || !fd.close()) {
            failErrno();
            dropTemporary();
            return {error};
        }
        if (::rename(tempName.c_str(), target.c_str()) != 0) {
            failErrno();
            dropTemporary();
            return {error};
        }
        tempName.clear();
        // The rename itself is on disk only once the folder is.
        const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.valid() && ::fsync(dir.get()) != 0 && errno != EINVAL) {
            fail(reason(errno) + " (the file was written, but its folder may not be on disk)");
            return {error};
        }
        return {};
    }

    // The old bytes in a named copy with its note, beside the file (same file system, where
    // the space it frees by the end is) or else in the note folder.
    [[nodiscard]] std::optional<OldTextCopy> keepNamedCopy(off_t oldSize) {
        const std::string notes = saveNoteFolder();
        if (notes.empty()) {
            return std::nullopt;
        }
        std::vector<std::string> places;
        if (folderWritable(folder)) {
            places.push_back(folder);
        }
        if (places.empty() || places.front() != notes) {
            places.push_back(notes);
        }
        return keepOldText(targetFd.get(), target, oldSize, places, notes,
                           [](off_t copied) { tell(InPlaceStep::KeepingOldText, copied); });
    }

    [[nodiscard]] WriteStatus commitInPlace() {
        const off_t newSize = ::lseek(fd.get(), 0, SEEK_CUR);
        struct stat now {};
        if (newSize < 0 || ::fstat(targetFd.get(), &now) != 0) {
            failErrno();
            return {error};
        }
        const off_t oldSize = now.st_size;
        // The old bytes are kept aside where there is room, to be put back if the overwrite
        // fails half-way, and found by the next start if the program dies meanwhile.
        std::optional<OldTextCopy> named;
        Descriptor unnamed;
        if (targetReadable) {
            named = keepNamedCopy(oldSize);
            if (!named) {
                // No named copy could be made anywhere (no note folder, both folders closed
                // or full). Refusing the save would cost the user every edit for the sake of
                // the seconds a crash would have to strike in; an unnamed copy still puts the
                // file right after any failure that the program lives through.
                unnamed = openAnonymous(stagingFolder);
                if (unnamed.valid() &&
                    !posix::copyContent(targetFd.get(), unnamed.get(), oldSize)) {
                    unnamed.reset();
                }
            }
        }
        const int backup = named ? named->fd.get() : unnamed.get();
        if (named) {
            tell(InPlaceStep::OldTextKept, oldSize);
        }
        // Reserving the blocks first turns a full disk into a clean refusal.
        if (newSize > oldSize &&
            ::fallocate(targetFd.get(), FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 &&
            errno != EOPNOTSUPP && errno != ENOSYS) {
            fail(reason(errno) + "; the file was left as it was");
            if (named) {
                named->remove();
            }
            return {error};
        }
        if (posix::copyContent(fd.get(), targetFd.get(), newSize,
                               [](off_t copied) { tell(InPlaceStep::Overwriting, copied); }) &&
            ::ftruncate(targetFd.get(), newSize) == 0 && ::fsync(targetFd.get()) == 0) {
            tell(InPlaceStep::Overwritten, newSize);
            if (named) {
                named->remove();
            }
            return {};
        }
        const std::string why = reason(errno);
        if (backup >= 0 && posix::copyContent(backup, targetFd.get(), oldSize) &&
            ::ftruncate(targetFd.get(), oldSize) == 0 && ::fsync(targetFd.get()) == 0) {
            fail(why + "; the file was left as it was");
            if (named) {
                named->remove();
            }
        } else if (named) {
            // The copy and its note stay: the next start offers the old text back.
            fail(why + "; the file is now incomplete, its old text is kept in " + named->path);
        } else {
            fail(why + "; the file is now incomplete");
        }
        return {error};
    }
};

AtomicFile::AtomicFile(std::string path) : s_(std::make_unique<State>()) {
    s_->path = std::move(path);
}

AtomicFile::~AtomicFile() {
    abort();
}

bool AtomicFile::open() {
    State& s = *s_;
    if (s.opened) {
        return s.fail("opened twice");
    }
    s.opened = true;
    s.target = s.path;
    if (s.path.empty()) {
        return s.fail(reason(ENOENT));
    }
    if (!resolveLinks(s.target)) {
        return s.failErrno();
    }
    // Absolute, since the note that an in-place write leaves must name it for a later start.
    s.target = absolutePath(s.target);
    s.folder = folderOf(s.target);
    if (::stat(s.target.c_str(), &s.old) != 0) {
        if (errno != ENOENT) {
            return s.failErrno();
        }
        s.method = WriteMethod::Replace;
        return s.createTemporary(/*newFile=*/true) || s.failErrno();
    }
    s.existed = true;
    if (S_ISDIR(s.old.st_mode)) {
        return s.fail(reason(EISDIR));
    }
    if (S_ISCHR(s.old.st_mode) || S_ISFIFO(s.old.st_mode)) {
        return s.openThrough();
    }
    if (!S_ISREG(s.old.st_mode)) {
        return s.fail("not a file that can be written (a block device or a socket)");
    }
    if (::faccessat(AT_FDCWD, s.target.c_str(), W_OK, AT_EACCESS) != 0) {
        return s.failErrno();
    }
    // A rename keeps the file only when nothing else refers to its inode and the new inode
    // can carry everything the old one had.
    if (s.old.st_nlink == 1 && s.old.st_uid == ::geteuid() && folderWritable(s.folder) &&
        s.createTemporary(/*newFile=*/false)) {
        if (copyIdentity(s.target, s.old, s.fd.get())) {
            s.method = WriteMethod::Replace;
            return true;
        }
        s.dropTemporary();
    }
    return s.openInPlace();
}

bool AtomicFile::write(std::string_view bytes) {
    State& s = *s_;
    if (!s.opened || s.done || !s.error.empty() || !s.fd.valid()) {
        return s.fail("written without being open");
    }
    const bool written = s.method == WriteMethod::Through
                             ? posix::writeAllWithoutSigpipe(s.fd.get(), bytes.data(), bytes.size())
                             : posix::writeAll(s.fd.get(), bytes.data(), bytes.size());
    if (written) {
        return true;
    }
    if (s.method == WriteMethod::InPlace && s.stagingFolder != s.folder) {
        // The file itself is untouched; say where the room ran out.
        return s.fail(reason(errno) + " (in " + s.stagingFolder +
                      ", where the new text waits; the file was left as it was)");
    }
    return s.failErrno();
}

WriteStatus AtomicFile::commit() {
    State& s = *s_;
    if (!s.opened || s.done || !s.error.empty() || !s.fd.valid()) {
        s.fail("committed without being open");
        abort();
        return {s.error};
    }
    WriteStatus status;
    switch (s.method) {
    case WriteMethod::Replace:
        status = s.commitReplace();
        break;
    case WriteMethod::InPlace:
        status = s.commitInPlace();
        break;
    case WriteMethod::Through:
        if (!s.fd.close()) {
            s.failErrno();
        }
        status = {s.error};
        break;
    }
    abort();
    return status;
}

void AtomicFile::abort() noexcept {
    State& s = *s_;
    s.done = true;
    s.dropTemporary();
    s.targetFd.reset();
}

const std::string& AtomicFile::error() const noexcept {
    return s_->error;
}

WriteMethod AtomicFile::method() const noexcept {
    return s_->method;
}

WriteStatus writeFileStreamed(const std::string& path, const ChunkSource& source) {
    AtomicFile file(path);
    if (!file.open()) {
        return {file.error()};
    }
    const bool complete = source([&file](std::string_view piece) { return file.write(piece); });
    if (!complete) {
        const std::string error = file.error().empty()
                                      ? path + ": the text to write could not be produced"
                                      : file.error();
        file.abort();
        return {error};
    }
    return file.commit();
}

WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFileStreamed(path, [bytes](const ChunkSink& sink) { return sink(bytes); });
}

} // namespace tavrel::platform
