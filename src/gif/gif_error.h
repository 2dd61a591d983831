// The one error type of the GIF library. Its messages are fixed texts ("Color table
// overflow", "Color not in color table", "Unsupported GIF version") or name the file or size
// at fault; callers catch it at the command and show their own message.
#pragma once

#include <stdexcept>
#include <string>

namespace tavrel {

class GifError : public std::runtime_error {
public:
    explicit GifError(const std::string& message) : std::runtime_error(message) {}
};

// The fixed texts, each written in one place.
inline constexpr const char* kGifColorTableOverflow = "Color table overflow";
inline constexpr const char* kGifColorNotInTable = "Color not in color table";
inline constexpr const char* kGifUnsupportedVersion = "Unsupported GIF version";

} // namespace tavrel
