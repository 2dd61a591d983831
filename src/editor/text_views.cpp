// The paragraph and display-line views of the text engine, columns, word boundaries and
// the consistency check.
#include <stdexcept>

#include "editor/text_engine.h"

namespace tavrel {

namespace {

// Where a position lands after the text [start, start + oldLength) became newLength long:
// the caret keeps its place relative to the text around the change.
Pos keepRelative(Pos position, Pos start, Pos oldLength, Pos newLength) {
    if (position <= start) {
        return position;
    }
    if (position >= start + oldLength) {
        return position + newLength - oldLength;
    }
    return std::min(position, start + newLength);
}

} // namespace

// --- Paragraphs view ------------------------------------------------------------------------

Pos TextEngine::paragraphsViewCount() const noexcept {
    const Pos n = doc_.paragraphCount();
    return doc_.paragraphLength(n - 1) == 0 ? n - 1 : n;
}

std::string_view TextEngine::paragraph(Pos index) const {
    if (index < 0 || index >= doc_.paragraphCount()) {
        throw std::out_of_range("List index out of bounds");
    }
    return doc_.paragraph(index);
}

void TextEngine::setParagraphsText(std::string_view text) {
    replaceAll(text, nullptr);
}

void TextEngine::setParagraphsText(std::string&& text) {
    const std::string_view view(text);
    replaceAll(view, &text);
}

void TextEngine::replaceAll(std::string_view text, std::string* adopt) {
    const Pos caret = caret_;
    const Pos anchor = anchor_;
    select(0, charCount());
    try {
        replaceSelection(text, adopt);
    } catch (...) {
        select(anchor, caret); // the text is unchanged, and so is where the user was
        throw;
    }
    setSelStart(0);
    if (batch_ == 0) {
        for (TextObserver* o : observers_) {
            o->scrollToTopRequested();
        }
    }
}

// The Paragraphs view edits through this: [start, stop) becomes text as one undoable step,
// and the caret and the anchor keep their places relative to the text around the change.
void TextEngine::replaceKeepingSelection(Pos start, Pos stop, std::string_view text) {
    const Pos caret = caret_;
    const Pos anchor = anchor_;
    const Pos before = charCount();
    select(start, stop);
    setSelText(text);
    const Pos oldLength = stop - start;
    const Pos newLength = oldLength + charCount() - before;
    select(keepRelative(anchor, start, oldLength, newLength),
           keepRelative(caret, start, oldLength, newLength));
}

void TextEngine::setParagraph(Pos index, std::string_view text) {
    if (index < 0 || index > doc_.paragraphCount()) {
        throw std::out_of_range("List index out of bounds");
    }
    beginUpdate(); // the appended break and the text undo as one
    if (index == doc_.paragraphCount()) {
        replaceKeepingSelection(charCount(), charCount(), "\r\n");
    }
    const Pos start = doc_.paragraphStart(index);
    replaceKeepingSelection(start, start + doc_.paragraphLength(index), text);
    endUpdate();
}

Pos TextEngine::addParagraph(std::string_view text) {
    const Pos last = doc_.paragraphCount() - 1;
    if (doc_.paragraphLength(last) != 0) {
        replaceKeepingSelection(charCount(), charCount(), std::string("\r\n").append(text));
        return last + 1;
    }
    replaceKeepingSelection(doc_.paragraphStart(last), charCount(),
                            std::string(text).append("\r\n"));
    return last;
}

void TextEngine::insertParagraph(Pos index, std::string_view text) {
    if (index >= 0 && index < doc_.paragraphCount()) {
        const Pos at = doc_.paragraphStart(index);
        replaceKeepingSelection(at, at, std::string(text).append("\r\n"));
    } else {
        replaceKeepingSelection(charCount(), charCount(), std::string("\r\n").append(text));
    }
}

void TextEngine::deleteParagraph(Pos index) {
    if (index < 0 || index >= doc_.paragraphCount()) {
        throw std::out_of_range("List index out of bounds");
    }
    const Pos start = doc_.paragraphStart(index);
    const Pos stop = index + 1 < doc_.paragraphCount() ? doc_.paragraphStart(index + 1)
                                                       : start + doc_.paragraphLength(index);
    replaceKeepingSelection(start, stop, std::string_view());
}

// --- Lines view -----------------------------------------------------------------------------

Pos TextEngine::linesCount() {
    const Pos lines = layout_->lineCount();
    const Pos last = doc_.paragraphCount() - 1;
    const auto [start, stop] = lineBounds(last, layout_->lineCountOf(last) - 1);
    return start == stop ? lines - 1 : lines;
}

std::string_view TextEngine::lineText(Pos line) {
    const Pos p = layout_->paragraphOfLine(line);
    const Pos sub = std::clamp<Pos>(line - layout_->firstLineOf(p), 0, layout_->lineCountOf(p) - 1);
    const auto [start, stop] = lineBounds(p, sub);
    return doc_.paragraph(p).substr(static_cast<std::size_t>(start),
                                    static_cast<std::size_t>(stop - start));
}

// --- Columns --------------------------------------------------------------------------------

Pos TextEngine::columnOf(Pos paragraph, Pos offset) const {
    const std::string_view text = doc_.paragraph(paragraph);
    const Pos end = std::min<Pos>(offset, static_cast<Pos>(text.size()));
    Pos column = 0;
    for (Pos i = 0; i < end; ++i) {
        column = text[static_cast<std::size_t>(i)] == '\t' ? (column / tabStops_ + 1) * tabStops_
                                                           : column + 1;
    }
    return column + std::max<Pos>(0, offset - end);
}

Pos TextEngine::offsetAtColumn(Pos paragraph, Pos column) const {
    const std::string_view text = doc_.paragraph(paragraph);
    Pos current = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (current >= column) {
            return static_cast<Pos>(i);
        }
        current = text[i] == '\t' ? (current / tabStops_ + 1) * tabStops_ : current + 1;
    }
    return static_cast<Pos>(text.size());
}

