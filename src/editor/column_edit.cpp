// Column block paste, smart tab and auto-indent.
#include "editor/column_edit.h"

#include <vector>

#include "editor/line_breaker.h"

namespace tavrel {

Pos caretColumn(const TextEngine& engine) {
    const Document& doc = engine.document();
    const Pos p = doc.paragraphAt(engine.selection().caret());
    return engine.columnOf(p, engine.selection().caret() - doc.paragraphStart(p));
}

void pasteColumnBlock(TextEngine& engine, std::string_view text) {
    std::vector<std::string_view> rows;
    const Pos breaks = splitAtBreaks(text, [&](std::size_t begin, std::size_t end) {
        rows.push_back(text.substr(begin, end - begin));
    });
    if (breaks > 0 && rows.back().empty()) {
        rows.pop_back(); // the break that ends the last row
    }
    engine.beginUpdate();
    if (engine.selection().length() != 0 || engine.selection().isBlock()) {
        engine.setSelText(std::string_view());
    }
    const Document& doc = engine.document();
    const Pos first = doc.paragraphAt(engine.selection().caret());
    const Pos column = caretColumn(engine);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Pos p = first + static_cast<Pos>(i);
        if (p >= doc.paragraphCount()) {
            engine.setSelStart(doc.charCount());
            engine.setSelText(std::string_view("\r\n"));
        }
        const Pos length = doc.paragraphLength(p);
        const Pos width = engine.columnOf(p, length);
        if (width < column) {
            engine.setSelStart(doc.paragraphStart(p) + length);
            engine.setSelText(std::string(static_cast<std::size_t>(column - width), ' '));
        }
        engine.setSelStart(doc.paragraphStart(p) + engine.offsetAtColumn(p, column));
        engine.setSelText(rows[i]);
    }
    engine.endUpdate();
}

std::string smartTabSpaces(const TextEngine& engine) {
    const Document& doc = engine.document();
    // Read around the gap: the paragraphs above the caret are only looked at.
    const Pos column = caretColumn(engine);
    for (Pos p = doc.paragraphAt(engine.selection().caret()) - 1; p >= 0; --p) {
        const Document::Halves text = doc.paragraphHalves(p);
        const auto length = static_cast<Pos>(text.size());
        if (engine.columnOf(p, length) <= column) {
            continue;
        }
        Pos i = engine.offsetAtColumn(p, column);
        while (i < length && !isBlank(text[static_cast<std::size_t>(i)])) {
            ++i;
        }
        while (i < length && isBlank(text[static_cast<std::size_t>(i)])) {
            ++i;
        }
        return std::string(static_cast<std::size_t>(engine.columnOf(p, i) - column), ' ');
    }
    return {};
}

std::string autoIndentBreak(TextEngine& engine) {
    Document& doc = engine.document();
    LineLayout& layout = engine.layout();
    const Pos caret = engine.selection().caret();
    Pos p = doc.paragraphAt(caret);
    const Pos offset = caret - doc.paragraphStart(p);
    Pos sub = layout.lineCountOf(p) - 1;
    while (sub > 0 && layout.lineStart(p, sub) > offset) {
        --sub;
    }
    const Pos limit = offset - layout.lineStart(p, sub); // the caret's column in its line
    for (;;) {
        const std::string_view text = doc.paragraph(p);
        const Pos start = layout.lineStart(p, sub);
        const Pos stop = sub + 1 < layout.lineCountOf(p) ? layout.lineStart(p, sub + 1)
                                                         : static_cast<Pos>(text.size());
        if (stop > start) {
            Pos end = start;
            while (end < stop && end - start < limit &&
                   isBlank(text[static_cast<std::size_t>(end)])) {
                ++end;
            }
            return "\r\n" + std::string(text.substr(static_cast<std::size_t>(start),
                                                    static_cast<std::size_t>(end - start)));
        }
        if (sub > 0) {
            --sub;
        } else if (p > 0) {
            --p;
            sub = layout.lineCountOf(p) - 1;
        } else {
            return "\r\n";
        }
    }
}

} // namespace tavrel
