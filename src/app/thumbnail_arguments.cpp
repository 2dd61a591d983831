// The thumbnail command line; its one form is what a thumbnailer entry's Exec line gives.
#include "app/thumbnail_arguments.h"

#include <algorithm>

namespace tavrel {

ThumbnailArguments parseThumbnailArguments(const std::vector<std::string>& arguments) {
    ThumbnailArguments result;
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), "--");
    if (std::find(arguments.begin(), optionsEnd, kThumbnailOption) == optionsEnd) {
        return result;
    }
    result.kind = ExportParse::Error;
    if (arguments.size() != 4 || arguments[0] != kThumbnailOption) {
        result.error = std::string("the thumbnail is made by ") + kThumbnailOption +
                       " SIZE INPUT OUTPUT and nothing else";
        return result;
    }
    const auto size = wholeNumberIn(arguments[1], kMinThumbnailSize, kMaxThumbnailSize);
    if (!size) {
        result.error = std::string(kThumbnailOption) + " needs a size from " +
                       std::to_string(kMinThumbnailSize) + " to " +
                       std::to_string(kMaxThumbnailSize) + " pixels, not '" + arguments[1] + "'";
        return result;
    }
    result.kind = ExportParse::Export;
    result.request.size = *size;
    result.request.files = {arguments[2]};
    result.request.output = arguments[3];
    return result;
}

} // namespace tavrel
