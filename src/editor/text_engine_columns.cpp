// Columns, word boundaries, the separator set and the consistency check of the text engine:
// the questions commands and views ask of the text without changing it.
#include "editor/text_engine.h"

#include <algorithm>

namespace tavrel {

// --- Columns --------------------------------------------------------------------------------

Pos TextEngine::columnOf(Pos paragraph, Pos offset) const {
    // The bytes as they lie, around the gap: a column is read on every caret move.
    const Document::Halves text = doc_.paragraphHalves(paragraph);
    const Pos end = std::min<Pos>(offset, static_cast<Pos>(text.size()));
    Pos column = 0;
    for (Pos i = 0; i < end; ++i) {
        column = text[static_cast<std::size_t>(i)] == '\t' ? (column / tabStops_ + 1) * tabStops_
                                                           : column + 1;
    }
    return column + std::max<Pos>(0, offset - end);
}

Pos TextEngine::offsetAtColumn(Pos paragraph, Pos column) const {
    const Document::Halves text = doc_.paragraphHalves(paragraph);
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
    const Document::Halves text = doc_.paragraphHalves(para);
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
