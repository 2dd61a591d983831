// The file move: a rename when source and target share a file system, else a copy through
// the atomic writer so that a failed copy never damages an older target, and the source is
// deleted only once the copy is complete and on disk.
#include "platform/file_move.h"
#include "platform/qt_file_names.h"

#include "platform/atomic_file.h"
#include "text/file_names.h"

#include <QFile>

#include <filesystem>
#include <vector>

namespace tavrel::platform {

namespace {

// Streams the source into the target; the atomic writer syncs the copy and its folder
// before it answers success.
[[nodiscard]] bool copyReplacing(const std::string& source, const std::string& target) {
    QFile in(qtFileName(source));
    if (!std::filesystem::is_regular_file(pathFromUtf8(source)) || !in.open(QIODevice::ReadOnly)) {
        return false;
    }
    const bool targetExisted = std::filesystem::exists(pathFromUtf8(target));
    const WriteStatus status = writeFileStreamed(target, [&in](const ChunkSink& sink) {
        std::vector<char> buffer(1 << 16);
        for (;;) {
            const qint64 got = in.read(buffer.data(), static_cast<qint64>(buffer.size()));
            if (got < 0) {
                return false; // a read error: the copy would be cut short
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
        QFile::setPermissions(qtFileName(target), in.permissions());
    }
    return true;
}

} // namespace

bool moveFile(const std::string& source, const std::string& target, bool replace) {
    std::error_code ec;
    if (!replace &&
        std::filesystem::exists(std::filesystem::symlink_status(pathFromUtf8(target), ec))) {
        return false;
    }
    // A rename replaces an existing file in one step.
    std::filesystem::rename(pathFromUtf8(source), pathFromUtf8(target), ec);
    if (!ec) {
        return true;
    }
    if (!copyReplacing(source, target)) {
        return false;
    }
    std::filesystem::remove(pathFromUtf8(source), ec);
    return true;
}

} // namespace tavrel::platform
