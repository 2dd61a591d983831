// Watches the one file a window shows for changes made by other programs: written in place,
// replaced by a rename (as editors save), or removed. Notifications are let to settle for a
// moment and then held against the file's size and modification time as last remembered, so
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
    void stop() { watch({}); }
    // The file as it is now is the known state: after the window wrote it, or after the user
    // chose to keep the text shown over a change.
    void rememberCurrent();
    [[nodiscard]] const std::string& path() const noexcept { return path_; }

private:
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t modified = 0; // nanoseconds of the file clock

        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    [[nodiscard]] std::optional<Stamp> stampNow() const;
    void rewatch();
    void settle();

    QFileSystemWatcher watcher_;
    QTimer settleTimer_;
    std::string path_;
    std::optional<Stamp> known_; // nothing: the file was gone when last looked at
};

} // namespace tavrel::platform
