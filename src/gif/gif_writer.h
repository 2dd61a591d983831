// Encodes a GifPicture as the bytes of a GIF file: header, logical screen, tables padded to a
// power of two, one image descriptor and LZW data (in 255-byte sub-blocks) per frame, and the
// trailer. Every byte is fixed by the picture, so equal pictures give equal files. Where the
// bytes go is the caller's business: files are written by the program's one atomic writer.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace tavrel {

class GifPicture;

// Throws GifError: "Unsupported GIF version" for a picture without frames, "Color not in
// color table" for a pixel index beyond its table.
[[nodiscard]] std::vector<std::uint8_t> encodeGif(const GifPicture& picture);
// As encodeGif, then writes; throws GifError when the stream fails. Nothing reaches the
// stream when the picture cannot be encoded.
void writeGif(const GifPicture& picture, std::ostream& out);

} // namespace tavrel
