// The PNG export's option table for the shared export parser.
#include "app/png_export_arguments.h"

#include <utility>

namespace tavrel {

namespace {

ExportCommand pngCommand(PngExportRequest& request) {
    std::vector<ExportOption> options = imageExportOptions(request);
    options.push_back(
        {kScaleOption, "needs a whole number from 1 to 8", [&request](std::string_view v) {
             const auto scale = wholeNumberIn(v, kMinPngScale, kMaxPngScale);
             request.scale = scale.value_or(1);
             return scale.has_value();
         }});
    return {kExportPngOption, "export", std::move(options)};
}

} // namespace

PngExportArguments parsePngExportArguments(const std::vector<std::string>& arguments) {
    return parseExportRequest(arguments, &pngCommand);
}

} // namespace tavrel
