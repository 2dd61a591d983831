// Replacing a file as one step: the new bytes go to a temporary file in the same folder,
// which is then renamed over the old one, so a failure never leaves a half-written file.
#pragma once

#include "settings/write_status.h"

#include <string>
#include <string_view>

namespace tavrel::platform {

// The replaced file keeps its permissions; a symbolic link is followed and its target
// replaced. On failure the old file is untouched and no temporary file is left behind.
[[nodiscard]] WriteStatus writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace tavrel::platform