// --- Words ----------------------------------------------------------------------------------

std::string TextEngine::separators() const {
    std::string members;
    for (int c = 0; c < 256; ++c) {
        if (separators_[static_cast<std::size_t>(c)]) {
            members.push_back(static_cast<char>(c));
        }
    }
    return members;
}

void TextEngine::setSeparators(std::string_view members) {
    separators_.reset();
    for (const char c : members) {
        separators_.set(static_cast<unsigned char>(c));
    }
}

// Word movement works on global positions; the two positions of a paragraph break always
// count as separators, whatever the set holds.
Pos TextEngine::previousWordStart(Pos position) const {
    position = doc_.normalise(position);
    auto separatorBefore = [&](Pos p) {
        const char c = doc_.charAt(p - 1);
        const Pos para = doc_.paragraphAt(p - 1);
        const bool inBreak = p - 1 >= doc_.paragraphStart(para) + doc_.paragraphLength(para);
        return inBreak || isSeparator(static_cast<unsigned char>(c));
    };
    while (position > 0 && separatorBefore(position)) {
        --position;
    }
    while (position > 0 && !separatorBefore(position)) {
        --position;
    }
    return doc_.normalise(position);
}

Pos TextEngine::nextWordStart(Pos position) const {
    position = doc_.normalise(position);
    const Pos end = charCount();
    auto separatorAt = [&](Pos p) {
        const Pos para = doc_.paragraphAt(p);
        const bool inBreak = p >= doc_.paragraphStart(para) + doc_.paragraphLength(para);
        return inBreak || isSeparator(static_cast<unsigned char>(doc_.charAt(p)));
    };
    const Pos para = doc_.paragraphAt(position);
    if (position == doc_.paragraphStart(para) + doc_.paragraphLength(para) && position < end) {
        position += 2; // skip the break
    }
    while (position < end && !separatorAt(position)) {
        ++position;
    }
    while (position < end && separatorAt(position)) {
        ++position;
    }
    return doc_.normalise(position);
}

std::pair<Pos, Pos> TextEngine::wordAt(Pos position) const {
    position = doc_.normalise(position);
    const Pos para = doc_.paragraphAt(position);
    const Pos base = doc_.paragraphStart(para);
    const std::string_view text = doc_.paragraph(para);
    const auto sep = [&](std::size_t i) {
        return isSeparator(static_cast<unsigned char>(text[i]));
    };
    std::size_t start = static_cast<std::size_t>(position - base);
    std::size_t stop = start;
    while (start > 0 && !sep(start - 1)) {
        --start;
    }
    while (stop < text.size() && !sep(stop)) {
        ++stop;
    }
    if (hasOption(eoLargeWordSelect)) {
        while (stop < text.size() && sep(stop)) {
            ++stop;
        }
    }
    return {base + static_cast<Pos>(start), base + static_cast<Pos>(stop)};
}

// --- Consistency check ----------------------------------------------------------------------

std::string TextEngine::consistencyCheck() {
    Pos lines = 0;
    Pos position = 0;
    const Pos count = doc_.paragraphCount();
    for (Pos p = 0; p < count; ++p) {
        if (layout_->firstLineOf(p) != lines) {
            return "Error 1" + versionLabel;
        }
        if (doc_.paragraphStart(p) != position) {
            return "Error 2 in " + versionLabel;
        }
        const Pos length = doc_.paragraphLength(p);
        const Pos sublines = layout_->lineCountOf(p);
        Pos previous = 0;
        for (Pos s = 0; s < sublines; ++s) {
            const Pos start = layout_->lineStart(p, s);
            if ((s == 0 && start != 0) || start < previous) {
                return "Error 3 in " + versionLabel;
            }
            previous = start;
        }
        if (previous > length) {
            return "Error 4 in " + versionLabel;
        }
        lines += sublines;
        position += length + 2;
    }
    if (doc_.charCount() + 2 != position) {
        return "Error 5 in " + versionLabel;
    }
    if (layout_->lineCount() != lines) {
        return "Error 6.01 in " + versionLabel;
    }
    return {};
}

} // namespace tavrel
