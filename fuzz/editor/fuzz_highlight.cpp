// Feeds the address and keyword scanners random paragraphs and keyword lists, then random
// edits. Every run must lie inside its paragraph, in order and without overlap, the runs
// kept through the edits must equal a fresh scan of the edited text, and the paragraphs
// scanned together (a block at a time) must each equal a scan of the paragraph alone.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_highlights.h"

namespace {

void checkRuns(std::span<const tavrel::HighlightRun> runs, std::size_t size) {
    tavrel::Pos end = 0;
    for (const tavrel::HighlightRun& r : runs) {
        if (r.length <= 0 || r.start < end || r.start + r.length > static_cast<tavrel::Pos>(size)) {
            __builtin_trap();
        }
        end = r.start + r.length;
    }
}

bool sameRuns(std::span<const tavrel::HighlightRun> a, std::span<const tavrel::HighlightRun> b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].start != b[i].start || a[i].length != b[i].length ||
            a[i].context != b[i].context) {
            return false;
        }
    }
    return true;
}

// Every paragraph of the document scanned together with its neighbours against the same
// paragraph scanned alone.
void checkTogether(const tavrel::EditorHighlights& highlights, tavrel::Document& doc) {
    tavrel::ScannedParagraphs scanned;
    highlights.scanParagraphs(0, doc.paragraphCount(), scanned);
    if (scanned.count() != doc.paragraphCount()) {
        __builtin_trap();
    }
    for (tavrel::Pos p = 0; p < doc.paragraphCount(); ++p) {
        const auto runs = scanned.of(p);
        if (!sameRuns(runs, highlights.scanParagraph(doc.paragraph(p)))) {
            __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Layout: keyword bytes up to the first NUL, then the text, then edit bytes after the
    // second NUL. Keywords are split at "|"; letters and digits only, so that a partial
    // re-scan has one right answer.
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t k = all.find('\0');
    const std::string_view keywordPart = all.substr(0, k);
    std::string_view rest = k == std::string_view::npos ? std::string_view() : all.substr(k + 1);
    const std::size_t t = rest.find('\0');
    std::string text(rest.substr(0, t));
    const std::string_view edits =
        t == std::string_view::npos ? std::string_view() : rest.substr(t + 1);

    tavrel::TextEngine engine;
    tavrel::UrlHighlighter urls;
    tavrel::EditorHighlights highlights(engine);
    highlights.setAddressHighlighter(&urls);
    std::size_t from = 0;
    while (from <= keywordPart.size()) {
        const std::size_t bar = keywordPart.find('|', from);
        const std::string_view word = keywordPart.substr(from, bar - from);
        bool plain = true;
        for (const char c : word) {
            plain = plain &&
                    ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
        }
        if (plain) {
            highlights.keywords().addKeyword(word, tavrel::koWholeWords, 0, 0, 0, 1, 0);
        }
        if (bar == std::string_view::npos) {
            break;
        }
        from = bar + 1;
    }
    // Whatever the keywords, a one-off match stays inside the text.
    std::vector<tavrel::HighlightRun> words;
    tavrel::KeywordList raw;
    raw.addKeyword(keywordPart.substr(0, 8), static_cast<std::uint8_t>(data[0] & 3), 0, 0, 0, 1, 0);
    raw.match(text, 0, static_cast<tavrel::Pos>(text.size()), engine.separatorSet(), {}, words);
    checkRuns(words, text.size());

    engine.loadBytes(std::move(text));
    for (tavrel::Pos p = 0; p < engine.document().paragraphCount(); ++p) {
        checkRuns(highlights.paragraphRuns(p), engine.document().paragraph(p).size());
    }
    checkTogether(highlights, engine.document());
    for (std::size_t i = 0; i + 2 < edits.size(); i += 3) {
        const tavrel::Pos length = engine.charCount();
        const tavrel::Pos at = static_cast<unsigned char>(edits[i]) * (length + 1) / 256;
        const tavrel::Pos cut = std::min<tavrel::Pos>(length - at, edits[i + 1] & 7);
        engine.select(at, at + cut);
        engine.setSelText(std::string(1, edits[i + 2]));
        const tavrel::Pos p = engine.caretParagraph();
        const auto& kept = highlights.paragraphRuns(p);
        checkRuns(kept, engine.document().paragraph(p).size());
        if (!sameRuns(kept, highlights.scanParagraph(engine.document().paragraph(p)))) {
            __builtin_trap();
        }
    }
    checkTogether(highlights, engine.document());
    return 0;
}
