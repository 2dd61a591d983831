// What makes a replaced file still "the same file" to its owner: group, permission bits and
// extended attributes (POSIX ACLs travel among them), carried over to its replacement.
#pragma once

#include <string>

#include <sys/stat.h>

namespace tavrel::platform {

// Gives the freshly made file `fd` the group, mode and extended attributes of `original`
// (whose status is `info`). False when any of them cannot be carried over: the caller then
// must not put `fd` in the original's place.
[[nodiscard]] bool copyIdentity(const std::string& original, const struct stat& info, int fd);

} // namespace tavrel::platform
