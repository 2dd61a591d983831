// The Edit menu's enabling rules, the copy routine's choice and trimming, and Ctrl+Y.
#include "textcmd/edit_commands.h"

#include "editor/text_engine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tavrel {

EditMenuState editMenuState(const TextEngine& engine, bool clipboardHasText) noexcept {
    const bool selection = engine.selection().length() != 0;
    return {engine.canUndo(), engine.canRedo(), selection, selection, clipboardHasText};
}

EditMenuState popupMenuState(const TextEngine& engine, bool clipboardHasText) noexcept {
    return {engine.canUndo(), engine.canRedo(), true, true, clipboardHasText};
}

std::string trimmedSelection(const TextEngine& engine, bool* endedAtNul) {
    const Pos length = std::llabs(engine.selection().length());
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    const Pos copied = engine.getSelTextBuf(buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(copied));
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    // The text ends at its first NUL, as a C string does.
    const std::size_t end = std::strlen(buffer.c_str());
    if (endedAtNul != nullptr) {
        *endedAtNul =
            !std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(end), buffer.end(), blank);
    }
    buffer.resize(end);
    std::size_t first = 0;
    while (first < buffer.size() && blank(buffer[first])) {
        ++first;
    }
    std::size_t last = buffer.size();
    while (last > first && blank(buffer[last - 1])) {
        --last;
    }
    return buffer.substr(first, last - first);
}

CopyPlan planCopy(const TextEngine& engine, bool trim) {
    if (engine.selection().length() == 0) {
        return {};
    }
    if (!trim) {
        return {CopyPlan::Kind::EditorCopy, {}};
    }
    CopyPlan plan{CopyPlan::Kind::PlainText, {}};
    plan.text = trimmedSelection(engine, &plan.endedAtNul);
    return plan;
}

void clearCaretLine(TextEngine& engine) {
    // With word wrap the caret's line is a display line; its paragraph is the one emptied.
    const Pos line = engine.lines().caretLine();
    const Pos paragraph = engine.layout().wordWrap() ? engine.lines().paragraphOf(line) : line;
    // The empty paragraph after a final break is outside the Paragraphs view; it has no text
    // to clear, and assigning it would be an index error.
    if (engine.document().paragraphLength(paragraph) == 0) {
        return;
    }
    engine.paragraphs().set(paragraph, {});
}

} // namespace tavrel
