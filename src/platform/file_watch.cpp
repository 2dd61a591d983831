// The file watch: the system's change notices for the file and its folder, a settle timer,
// and the comparison with the remembered identity, size and times.
#include "platform/file_watch.h"
#include "platform/qt_file_names.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <sys/stat.h>

namespace tavrel::platform {

FileWatch::FileWatch() {
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(kSettleTime);
    QObject::connect(&settleTimer_, &QTimer::timeout, &watcher_, [this] { settle(); });
    // A file replaced by a rename is dropped from the system's watch list, and one written
    // by removing and re-creating it shows up only in its folder: both kinds restart the
    // settle timer.
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_,
                     [this] { settleTimer_.start(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [this] { settleTimer_.start(); });
}

std::optional<FileStamp> fileStampOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    FileStamp stamp;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
#ifdef _WIN32
    stamp.modified = static_cast<std::int64_t>(info.st_mtime) * 1000000000;
    stamp.changed = static_cast<std::int64_t>(info.st_ctime) * 1000000000;
#else
    stamp.modified =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed =
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
#endif
    return stamp;
}

void FileWatch::watch(const std::string& path, const std::optional<FileStamp>& known) {
    watch(path);
    if (path_.empty() || known_ == known) {
        return;
    }
    known_ = known;
    settleTimer_.start(); // reported as any change is, once the caller has settled
}

void FileWatch::hold(bool held) {
    held_ = held;
    if (!held_ && !path_.empty()) {
        settleTimer_.start();
    }
}

void FileWatch::watch(const std::string& path) {
    settleTimer_.stop();
    held_ = false;
    for (const QStringList& list : {watcher_.files(), watcher_.directories()}) {
        if (!list.isEmpty()) {
            watcher_.removePaths(list);
        }
    }
    path_ = path;
    known_.reset();
    if (path_.empty()) {
        return;
    }
    known_ = stampNow();
    rewatch();
}

void FileWatch::rememberCurrent() {
    if (path_.empty()) {
        return;
    }
    known_ = stampNow();
    // A save by rename leaves a new file behind that the system no longer watches.
    rewatch();
}

void FileWatch::rewatch() {
    const QString file = qtFileName(path_);
    if (!watcher_.files().contains(file) && QFileInfo::exists(file)) {
        watcher_.addPath(file);
    }
    const QString folder = QFileInfo(file).absolutePath();
    if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir()) {
        watcher_.addPath(folder);
    }
}

void FileWatch::settle() {
    if (path_.empty() || held_) {
        return;
    }
    rewatch();
    const std::optional<FileStamp> now = stampNow();
    if (now == known_) {
        return; // our own save, another file of the folder, or a change already reported
    }
    const bool gone = !now.has_value();
    known_ = now;
    if (gone) {
        if (onVanished) {
            onVanished();
        }
    } else if (onChanged) {
        onChanged();
    }
}

} // namespace tavrel::platform
