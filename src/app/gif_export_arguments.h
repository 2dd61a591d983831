// The image export's own part of the command line: "--export-gif" and "--wrap N" on top of
// the output forms every export shares (app/export_arguments.h).
#pragma once

#include "app/export_arguments.h"

#include <cstdint>
#include <vector>

namespace tavrel {

inline constexpr const char* kExportGifOption = "--export-gif";
inline constexpr const char* kWrapOption = "--wrap";

struct GifExportRequest : ExportTarget {
    std::int32_t wrapColumns = 0; // 0: word wrap off
};

using GifExportArguments = ExportArguments<GifExportRequest>;

// The options of an export that paints the document as the viewer shows it ("--wrap N"),
// keeping their values in `request`; an image format other than GIF can take them as they are.
[[nodiscard]] std::vector<ExportOption> imageExportOptions(GifExportRequest& request);

// NotExport when there is no "--export-gif" before "--": the arguments are then the viewer's.
[[nodiscard]] GifExportArguments parseGifExportArguments(const std::vector<std::string>& arguments);

} // namespace tavrel
