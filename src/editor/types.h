// Basic types of the text engine: positions and the kinds of line break.
// Positions are 64-bit so that no document that fits in memory can overflow a counter.
#pragma once

#include <cstdint>

namespace tavrel {

// A global character position, or a count of positions. Every paragraph break counts as
// two positions (CR LF), whatever bytes the file used.
using Pos = std::int64_t;

// The break written between paragraphs when a document is saved through the editor, and the
// kind of the last break seen while loading.
enum class LineBreak : std::uint8_t {
    CrLf, // CR LF, what Windows programs write and what the Paragraphs view always uses
    LfCr,
    Cr,
    Lf,
};

} // namespace tavrel
