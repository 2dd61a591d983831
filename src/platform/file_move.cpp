// The file move: a rename when source and target share a file system, else a copy through
// the atomic writer so that a failed copy never damages an older target, and the source is
// deleted only once the copy is complete and on disk.
#include "platform/file_move.h"

#include "platform/atomic_file.h"
#include "platform/posix_io.h"

#include <cerrno>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrel::platform {

namespace {

// Streams the source into the target; the atomic writer syncs the copy and its folder
// before it answers success.
[[nodiscard]] bool copyReplacing(const std::string& source, const std::string& target) {
    const posix::Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!in.valid() || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const bool targetExisted = std::filesystem::exists(target);
    const WriteStatus status = writeFileStreamed(target, [&in](const ChunkSink& sink) {
        std::vector<char> buffer(1 << 16);
        for (;;) {
            const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return false;
            }
            if (got == 0) {
                return true;
            }
            if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
                return false;
            }
        }
    });
    if (!status.ok()) {
        return false;
    }
    // A new target takes the source's permissions, as a moved file would.
    if (!targetExisted) {
        ::chmod(target.c_str(), info.st_mode & 07777);
    }
    return true;
}

} // namespace

bool moveFile(const std::string& source, const std::string& target, bool replace) {
    std::error_code ec;
    if (!replace && std::filesystem::exists(std::filesystem::symlink_status(target, ec))) {
        return false;
    }
    // A rename replaces an existing file in one step.
    std::filesystem::rename(source, target, ec);
    if (!ec) {
        return true;
    }
    if (!copyReplacing(source, target)) {
        return false;
    }
    std::filesystem::remove(source, ec);
    return true;
}

} // namespace tavrel::platform
