// Fuzzes the UTF-8 decoder and the Format rewrites with arbitrary bytes, checking the
// codec's promises: no more units than bytes, and encoding then decoding what was decoded
// gives the same units again.
#include "text/utf8_codec.h"
#include "textcmd/text_transforms.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string wide = tavrel::utf8ToWide(bytes);
    if (wide.size() > bytes.size()) {
        std::abort();
    }
    if (tavrel::utf8ToWide(tavrel::wideToUtf8(wide)) != wide) {
        std::abort();
    }
    if (tavrel::utf8ToCharsetText(tavrel::charsetToUtf8Text(bytes)) != bytes) {
        std::abort();
    }
    if (tavrel::joinLinesText(bytes).size() > bytes.size() ||
        tavrel::uppercaseText(bytes).size() != bytes.size()) {
        std::abort();
    }
    return 0;
}
