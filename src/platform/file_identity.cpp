// Carrying a file's group, mode and extended attributes over to its replacement.
#include "platform/file_identity.h"

#include <cerrno>
#include <string_view>
#include <vector>

#include <sys/xattr.h>
#include <unistd.h>

namespace tavrel::platform {

namespace {

// Reads a list or a value whose size is asked first; the size may change in between, so
// the call is repeated while the buffer turns out too small.
template <typename Call>
[[nodiscard]] bool readSized(std::vector<char>& out, Call call) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) {
            return false;
        }
        out.resize(static_cast<std::size_t>(size));
        const ssize_t got = call(out.data(), out.size());
        if (got >= 0) {
            out.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
    return false;
}

[[nodiscard]] bool copyExtendedAttributes(const std::string& original, int fd) {
    const char* path = original.c_str();
    std::vector<char> names;
    if (!readSized(names, [path](char* b, std::size_t n) { return ::listxattr(path, b, n); })) {
        // A file system without extended attributes has none to lose.
        return errno == ENOTSUP;
    }
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size();) {
        const std::string_view name(names.data() + at);
        at += name.size() + 1;
        const std::string key(name);
        if (!readSized(value, [path, &key](char* b, std::size_t n) {
                return ::getxattr(path, key.c_str(), b, n);
            })) {
            return false;
        }
        if (::fsetxattr(fd, key.c_str(), value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

bool copyIdentity(const std::string& original, const struct stat& info, int fd) {
    struct stat fresh {};
    if (::fstat(fd, &fresh) != 0) {
        return false;
    }
    // The group first: changing it may clear the set-id bits, which the mode then restores.
    if (fresh.st_gid != info.st_gid && ::fchown(fd, static_cast<uid_t>(-1), info.st_gid) != 0) {
        return false;
    }
    if (::fchmod(fd, info.st_mode & 07777) != 0) {
        return false;
    }
    // After the mode, so that an access ACL's mask is the one that stands.
    return copyExtendedAttributes(original, fd);
}

} // namespace tavrel::platform
