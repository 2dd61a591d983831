// The image export's option table for the shared export parser.
#include "app/gif_export_arguments.h"

#include <limits>

namespace tavrel {

std::vector<ExportOption> imageExportOptions(GifExportRequest& request) {
    return {{kWrapOption, "needs a number of characters above 0", [&request](std::string_view v) {
                 const auto columns = wholeNumberIn(v, 1, std::numeric_limits<std::int32_t>::max());
                 request.wrapColumns = columns.value_or(0);
                 return columns.has_value();
             }}};
}

namespace {

ExportCommand gifCommand(GifExportRequest& request) {
    return {kExportGifOption, "export", imageExportOptions(request)};
}

} // namespace

GifExportArguments parseGifExportArguments(const std::vector<std::string>& arguments) {
    return parseExportRequest(arguments, &gifCommand);
}

} // namespace tavrel
