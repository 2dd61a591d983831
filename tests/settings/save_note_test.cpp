// The in-place save note's form: the bytes written for a note, held against a hand-written
// copy, and a reader that takes exactly those bytes and nothing near them.
#include "settings/save_note.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace std::string_literals;

const SaveNote kNote{"/home/u/art/\xe4rt\nx.nfo", "/home/u/art/.\xe4rt\nx.nfo.tavrel-old-k2a9zq",
                     3145851, 2049, 18446744073709551615u};
const std::string kBytes = "Tavrel in-place save 1\n"
                           "/home/u/art/\xe4rt\nx.nfo\0"
                           "/home/u/art/.\xe4rt\nx.nfo.tavrel-old-k2a9zq\0"
                           "3145851\0"
                           "2049\0"
                           "18446744073709551615\0"s;

TEST(SaveNote, isWrittenAsNamedAndReadBack) {
    EXPECT_EQ(formatSaveNote(kNote), kBytes);
    EXPECT_EQ(parseSaveNote(kBytes), kNote);
    const SaveNote empty{"/a", "/b", 0, 0, 0};
    EXPECT_EQ(parseSaveNote(formatSaveNote(empty)), empty);
}

TEST(SaveNote, anythingButTheExactFormReadsAsNoNote) {
    const std::string head = "Tavrel in-place save 1\n";
    const std::string tail = "/b\0"
                             "1\0"
                             "2\0"
                             "3\0"s;
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"cut before the last NUL", kBytes.substr(0, kBytes.size() - 1)},
        {"a byte after the last field", kBytes + "x"},
        {"another version", "Tavrel in-place save 2\n/a\0"s + tail},
        {"CR LF first line", "Tavrel in-place save 1\r\n/a\0"s + tail},
        {"a relative target", head + "a\0"s + tail},
        {"an empty target", head + "\0"s + tail},
        {"a relative copy", head + "/a\0b\0"s + "1\0"s + "2\0"s + "3\0"s},
        {"a leading zero", head + "/a\0/b\0"s + "01\0"s + "2\0"s + "3\0"s},
        {"a sign", head + "/a\0/b\0"s + "+1\0"s + "2\0"s + "3\0"s},
        {"past 64 bits", head + "/a\0/b\0"s + "1\0"s + "2\0"s + "18446744073709551616\0"s},
        {"an empty number", head + "/a\0/b\0"s + "\0"s + "2\0"s + "3\0"s},
        {"a field missing", head + "/a\0/b\0"s + "1\0"s + "2\0"s},
        {"a field too many", head + "/a\0"s + tail + "4\0"s},
        {"too large", head + "/" + std::string(kMaxSaveNoteSize, 'a') + "\0"s + tail},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_FALSE(parseSaveNote(bytes).has_value()) << what;
    }
}

} // namespace
} // namespace tavrel
