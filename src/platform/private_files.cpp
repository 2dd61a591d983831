// The state folder and exclusive creation through the system's own calls: a name checked and
// then opened could meanwhile have become a link planted by someone else.
#include "platform/private_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tavrel::platform {

std::string userStateFolder() {
#ifdef _WIN32
    const char* local = std::getenv("LOCALAPPDATA");
    return local != nullptr ? std::string(local) : std::string();
#else
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return state;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && *home == '/' ? std::string(home) + "/.local/state" : std::string();
#endif
}

bool makePrivateFolder(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
#ifdef _WIN32
    std::filesystem::create_directory(path, ignored);
    return std::filesystem::is_directory(path, ignored);
#else
    ::mkdir(path.c_str(), 0700); // may exist already: what is there is checked next
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return false;
    }
    return (info.st_mode & 077) == 0 || ::chmod(path.c_str(), 0700) == 0;
#endif
}

NewFileResult createNewFile(const std::string& path, std::string_view bytes, std::string* error) {
    const auto fail = [&](int code) {
        if (error != nullptr) {
            *error = path + ": " + std::generic_category().message(code);
        }
        return NewFileResult::Failed;
    };
#ifdef _WIN32
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) {
        return errno == EEXIST ? NewFileResult::Exists : fail(errno);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int code = errno;
    if (std::fclose(file) != 0 || !written) {
        std::remove(path.c_str());
        return fail(written ? errno : code);
    }
    return NewFileResult::Created;
#else
    // O_EXCL with O_CREAT refuses any existing name, a link (even one that leads nowhere)
    // included; O_NOFOLLOW says so once more for systems that need telling.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno == EEXIST ? NewFileResult::Exists : fail(errno);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int code = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(path.c_str());
            return fail(code);
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    const int syncError = synced ? 0 : errno;
    const bool closed = ::close(fd) == 0;
    const int closeError = closed ? 0 : errno;
    if (!synced || !closed) {
        ::unlink(path.c_str());
        return fail(synced ? closeError : syncError);
    }
    return NewFileResult::Created;
#endif
}

} // namespace tavrel::platform
