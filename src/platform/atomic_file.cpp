// The atomic file writer, built on QSaveFile (which resolves symbolic links, copies the old
// file's permissions, syncs to disk and renames) with messages a person can read.
#include "platform/atomic_file.h"

#include <QFile>
#include <QSaveFile>

namespace tavrel::platform {

WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes) {
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    const auto failure = [&path, &file] {
        return WriteStatus{path + ": " + file.errorString().toStdString()};
    };
    if (!file.open(QIODevice::WriteOnly)) {
        return failure();
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        WriteStatus status = failure();
        file.cancelWriting();
        return status;
    }
    if (!file.commit()) {
        return failure();
    }
    return {};
}

} // namespace tavrel::platform
