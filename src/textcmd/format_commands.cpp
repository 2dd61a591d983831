// The Format commands share one shape: read the selection, rewrite it as bytes, write it
// back through the engine's replace operation so that Undo restores it in one step.
#include "textcmd/format_commands.h"

#include "editor/text_engine.h"
#include "textcmd/text_transforms.h"

namespace tavrel {
namespace {

template <typename Transform>
void rewriteSelection(TextEngine& engine, Transform transform) {
    if (!formatItemsEnabled(engine)) {
        return;
    }
    engine.setSelText(transform(engine.selText()));
}

} // namespace

bool formatItemsEnabled(const TextEngine& engine) noexcept {
    return engine.selection().length() != 0;
}

void joinLines(TextEngine& engine) {
    rewriteSelection(engine, joinLinesText);
}

void lowercase(TextEngine& engine) {
    rewriteSelection(engine, lowercaseText);
}

void uppercase(TextEngine& engine) {
    rewriteSelection(engine, uppercaseText);
}

void charsetToUtf8(TextEngine& engine) {
    rewriteSelection(engine, charsetToUtf8Text);
}

void utf8ToCharset(TextEngine& engine) {
    rewriteSelection(engine, utf8ToCharsetText);
}

void insertDateTime(TextEngine& engine, const std::string& text) {
    engine.setSelText(text);
}

void deleteLine(TextEngine& engine) {
    const Pos line = engine.lines().caretLine();
    const Pos paragraph = engine.layout().wordWrap() ? engine.lines().paragraphOf(line) : line;
    engine.paragraphs().remove(paragraph);
}

} // namespace tavrel
