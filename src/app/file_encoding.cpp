// Title marks and encoded saving for Unicode art files.
#include "app/file_encoding.h"

#include "editor/text_engine.h"

namespace tavrel {

std::string encodingTitleMark(const UnicodeForm& form) {
    switch (form.encoding) {
    case TextEncoding::Bytes:
        return {};
    case TextEncoding::Utf8:
        return form.byteOrderMark ? " [UTF-8 BOM]" : " [UTF-8]";
    case TextEncoding::Utf16Le:
        return " [UTF-16 LE]";
    case TextEncoding::Utf16Be:
        return " [UTF-16 BE]";
    }
    return {};
}

bool writeInFileForm(const TextEngine& engine, const UnicodeForm& form, const ChunkSink& sink,
                     const std::function<void(std::size_t)>& taken) {
    if (form.encoding == TextEncoding::Bytes) {
        return engine.write([&sink, &taken](const char* piece, std::size_t size) {
            if (taken) {
                taken(size);
            }
            return sink(std::string_view(piece, size));
        });
    }
    // One paragraph at a time is encoded: the encoded copy never holds more than the
    // longest paragraph.
    UnicodeEncoder encoder(form);
    std::string encoded;
    const bool written = engine.write([&](const char* piece, std::size_t size) {
        if (taken) {
            taken(size);
        }
        encoded.clear();
        encoder.encode(std::string_view(piece, size), encoded);
        return sink(encoded);
    });
    if (!written) {
        return false;
    }
    encoded.clear();
    encoder.finish(encoded);
    return sink(encoded);
}

} // namespace tavrel
