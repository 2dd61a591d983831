// The file manager's command line, "--thumbnail SIZE INPUT OUTPUT" as a thumbnailer entry
// passes it: the first screen of INPUT as a PNG image of at most SIZE x SIZE pixels in OUTPUT.
#pragma once

#include "app/export_arguments.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

inline constexpr const char* kThumbnailOption = "--thumbnail";
inline constexpr std::int32_t kMinThumbnailSize = 1;
inline constexpr std::int32_t kMaxThumbnailSize = 4096;

struct ThumbnailRequest : ExportTarget {
    std::int32_t size = 0; // the image fits a square of this many pixels
};

using ThumbnailArguments = ExportArguments<ThumbnailRequest>;

// NotExport without "--thumbnail" before "--"; Error unless the line is exactly
// "--thumbnail SIZE INPUT OUTPUT" with SIZE a whole number from 1 to 4096 (OUTPUT "-" is
// standard output).
[[nodiscard]] ThumbnailArguments parseThumbnailArguments(const std::vector<std::string>& arguments);

} // namespace tavrel
