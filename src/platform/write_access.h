// Whether the current user may write to a path, judged with the process's effective
// identity (the way the system will judge an actual write).
#pragma once

#include <string>

namespace tavrel::platform {

// False for a path that does not exist or cannot be examined.
[[nodiscard]] bool canWrite(const std::string& path);

} // namespace tavrel::platform
