// A document written out as the window shows it, for a terminal or a pipe: each byte as the
// UTF-8 of the glyph the window draws for it, each paragraph break as CR LF, the break the
// document saves; ANSI art's cells with their colours as the terminal's SGR sequences.
#pragma once

#include "editor/document.h"
#include "text/ansi_screen.h"
#include "text/seen_text.h"

namespace tavrel {

// Hands the whole text to `sink` in pieces of some kilobytes; false as soon as `sink` refuses
// one. With `screen` (the document is its rows), each row's cells come in their colours and
// every row ends with the terminal's colours reset, so that no colour runs on past the art.
bool writeAsSeen(const Document& document, ByteGlyphs glyphs, const Document::Sink& sink,
                 const AnsiScreen* screen = nullptr);

} // namespace tavrel
