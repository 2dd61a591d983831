// Moving a file, across file systems too (a portable program folder is often on a USB
// stick while the per-user folder is on the disk).
#pragma once

#include <string>

namespace tavrel::platform {

// Renames source to target; when that is impossible, copies it (the target replaced as one
// step) and deletes the source. With replace false an existing target makes the move fail.
// Answers whether the rename or the copy succeeded.
[[nodiscard]] bool moveFile(const std::string& source, const std::string& target, bool replace);

} // namespace tavrel::platform
