// A SAUCE record built by hand, field by field at the offsets the format gives, for tests
// that need art files with one (the program's own reader is what they test).
#pragma once

#include <cstdint>
#include <string>

namespace tavrel::test {

// The end-of-file mark and a 128-byte record for character data: `fileType` 0 is plain
// text, 1 ANSI; no comments.
inline std::string sauceTrailer(const std::string& title, const std::string& author,
                                std::uint8_t fileType, std::uint16_t width, std::uint8_t flags) {
    const auto field = [](std::string text, std::size_t size) {
        text.resize(size, ' ');
        return text;
    };
    std::string record = "\x1A"
                         "SAUCE00";
    record += field(title, 35) + field(author, 20) + field("", 20) + "20240229";
    record += std::string(4, '\0');            // file size
    record += '\x01';                          // character data
    record += static_cast<char>(fileType);     // ASCII or ANSi
    record += static_cast<char>(width & 0xFF); // TInfo1, low first
    record += static_cast<char>(width >> 8);
    record += std::string(6, '\0'); // TInfo2-4
    record += '\0';                 // no comments
    record += static_cast<char>(flags);
    record += field(std::string("IBM VGA"), 22).replace(7, 15, 15, '\0'); // TInfoS
    return record;
}

} // namespace tavrel::test
