// Writes a GifPicture as a GIF file: header, logical screen, tables padded to a power of two,
// one image descriptor and LZW data (in 255-byte sub-blocks) per frame, and the trailer.
// Every byte is fixed by the picture, so equal pictures give equal files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <vector>

namespace tavrel {

class GifPicture;

// Throws GifError: "Unsupported GIF version" for a picture without frames, "Color not in
// color table" for a pixel index beyond its table.
[[nodiscard]] std::vector<std::uint8_t> encodeGif(const GifPicture& picture);
// As encodeGif, then writes; throws GifError when the stream fails.
void writeGif(const GifPicture& picture, std::ostream& out);
// Writes to a temporary file beside path and renames it over path only when everything was
// written, so a failure leaves neither a truncated image nor a damaged previous file.
// Throws GifError naming the file.
void writeGifFile(const GifPicture& picture, const std::filesystem::path& path);

} // namespace tavrel
