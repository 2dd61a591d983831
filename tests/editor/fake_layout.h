// A line layout for engine tests: paragraphs wrap every `width` characters, computed on the
// fly (slow, but obviously right).
#pragma once

#include <algorithm>

#include "editor/line_layout.h"

namespace tavrel::test {

class FixedWidthLayout final : public LineLayout {
public:
    FixedWidthLayout(const Document& document, Pos width) : doc_(document), width_(width) {}

    [[nodiscard]] bool wordWrap() const override { return true; }
    [[nodiscard]] Pos lineCount() override { return firstLineOf(doc_.paragraphCount()); }
    [[nodiscard]] Pos firstLineOf(Pos paragraph) override {
        Pos lines = 0;
        for (Pos p = 0; p < paragraph; ++p) {
            lines += lineCountOf(p);
        }
        return lines;
    }
    [[nodiscard]] Pos lineCountOf(Pos paragraph) override {
        const Pos length = doc_.paragraphLength(paragraph);
        return std::max<Pos>(1, (length + width_ - 1) / width_);
    }
    [[nodiscard]] Pos lineStart(Pos, Pos subLine) override { return subLine * width_; }
    [[nodiscard]] Pos paragraphOfLine(Pos line) override {
        Pos lines = 0;
        for (Pos p = 0; p < doc_.paragraphCount(); ++p) {
            lines += lineCountOf(p);
            if (line < lines) {
                return p;
            }
        }
        return doc_.paragraphCount() - 1;
    }
    void textChanged(const TextChange&) override {}
    void documentReset() override {}

private:
    const Document& doc_;
    Pos width_;
};

} // namespace tavrel::test
