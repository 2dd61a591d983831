// The write-access test: faccessat with AT_EACCESS on POSIX systems, the file's security
// descriptor (through Qt's NTFS permission look-up) on Windows.
#include "platform/write_access.h"

#ifdef _WIN32
#include <QFileInfo>
#include <QString>
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavrel::platform {

bool canWrite(const std::string& path) {
#ifdef _WIN32
    ++qt_ntfs_permission_lookup;
    const bool writable = QFileInfo(QString::fromLocal8Bit(path)).isWritable();
    --qt_ntfs_permission_lookup;
    return writable;
#else
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
#endif
}

} // namespace tavrel::platform
