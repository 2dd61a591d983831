// The POSIX helpers of the file writer.
#include "platform/posix_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <vector>

#include <csignal>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace tavrel::platform::posix {

std::string reason(int error) {
    return std::strerror(error);
}

bool writeAll(int fd, const char* data, std::size_t size) noexcept {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (done == 0) {
            errno = EIO; // a write that makes no progress would loop for ever
            return false;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

bool writeAllWithoutSigpipe(int fd, const char* data, std::size_t size) noexcept {
    // SIGPIPE is blocked for this thread while writing; one raised by the write is taken
    // off the pending set before the old mask comes back, so it is never delivered.
    sigset_t pipeOnly;
    sigset_t old;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t pendingBefore;
    sigpending(&pendingBefore);
    const bool alreadyPending = sigismember(&pendingBefore, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
    const bool written = writeAll(fd, data, size);
    const int error = errno;
    if (!written && error == EPIPE && !alreadyPending) {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = error;
    return written;
}

bool copyContent(int from, int to, off_t length, const CopyProgress& progress) noexcept {
    constexpr std::size_t chunk = 1 << 16;
    std::vector<char> buffer;
    try {
        buffer.resize(chunk);
    } catch (...) {
        errno = ENOMEM;
        return false;
    }
    off_t offset = 0;
    while (offset < length) {
        const auto want =
            static_cast<std::size_t>(std::min<off_t>(static_cast<off_t>(chunk), length - offset));
        const ssize_t got = ::pread(from, buffer.data(), want, offset);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            errno = EIO;
            return false;
        }
        const char* data = buffer.data();
        auto left = static_cast<std::size_t>(got);
        off_t at = offset;
        while (left > 0) {
            const ssize_t put = ::pwrite(to, data, left, at);
            if (put < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            if (put == 0) {
                errno = EIO;
                return false;
            }
            data += put;
            left -= static_cast<std::size_t>(put);
            at += put;
        }
        offset += got;
        if (progress) {
            progress(offset);
        }
    }
    return true;
}

bool syncFolder(const std::string& folder) noexcept {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) {
        return false;
    }
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

std::string randomSuffix() {
    // Writes may run on more than one thread; the generator is shared.
    static std::mutex lock;
    const std::lock_guard<std::mutex> held(lock);
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(6, 'x');
    for (char& c : suffix) {
        c = letters[generator() % (sizeof letters - 1)];
    }
    return suffix;
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

int Descriptor::release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool Descriptor::close() noexcept {
    if (fd_ < 0) {
        return true;
    }
    // The descriptor is gone after close whatever it answers (EINTR included on Linux), so
    // it is never retried; the answer is still worth reporting (NFS reports late errors here).
    const int result = ::close(release());
    return result == 0;
}

void Descriptor::reset() noexcept {
    if (fd_ >= 0) {
        ::close(release());
    }
}

} // namespace tavrel::platform::posix
