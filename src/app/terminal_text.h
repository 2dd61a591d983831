// A document written out as the window shows it, for a terminal or a pipe: each byte as the
// UTF-8 of the glyph the window draws for it, each paragraph break as CR LF, the break the
// document saves. Plain glyphs only; a colour interpreter would wrap each paragraph's text
// in its own sequences here.
#pragma once

#include "editor/document.h"
#include "text/seen_text.h"

namespace tavrel {

// Hands the whole text to `sink` in pieces of some kilobytes; false as soon as `sink` refuses
// one.
bool writeAsSeen(const Document& document, ByteGlyphs glyphs, const Document::Sink& sink);

} // namespace tavrel
