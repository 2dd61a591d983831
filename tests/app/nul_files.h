// Text art files with NUL bytes as old archives left them: a header of NULs before the art,
// NULs inside it and NULs padding its end. Their breaks are all CR LF, so the editor's text
// is each file's bytes exactly, with or without the line-end repair.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace tavrel::test {

struct NulFile {
    std::string name;
    std::string bytes;
    std::vector<std::string> words; // words the file shows, some of them after its NULs
};

inline std::vector<NulFile> nulFiles() {
    using namespace std::string_literals;
    return {
        {"header.nfo",
         "\0\0\0\0\0\0\0\0  \xDC\xDB\xDB\xDC  GROUP PRESENTS\r\n\r\n  notes follow\r\n"s,
         {"GROUP", "PRESENTS", "notes", "follow"}},
        {"middle.nfo",
         "  TOP LINE\r\n\0\0\0AFTER NULS\r\n  \xB0\xB1\xB2 LAST WORDS\r\n"s,
         {"TOP", "AFTER", "NULS", "LAST", "WORDS"}},
        {"trailer.nfo", "  ONLY LINE\r\n  SECOND LINE\0\0\0\0\0"s, {"ONLY", "SECOND"}},
    };
}

// The file as it would be with a space for each NUL: the blank cell code page 437 draws for
// byte 0 is the one it draws for a space.
inline std::string nulsAsSpaces(std::string bytes) {
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    return bytes;
}

} // namespace tavrel::test
