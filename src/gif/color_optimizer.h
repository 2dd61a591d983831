// The colour-table optimiser: one global table of the colours the frames actually use, most
// used first (so index 0 is the dominant colour, usually the background of a text picture),
// marked "optimized"; every frame's pixels are rewritten to it and local tables emptied.
#pragma once

namespace tavrel {

class GifPicture;

// Pixels whose index lies outside their table are set to 0 and reported once per frame as
// the warning "Color not in color table". Colours with equal use counts keep the order of
// their first table position, so the result is deterministic. Throws GifError when no frame
// has pixels to take colours from.
void optimizeColorTables(GifPicture& picture);

} // namespace tavrel
