// The file move: a rename when source and target share a file system, else a copy through
// the atomic writer so that a failed copy never damages an older target.
#include "platform/file_move.h"

#include "platform/atomic_file.h"

#include <QFile>

#include <filesystem>

namespace tavrel::platform {

namespace {

[[nodiscard]] QString qtPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

[[nodiscard]] bool copyReplacing(const std::string& source, const std::string& target) {
    QFile in(qtPath(source));
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        return false;
    }
    const bool targetExisted = std::filesystem::exists(target);
    if (!writeFileAtomically(target, std::string_view(bytes.constData(), bytes.size())).ok()) {
        return false;
    }
    // A new target takes the source's permissions, as a moved file would.
    if (!targetExisted) {
        QFile::setPermissions(qtPath(target), in.permissions());
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
