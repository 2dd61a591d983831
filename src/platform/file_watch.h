// Watches the one file a window shows for changes made by other programs: written in place,
// replaced by a rename (as editors save), or removed. Notifications are let to settle for a
// moment and then held against the file's identity, size and times as last remembered, so
// the window's own saves (remembered right after) and repeated notices of one change are
// reported never or once.
#pragma once

#include <QFileSystemWatcher>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tavrel::platform {

// What tells one state of a file from another: which file the name leads to (device and
// inode), its size and its modification and status-change times.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds of the file clock
    std::int64_t changed = 0;  // status change, nanoseconds; 0 where the system has none

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The regular file's stamp now, or nothing when path names no regular file.
[[nodiscard]] std::optional<FileStamp> fileStampOf(const std::string& path);

class FileWatch {
public:
    // How long notifications settle before the file is looked at: a program that writes a
    // file in several pieces, or removes it and renames another over it, is done by then.
    static constexpr std::chrono::milliseconds kSettleTime{150};

    FileWatch();
    FileWatch(const FileWatch&) = delete; // owns a watcher bound to one file
    FileWatch& operator=(const FileWatch&) = delete;

    // Called once per change found: the file has other contents than remembered, or it is gone.
    std::function<void()> onChanged;
    std::function<void()> onVanished;

    // Watches `path` (file system bytes) from now on, remembering its state as it is; an
    // empty path stops watching.
    void watch(const std::string& path);
    // Watches `path` with `known` as its last seen state (taken when a load of it began): a
    // change or removal since then is reported as one made after this call.
    void watch(const std::string& path, const std::optional<FileStamp>& known);
    void stop() { watch({}); }
    // While held (a load of another file runs, which may yet be cancelled), changes wait;
    // released, whatever changed meanwhile is reported once.
    void hold(bool held);
    // The file as it is now is the known state: after the window wrote it, or after the user
    // chose to keep the text shown over a change.
    void rememberCurrent();
    [[nodiscard]] const std::string& path() const noexcept { return path_; }

private:
    [[nodiscard]] std::optional<FileStamp> stampNow() const { return fileStampOf(path_); }
    void rewatch();
    void settle();

    QFileSystemWatcher watcher_;
    QTimer settleTimer_;
    std::string path_;
    std::optional<FileStamp> known_;
    bool held_ = false; // nothing: the file was gone when last looked at
};

} // namespace tavrel::platform
