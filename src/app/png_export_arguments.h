// The PNG export's part of the command line: "--export-png" with the image options of the GIF
// export ("--wrap N") and "--scale N", a whole enlargement from 1 to 8.
#pragma once

#include "app/gif_export_arguments.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

inline constexpr const char* kExportPngOption = "--export-png";
inline constexpr const char* kScaleOption = "--scale";
inline constexpr int kMinPngScale = 1;
inline constexpr int kMaxPngScale = 8;

struct PngExportRequest : GifExportRequest {
    std::int32_t scale = 1; // every pixel a scale x scale square
};

using PngExportArguments = ExportArguments<PngExportRequest>;

// NotExport when there is no "--export-png" before "--": the arguments are then another's.
[[nodiscard]] PngExportArguments parsePngExportArguments(const std::vector<std::string>& arguments);

} // namespace tavrel
