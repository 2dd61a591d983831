// The paragraph store of one editor: a sequence of 8-bit paragraphs addressed by global
// positions in which every paragraph break counts two. Loading adopts the file's bytes and
// copies no text; a paragraph gets a buffer of its own only when it is first edited, and
// that buffer keeps its spare room as a gap at the last edit, so that typing in the middle
// of a huge paragraph moves no more bytes than the caret travelled.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/gap_vector.h"
#include "editor/partitioning.h"
#include "editor/types.h"

namespace tavrel {

// What a load found out about the bytes it was given.
struct LoadResult {
    // The kind of the last break seen (CR LF when there was none).
    LineBreak lastBreak = LineBreak::CrLf;
    // Number of breaks seen of each kind, indexed by LineBreak.
    Pos breaks[4] = {0, 0, 0, 0};
};

// The position change made by one structural edit: [position, position + removed) became
// [position, position + inserted); paragraphs firstParagraph .. firstParagraph +
// removedBreaks were replaced by firstParagraph .. firstParagraph + insertedBreaks.
struct TextChange {
    Pos position = 0;
    Pos removed = 0;
    Pos inserted = 0;
    Pos firstParagraph = 0;
    Pos removedBreaks = 0;
    Pos insertedBreaks = 0;
};

class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete; // owns raw paragraph buffers
    Document& operator=(const Document&) = delete;

    // Replaces everything by the bytes given, which the document keeps (no copy). Breaks
    // are CR LF, LF CR, CR or LF; every other byte, NUL included, is text. With discardTrailing,
    // trailing spaces and tabs of every paragraph are dropped. The new paragraphs are built
    // beside the old ones: when memory runs out (std::bad_alloc) the document is unchanged
    // and the bytes are given back in `bytes`.
    LoadResult load(std::string&& bytes, bool discardTrailing = false);
    // Back to one empty paragraph; unchanged when even that cannot be allocated.
    void clear();
    // Exchanges the whole text with another document. A file is loaded into a document of
    // its own on a worker thread and swapped in when complete, so the one on screen stays
    // whole until then; nothing is copied or allocated.
    void swap(Document& other) noexcept;

    [[nodiscard]] Pos paragraphCount() const noexcept { return starts_.partitions(); }
    [[nodiscard]] Pos charCount() const noexcept { return starts_.start(paragraphCount()); }
    // A paragraph number outside 0 .. paragraphCount() - 1 (up to paragraphCount() for a
    // start) would read another allocation's bytes: in every build it stops the program at
    // once with the reader's name and the number on standard error.
    [[nodiscard]] Pos paragraphStart(Pos p) const noexcept {
        checkParagraph(p, paragraphCount() + 1, "paragraphStart");
        return starts_.start(p);
    }
    [[nodiscard]] Pos paragraphLength(Pos p) const noexcept {
        checkParagraph(p, paragraphCount(), "paragraphLength");
        return paras_[p].length();
    }
    // The whole text of paragraph p as one view, valid until the next change or the next
    // read of the same paragraph. An edited paragraph whose gap lies inside has it moved to
    // the nearer end first, which costs the bytes on that side: readers on the path of a
    // keystroke (wrapping the changed lines, painting the visible ones) ask for a part
    // instead, or for the two halves. As the read moves bytes inside a paragraph's buffer it
    // is not const: a const Document is one that no thread changes, and may be read by
    // several at once (through paragraphHalves, textRange, write); a document that is read
    // by paragraph() is used by one thread at a time (a load on a worker fills its own).
    [[nodiscard]] std::string_view paragraph(Pos p) noexcept {
        checkParagraph(p, paragraphCount(), "paragraph");
        const Record& r = paras_[p];
        if (!r.owned()) {
            return {r.data, static_cast<std::size_t>(r.length())};
        }
        return contiguous(r, 0, r.length());
    }
    // Bytes [start, stop) of paragraph p (clamped) as one view, valid as above. The gap is
    // moved out of the range to its nearer edge, so this costs at most half the range.
    [[nodiscard]] std::string_view paragraphPart(Pos p, Pos start, Pos stop) noexcept;
    // The paragraph's text as it lies in memory, in two pieces (the second often empty),
    // without moving anything: for readers that walk the whole text once.
    struct Halves {
        std::string_view first;
        std::string_view second;
        [[nodiscard]] std::size_t size() const noexcept { return first.size() + second.size(); }
        [[nodiscard]] char operator[](std::size_t i) const noexcept {
            return i < first.size() ? first[i] : second[i - first.size()];
        }
    };
    [[nodiscard]] Halves paragraphHalves(Pos p) const noexcept;
    // Moves the gap of every edited paragraph to its end, so that no read moves a byte until
    // the next change: only then may two threads read the document at once (a save on a
    // worker while the window paints).
    void closeGaps() noexcept;
    // Paragraph holding a (clamped) position; the two positions of a break belong to the
    // paragraph before it.
    [[nodiscard]] Pos paragraphAt(Pos position) const noexcept;
    // Moves a position off the middle of a break (between its CR and LF) onto the end of
    // the paragraph before it, and clamps it into 0 .. charCount().
    [[nodiscard]] Pos normalise(Pos position) const noexcept;
    [[nodiscard]] Pos clamp(Pos position) const noexcept {
        return position < 0 ? 0 : (position > charCount() ? charCount() : position);
    }

