// The file watch: the system's change notices for the file and its folder, a settle timer,
// and the comparison with the remembered size and time.
#include "platform/file_watch.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>
#include <system_error>

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

void FileWatch::watch(const std::string& path) {
    settleTimer_.stop();
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

std::optional<FileWatch::Stamp> FileWatch::stampNow() const {
    std::error_code error;
    const std::filesystem::path file(path_);
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        return std::nullopt;
    }
    const auto modified = std::filesystem::last_write_time(file, error);
    if (error) {
        return std::nullopt;
    }
    return Stamp{static_cast<std::uint64_t>(size),
                 static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               modified.time_since_epoch())
                                               .count())};
}

void FileWatch::rewatch() {
    const QString file = QFile::decodeName(QByteArray::fromStdString(path_));
    if (!watcher_.files().contains(file) && QFileInfo::exists(file)) {
        watcher_.addPath(file);
    }
    const QString folder = QFileInfo(file).absolutePath();
    if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir()) {
        watcher_.addPath(folder);
    }
}

void FileWatch::settle() {
    if (path_.empty()) {
        return;
    }
    rewatch();
    const std::optional<Stamp> now = stampNow();
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
