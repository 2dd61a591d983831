// Any bytes through the SAUCE reader and the ANSI art check: the text never runs past the
// file, a record's fields never past their sizes, and nothing reads outside the bytes.
#include "text/ansi_art.h"
#include "text/sauce.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const tavrel::SauceSplit split = tavrel::readSauce(file);
    if (split.textLength > file.size()) {
        std::abort();
    }
    if (split.record) {
        const tavrel::SauceRecord& r = *split.record;
        if (file.size() < tavrel::kSauceRecordSize || r.title.size() > 35 || r.author.size() > 20 ||
            r.group.size() > 20 || r.date.size() > 8 || r.fontName.size() > 22 ||
            r.comments.size() > 255 || split.textLength > file.size() - tavrel::kSauceRecordSize) {
            std::abort();
        }
    } else if (split.textLength != file.size()) {
        std::abort(); // a file without a record is read whole
    }
    (void)tavrel::isAnsiArt("", file);
    return 0;
}