    // Characters in [start, stop), clamped, breaks as CR LF.
    [[nodiscard]] std::string textRange(Pos start, Pos stop) const;
    [[nodiscard]] std::string text() const { return textRange(0, charCount()); }
    // Byte at a position; a break reads as '\r' then '\n'.
    [[nodiscard]] char charAt(Pos position) const noexcept;

    // Replaces [start, stop) by text (breaks in it as on loading) and says what changed.
    // Positions are normalised first. Every allocation comes before the first change:
    // std::length_error("Text too long") when a paragraph could not be sized, or
    // std::bad_alloc, leaves the document unchanged.
    TextChange replace(Pos start, Pos stop, std::string_view text);
    // The same, but the document may keep the string itself instead of copying it; a large
    // text with many breaks (a whole file handed over after line-end repair) then costs no
    // copy and no allocation per paragraph. When the replace throws, `text` holds the text
    // again.
    TextChange replace(Pos start, Pos stop, std::string&& text);
    TextChange replace(Pos start, Pos stop, const char* text) {
        return replace(start, stop, std::string_view(text));
    }

    // Writes the text paragraph by paragraph through sink, joined by the given break,
    // nothing after the last; with discardTrailing each paragraph loses its trailing spaces
    // and tabs. The sink returns false to stop (a write error); so does write().
    using Sink = std::function<bool(const char* data, std::size_t size)>;
    bool write(const Sink& sink, LineBreak lineBreak = LineBreak::CrLf,
               bool discardTrailing = false) const;

    // True when paragraph p still points into the loaded bytes and the bytes after it in
    // memory are its original break, followed by paragraph p + 1. Search uses this to scan
    // runs of unedited paragraphs in one go.
    [[nodiscard]] bool continuesInMemory(Pos p) const noexcept;
    // The last paragraph q >= p such that p .. q form one such run, stopping once the run
    // holds at least minBytes bytes.
    [[nodiscard]] Pos runEnd(Pos p, Pos minBytes) const noexcept;
    // The first paragraph q <= p such that q .. p form one run, stopping likewise.
    [[nodiscard]] Pos runStart(Pos p, Pos minBytes) const noexcept;

    // Shared chunks still held and their bytes: the loaded file and large inserted texts
    // that some paragraph points into. A chunk goes as soon as no paragraph uses it.
    [[nodiscard]] std::size_t sharedChunkCount() const noexcept { return chunks_.size(); }
    [[nodiscard]] std::size_t sharedChunkBytes() const noexcept;

private:
    // 16 bytes a paragraph: its text and its length, whose top bits say whether the
    // paragraph owns its buffer (an edited paragraph) or points into a shared chunk, and
    // whether the next paragraph follows it in memory after its original break.
    struct Record {
        char* data;
        Pos lengthAndFlag;
        static constexpr Pos kOwned = Pos(1) << 62;
        static constexpr Pos kContinues = Pos(1) << 61;
        [[nodiscard]] Pos length() const noexcept { return lengthAndFlag & ~(kOwned | kContinues); }
        [[nodiscard]] bool owned() const noexcept { return (lengthAndFlag & kOwned) != 0; }
        [[nodiscard]] bool continues() const noexcept { return (lengthAndFlag & kContinues) != 0; }
    };
    static bool adjacent(const Record& a, const Record& b) noexcept;
    // Stops the program when p is not in 0 .. end - 1 (see paragraphStart).
    static void checkParagraph(Pos p, Pos end, const char* reader) noexcept {
        if (p < 0 || p >= end) [[unlikely]] {
            paragraphOutOfRange(p, end, reader);
        }
    }
    [[noreturn]] static void paragraphOutOfRange(Pos p, Pos end, const char* reader) noexcept;
    // Recomputes the continuation mark of paragraphs first .. last.
    void markContinuation(Pos first, Pos last) noexcept;

