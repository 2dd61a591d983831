// The window's side of files kept in another encoding than their bytes: the mark the title
// carries and the document written back through the file's own encoding.
#pragma once

#include "settings/write_status.h"
#include "text/unicode_art.h"

#include <cstddef>
#include <functional>
#include <string>

namespace tavrel {

class TextEngine;

// " [UTF-8]", " [UTF-8 BOM]", " [UTF-16 LE]", " [UTF-16 BE]" after the caption; empty for a
// file shown as its own bytes.
[[nodiscard]] std::string encodingTitleMark(const UnicodeForm& form);

// Streams the document's paragraphs into `sink`, encoded in `form` (as they are for plain
// bytes). False when the sink refused a piece. `taken`, when given, hears the size of each
// piece of the document as it goes, before encoding (a save's progress).
bool writeInFileForm(const TextEngine& engine, const UnicodeForm& form, const ChunkSink& sink,
                     const std::function<void(std::size_t)>& taken = {});

} // namespace tavrel
