// Small POSIX helpers for the file writer: writes that retry interrupted and short calls,
// copies between descriptors, descriptors that close themselves, and the system's reasons.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include <sys/types.h>

namespace tavrel::platform::posix {

// The system's own words for an error number ("No space left on device").
[[nodiscard]] std::string reason(int error);

// Writes every byte at the descriptor's position; false with errno set on the first failure.
[[nodiscard]] bool writeAll(int fd, const char* data, std::size_t size) noexcept;

// writeAll for a FIFO or a socket-like device: a reader that went away gives EPIPE instead
// of the SIGPIPE that would end the program with the user's text unsaved.
[[nodiscard]] bool writeAllWithoutSigpipe(int fd, const char* data, std::size_t size) noexcept;

// Told how many bytes a copy has written so far, after each piece; must not throw.
using CopyProgress = std::function<void(off_t copied)>;

// Copies the first `length` bytes of `from` to the start of `to`. A source that ends early
// counts as a failure (EIO), because a short copy would be a cut-off file.
[[nodiscard]] bool copyContent(int from, int to, off_t length,
                               const CopyProgress& progress = {}) noexcept;

// Puts a folder's entries (a file created, renamed or removed in it) on disk. File systems
// that cannot sync a folder (EINVAL) count as done.
[[nodiscard]] bool syncFolder(const std::string& folder) noexcept;

// Six letters and digits for a name of our own beside others (used with O_EXCL).
[[nodiscard]] std::string randomSuffix();

// A file descriptor that is closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) noexcept : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete; // one owner closes the descriptor
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;

    [[nodiscard]] int get() const noexcept { return fd_; }
    [[nodiscard]] bool valid() const noexcept { return fd_ >= 0; }
    [[nodiscard]] int release() noexcept;
    // Closes now; false with errno set when the system reported a failure on close.
    [[nodiscard]] bool close() noexcept;
    void reset() noexcept;

private:
    int fd_ = -1;
};

} // namespace tavrel::platform::posix
