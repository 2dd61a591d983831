// Any bytes through the Unicode art check: it never fails, a file it does not decode comes
// back untouched, and a file it decodes is written back to exactly its own bytes.
#include "text/unicode_art.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    const tavrel::DecodedText decoded = tavrel::decodeUnicodeArt(file);
    if (decoded.form.encoding == tavrel::TextEncoding::Bytes) {
        if (decoded.bytes != file) {
            std::abort();
        }
        return 0;
    }
    if (decoded.bytes.size() > file.size()) {
        std::abort();
    }
    if (tavrel::encodeUnicodeArt(decoded.bytes, decoded.form) != file) {
        std::abort();
    }
    // The forced readings hold to the same promise.
    for (const auto& forced : {tavrel::decodeUtf8Art(file), tavrel::decodeUtf16Art(file)}) {
        if (forced && tavrel::encodeUnicodeArt(forced->bytes, forced->form) != file) {
            std::abort();
        }
    }
    return 0;
}