    // An owned buffer is [gap offset][capacity][capacity bytes]; the record points at the
    // bytes. Its capacity - length spare bytes form the gap, which starts at the gap
    // offset (0 .. length): bytes before it hold the paragraph's head, bytes after it the
    // rest. A gap at either end leaves the text contiguous. Paragraphs shorter than
    // kGapMinimum keep it at their end: moving their tail costs less than the reads that
    // would otherwise close the gap again (a search after each replacement).
    static constexpr Pos kGapMinimum = 4096;
    struct Part;
    static char* allocateText(Pos capacity);
    static void freeText(const Record& r) noexcept;
    static Pos capacityOf(const Record& r) noexcept;
    static Pos gapOf(const Record& r) noexcept;
    static void setGap(const Record& r, Pos offset) noexcept;
    static void moveGap(const Record& r, Pos offset) noexcept;
    static Halves halvesOf(const Record& r) noexcept;
    // Bytes [start, stop) of an owned record, made contiguous by moving its gap out of the
    // range to the nearer edge.
    static std::string_view contiguous(const Record& r, Pos start, Pos stop) noexcept;
    // A new owned record of the parts' bytes, the gap after the first gapAfter parts.
    static Record makeRecord(const Part* parts, int count, int gapAfter);
    static Record makeRecord(const Part* parts, int count) {
        return makeRecord(parts, count, count);
    }
    TextChange replaceImpl(Pos start, Pos stop, std::string_view text, bool textIsShared);
    TextChange replaceShared(Pos start, Pos stop, std::string& text);
    LoadResult replaceWhole(std::string& bytes, bool discardTrailing);
    struct Chunk;
    static LoadResult build(std::string& text, bool discardTrailing, GapVector<Record>& paras,
                            Partitioning& starts, Chunk& use);
    void freeAll() noexcept;

    // Shared, never modified byte chunks: the bytes of the last load and large inserted
    // texts, keyed by their first byte. Unedited paragraphs point into them; each chunk
    // counts the paragraphs that do, and goes when the count falls to zero (undo steps
    // keep texts of their own, never pointers into a chunk).
    struct Chunk {
        std::unique_ptr<std::string> bytes;
        Pos users = 0;        // paragraphs pointing into it
        Pos usedBytes = 0;    // their lengths together
        bool settled = false; // compacted once, or could not be: not tried again
    };
    // A large chunk of which a few paragraphs still use a small part (a paste cut down to
    // one line, a file mostly rewritten) would keep all its bytes for them: below a quarter
    // in use, those paragraphs get buffers of their own and the chunk goes.
    static constexpr std::size_t kCompactMinimum = 64 * 1024;
    [[nodiscard]] static bool worthCompacting(const Chunk& chunk) noexcept {
        return !chunk.settled && chunk.bytes->size() >= kCompactMinimum &&
               static_cast<std::size_t>(chunk.usedBytes) < chunk.bytes->size() / 4;
    }
    void compactCandidate() noexcept;
    using ChunkMap = std::map<const char*, Chunk>;
    [[nodiscard]] static bool pointsIntoChunk(const Record& r) noexcept;
    ChunkMap::iterator chunkOf(const char* byte) noexcept;
    void retain(const Record& r) noexcept;
    void release(const Record& r) noexcept;
    void dropChunk(ChunkMap::iterator chunk) noexcept;

    ChunkMap chunks_;
    ChunkMap::iterator lastChunk_ = chunks_.end(); // the one found last: runs hit it again
    ChunkMap::iterator candidate_ = chunks_.end(); // a chunk worth compacting, if any
    GapVector<Record> paras_;
    Partitioning starts_;
};

// Splits inserted or loaded text at its breaks; calls piece(begin, end) for each paragraph
// piece and returns the number of breaks. The rule is the loader's: CR LF or LF CR is one
// break, a lone CR or LF is one.
template <typename F>
Pos splitAtBreaks(std::string_view text, F&& piece) {
    Pos breaks = 0;
    std::size_t begin = 0;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            piece(begin, i);
            ++breaks;
            const char other = c == '\r' ? '\n' : '\r';
            i += (i + 1 < n && text[i + 1] == other) ? 2 : 1;
            begin = i;
        } else {
            ++i;
        }
    }
    piece(begin, n);
    return breaks;
}

} // namespace tavrel
