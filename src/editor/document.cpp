// The paragraph store: loading, position lookups, structural replacement and writing.
#include "editor/document.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel {

namespace {

// Text of every empty paragraph that owns nothing.
char kEmptyText[1] = {0};

// Calls visit(p) for every CR and LF in [begin, end), in order. This loop is the hot spot
// when a 100 MB file is loaded, so it tests 16 bytes at a time and walks the bits of each
// block instead of rescanning after every hit.
template <typename Visit>
void forEachBreakByte(const char* begin, const char* end, Visit&& visit) {
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask != 0) {
            visit(p + __builtin_ctz(mask));
            mask &= mask - 1;
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == '\r' || *p == '\n') {
            visit(p);
        }
    }
}

bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

Pos trimmedLength(const char* data, Pos length) noexcept {
    while (length > 0 && isBlank(data[length - 1])) {
        --length;
    }
    return length;
}

} // namespace

// A piece of a paragraph under construction. `shared` says that the bytes live in a chunk
// that outlives the paragraph (so a record may point at them); `whole` names an existing
// record whose entire text this piece is (so the record can be kept as it is).
struct Document::Part {
    std::string_view text;
    bool shared = false;
    const Record* whole = nullptr;
};

Document::Document() {
    paras_.push_back(Record{kEmptyText, 0});
}

Document::~Document() {
    freeAll();
}

namespace {
constexpr std::size_t kHeader = 2 * sizeof(Pos); // gap offset, capacity
} // namespace

char* Document::allocateText(Pos capacity) {
    // The gap offset and the capacity live just before the text, so the record stays at 16
    // bytes. The gap starts at the front until the caller says where it is.
    if (capacity < 0 || capacity > std::numeric_limits<Pos>::max() / 2) {
        throw std::length_error("Text too long");
    }
    void* block = std::malloc(kHeader + static_cast<std::size_t>(capacity));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const Pos header[2] = {0, capacity};
    std::memcpy(block, header, kHeader);
    return static_cast<char*>(block) + kHeader;
}

void Document::freeText(const Record& r) noexcept {
    if (r.owned()) {
        std::free(r.data - kHeader);
    }
}

Pos Document::capacityOf(const Record& r) noexcept {
    Pos capacity = 0;
    std::memcpy(&capacity, r.data - sizeof(Pos), sizeof(Pos));
    return capacity;
}

Pos Document::gapOf(const Record& r) noexcept {
    if (!r.owned()) {
        return r.length();
    }
    Pos offset = 0;
    std::memcpy(&offset, r.data - kHeader, sizeof(Pos));
    return offset;
}

void Document::setGap(const Record& r, Pos offset) noexcept {
    assert(r.owned() && offset >= 0 && offset <= r.length());
    std::memcpy(r.data - kHeader, &offset, sizeof(Pos));
}

// Moving the gap moves the bytes between its old and new place across it: the cost is the
// distance, which is what makes typing at one place cheap however long the paragraph.
void Document::moveGap(const Record& r, Pos offset) noexcept {
    const Pos gap = gapOf(r);
    const Pos size = capacityOf(r) - r.length();
    if (offset < gap) {
        std::memmove(r.data + offset + size, r.data + offset,
                     static_cast<std::size_t>(gap - offset));
    } else if (offset > gap) {
        std::memmove(r.data + gap, r.data + gap + size, static_cast<std::size_t>(offset - gap));
    } else {
        return;
    }
    setGap(r, offset);
}

Document::Halves Document::halvesOf(const Record& r) noexcept {
    const auto length = static_cast<std::size_t>(r.length());
    if (!r.owned()) {
        return {{r.data, length}, {}};
    }
    const auto gap = static_cast<std::size_t>(gapOf(r));
    const auto size = static_cast<std::size_t>(capacityOf(r) - r.length());
    return {{r.data, gap}, {r.data + gap + size, length - gap}};
}

std::string_view Document::contiguous(const Record& r, Pos start, Pos stop) noexcept {
    Pos gap = gapOf(r);
    const Pos size = capacityOf(r) - r.length();
    if (gap > start && gap < stop) {
        gap = gap - start <= stop - gap ? start : stop;
        moveGap(r, gap);
    }
    // Bytes at or after the gap lie `size` further on.
    const char* first = r.data + start + (gap <= start ? size : 0);
    return {first, static_cast<std::size_t>(stop - start)};
}

void Document::paragraphOutOfRange(Pos p, Pos end, const char* reader) noexcept {
    std::fprintf(stderr, "tavrel: Document::%s(%lld) outside 0 .. %lld\n", reader,
                 static_cast<long long>(p), static_cast<long long>(end - 1));
    std::abort();
}

std::string_view Document::paragraphPart(Pos p, Pos start, Pos stop) noexcept {
    checkParagraph(p, paragraphCount(), "paragraphPart");
    const Record& r = paras_[p];
    start = std::clamp<Pos>(start, 0, r.length());
    stop = std::clamp<Pos>(stop, start, r.length());
    if (!r.owned()) {
        return {r.data + start, static_cast<std::size_t>(stop - start)};
    }
    return contiguous(r, start, stop);
}

Document::Halves Document::paragraphHalves(Pos p) const noexcept {
    checkParagraph(p, paragraphCount(), "paragraphHalves");
    return halvesOf(paras_[p]);
}

void Document::closeGaps() noexcept {
    for (Pos p = 0; p < paras_.size(); ++p) {
        const Record& r = paras_[p];
        if (r.owned()) {
            moveGap(r, r.length());
        }
    }
}

void Document::freeAll() noexcept {
    for (Pos i = 0; i < paras_.size(); ++i) {
        freeText(paras_[i]);
    }
    paras_.clear();
    chunks_.clear();
    lastChunk_ = chunks_.end();
    candidate_ = chunks_.end();
}

// --- Shared chunks --------------------------------------------------------------------------

bool Document::pointsIntoChunk(const Record& r) noexcept {
    return !r.owned() && r.data != kEmptyText;
}

Document::ChunkMap::iterator Document::chunkOf(const char* byte) noexcept {
    const auto holds = [byte](ChunkMap::iterator it) {
        return byte >= it->first && byte < it->first + it->second.bytes->size();
    };
    if (lastChunk_ != chunks_.end() && holds(lastChunk_)) {
        return lastChunk_;
    }
    auto it = chunks_.upper_bound(byte);
    assert(it != chunks_.begin());
    --it;
    assert(holds(it));
    lastChunk_ = it;
    return it;
}

void Document::retain(const Record& r) noexcept {
    if (pointsIntoChunk(r)) {
        Chunk& chunk = chunkOf(r.data)->second;
        ++chunk.users;
        chunk.usedBytes += r.length();
    }
}

void Document::release(const Record& r) noexcept {
    if (pointsIntoChunk(r)) {
        const auto it = chunkOf(r.data);
        assert(it->second.users > 0);
        it->second.usedBytes -= r.length();
        if (--it->second.users == 0) {
            dropChunk(it);
        } else if (worthCompacting(it->second)) {
            candidate_ = it;
        }
    }
}

void Document::dropChunk(ChunkMap::iterator chunk) noexcept {
    if (chunk == lastChunk_) {
        lastChunk_ = chunks_.end();
    }
    if (chunk == candidate_) {
        candidate_ = chunks_.end();
    }
    chunks_.erase(chunk);
}

// Gives the paragraphs still in the candidate chunk buffers of their own, one at a time, so
// that the document is whole after each; the last one drops the chunk. One pass over the
// records, made at most once per chunk. Short of memory, the chunk simply stays.
void Document::compactCandidate() noexcept {
    if (candidate_ == chunks_.end()) {
        return;
    }
    const auto chunk = candidate_;
    candidate_ = chunks_.end();
    chunk->second.settled = true;
    const char* const first = chunk->first;
    const char* const last = first + chunk->second.bytes->size();
    Pos left = chunk->second.users;
    for (Pos p = 0; p < paras_.size() && left > 0; ++p) {
        const Record old = paras_[p];
        if (!pointsIntoChunk(old) || old.data < first || old.data >= last) {
            continue;
        }
        const Part part{std::string_view(old.data, static_cast<std::size_t>(old.length())), false,
                        nullptr};
        try {
            paras_[p] = makeRecord(&part, 1);
        } catch (...) {
            return; // the chunk keeps its bytes; settled, so it is not tried again
        }
        markContinuation(p - 1, p);
        --left;
        release(old); // the last one drops the chunk
    }
}

std::size_t Document::sharedChunkBytes() const noexcept {
    std::size_t bytes = 0;
    for (const auto& [first, chunk] : chunks_) {
        bytes += chunk.bytes->size();
    }
    return bytes;
}

// --- Loading --------------------------------------------------------------------------------

void Document::clear() {
    GapVector<Record> paras;
    paras.push_back(Record{kEmptyText, 0});
    Partitioning starts;
    freeAll();
    paras_.swap(paras);
    starts_ = std::move(starts);
}

void Document::swap(Document& other) noexcept {
    paras_.swap(other.paras_);
    std::swap(starts_, other.starts_);
    chunks_.swap(other.chunks_);
    // The remembered chunks belong to the maps they came from; both are looked up afresh.
    lastChunk_ = chunks_.end();
    candidate_ = chunks_.end();
    other.lastChunk_ = other.chunks_.end();
    other.candidate_ = other.chunks_.end();
}

LoadResult Document::load(std::string&& bytes, bool discardTrailing) {
    return replaceWhole(bytes, discardTrailing);
}

// Everything replaced by a new text. The new records are built beside the old ones and
// swapped in only when every allocation has succeeded: a file too big for the memory left
// throws std::bad_alloc and leaves the old document, and the caller's bytes, as they were.
LoadResult Document::replaceWhole(std::string& bytes, bool discardTrailing) {
    auto chunk = std::make_unique<std::string>(std::move(bytes));
    try {
        GapVector<Record> paras;
        Partitioning starts;
        Chunk use;
        const LoadResult result = build(*chunk, discardTrailing, paras, starts, use);
        ChunkMap chunks;
        if (use.users > 0) {
            const char* first = chunk->data();
            // The node is made empty first, so that the text is never inside a temporary
            // that a failed allocation would destroy.
            Chunk& kept = chunks.emplace(first, Chunk{}).first->second;
            kept.bytes = std::move(chunk);
            kept.users = use.users;
            kept.usedBytes = use.usedBytes;
        }
        // Nothing below allocates.
        freeAll();
        paras_.swap(paras);
        starts_ = std::move(starts);
        chunks_.swap(chunks);
        lastChunk_ = chunks_.end();
        return result;
    } catch (...) {
        if (chunk) {
            bytes = std::move(*chunk);
        }
        throw;
    }
}

// Makes the records of every paragraph of a chunk, on an empty record array, and counts
// those that point into it. This is the whole work of loading a file and of handing a whole
// repaired text over.
LoadResult Document::build(std::string& text, bool discardTrailing, GapVector<Record>& paras,
                           Partitioning& starts, Chunk& use) {
    paras.clear();
    LoadResult result;
    char* const base = text.data();
    const char* const end = base + text.size();

    // Capacity is reserved generously but only touched as it fills: untouched pages cost
    // no memory, and the arrays are trimmed at the end.
    const Pos estimate = static_cast<Pos>(text.size() / 48) + 16;
    paras.reserve(estimate);
    starts.beginAppend(estimate);

    Pos position = 0;
    char* begin = base;
    // Every paragraph but the last is followed in memory by its break and the next one,
    // unless trailing blanks were cut off. An empty paragraph points at its own break, so
    // that search runs go on across the blank lines of prose; only an empty last paragraph
    // (or one whose blanks were cut) points elsewhere and ends the run before it.
    auto addParagraph = [&](char* stop, bool last) {
        Pos length = stop - begin;
        if (discardTrailing) {
            length = trimmedLength(begin, length);
        }
        const bool continues = !last && length == stop - begin;
        const bool elsewhere = length == 0 && !continues;
        if (elsewhere && paras.size() > 0) {
            paras[paras.size() - 1].lengthAndFlag &= ~Record::kContinues;
        }
        paras.push_back(
            Record{elsewhere ? kEmptyText : begin, length | (continues ? Record::kContinues : 0)});
        use.users += elsewhere ? 0 : 1;
        use.usedBytes += length;
        starts.append(position);
        position += length;
    };

    const char* next = base; // where the next paragraph begins; bytes before it are done
    // A NUL is an ordinary byte (the blank first cell of code page 437): old archive headers
    // put some before the art, and the text after them is shown and saved like any other.
    forEachBreakByte(base, end, [&](const char* p) {
        if (p < next) {
            return; // the second byte of a CR LF or LF CR pair
        }
        const char c = *p;
        addParagraph(const_cast<char*>(p), false);
        position += 2;
        LineBreak kind;
        if (c == '\r') {
            kind = (p + 1 < end && p[1] == '\n') ? LineBreak::CrLf : LineBreak::Cr;
        } else {
            kind = (p + 1 < end && p[1] == '\r') ? LineBreak::LfCr : LineBreak::Lf;
        }
        next = p + ((kind == LineBreak::CrLf || kind == LineBreak::LfCr) ? 2 : 1);
        ++result.breaks[static_cast<int>(kind)];
        result.lastBreak = kind;
        begin = const_cast<char*>(next);
    });
    addParagraph(const_cast<char*>(end), true);
    starts.finishAppend(position);
    paras.shrinkToFit();
    return result;
}

Pos Document::paragraphAt(Pos position) const noexcept {
    return starts_.partitionFromPosition(clamp(position));
}

Pos Document::normalise(Pos position) const noexcept {
    position = clamp(position);
    const Pos p = starts_.partitionFromPosition(position);
    const Pos paragraphEnd = starts_.start(p) + paras_[p].length();
    return position > paragraphEnd ? paragraphEnd : position;
}

char Document::charAt(Pos position) const noexcept {
    if (position < 0 || position >= charCount()) {
        return '\0';
    }
    const Pos p = starts_.partitionFromPosition(position);
    const Pos offset = position - starts_.start(p);
    const Record& r = paras_[p];
    if (offset < r.length()) {
        const Halves h = halvesOf(r);
        const auto i = static_cast<std::size_t>(offset);
        return i < h.first.size() ? h.first[i] : h.second[i - h.first.size()];
    }
    return offset == r.length() ? '\r' : '\n';
}

std::string Document::textRange(Pos start, Pos stop) const {
    start = clamp(start);
    stop = clamp(stop);
    std::string out;
    if (stop <= start) {
        return out;
    }
    out.reserve(static_cast<std::size_t>(stop - start));
    Pos p = starts_.partitionFromPosition(start);
    Pos offset = start - starts_.start(p);
    Pos left = stop - start;
    while (left > 0) {
        const Record& r = paras_[p];
        if (offset < r.length()) {
            const Pos n = std::min(left, r.length() - offset);
            const std::size_t before = out.size();
            const Halves h = halvesOf(r);
            const auto from = static_cast<std::size_t>(offset);
            const auto count = static_cast<std::size_t>(n);
            if (from < h.first.size()) {
                out.append(h.first.substr(from, count));
            }
            const std::size_t done = out.size() - before;
            if (done < count) {
                out.append(h.second.substr(from + done - h.first.size(), count - done));
            }
            left -= n;
            offset += n;
            continue;
        }
        if (offset == r.length()) {
            out.push_back('\r');
            --left;
            if (left == 0) {
                break;
            }
        }
        out.push_back('\n');
        --left;
        ++p;
        offset = 0;
    }
    return out;
}

bool Document::adjacent(const Record& a, const Record& b) noexcept {
    if (a.owned() || b.owned() || a.data == kEmptyText || b.data == kEmptyText) {
        return false;
    }
    const char* end = a.data + a.length();
    if (b.data == end + 1) {
        return *end == '\r' || *end == '\n';
    }
    if (b.data == end + 2) {
        return (end[0] == '\r' && end[1] == '\n') || (end[0] == '\n' && end[1] == '\r');
    }
    return false;
}

void Document::markContinuation(Pos first, Pos last) noexcept {
    first = std::max<Pos>(first, 0);
    last = std::min<Pos>(last, paras_.size() - 1);
    for (Pos i = first; i <= last; ++i) {
        Record& r = paras_[i];
        const bool continues = i + 1 < paras_.size() && adjacent(r, paras_[i + 1]);
        r.lengthAndFlag =
            (r.lengthAndFlag & ~Record::kContinues) | (continues ? Record::kContinues : 0);
    }
}

bool Document::continuesInMemory(Pos p) const noexcept {
    return p >= 0 && p < paras_.size() && paras_[p].continues();
}

// Search walks runs with these; a run of a million unedited paragraphs is followed by its
// marks alone, on the raw segments of the record array, without touching the text.
Pos Document::runEnd(Pos p, Pos minBytes) const noexcept {
    Pos bytes = paras_[p].length();
    while (bytes < minBytes) {
        Pos available = 0;
        const Record* r = paras_.segment(p, &available);
        Pos i = 0;
        while (i < available && bytes < minBytes && r[i].continues()) {
            ++i;
            bytes += (i < available ? r[i].length() : paras_[p + i].length()) + 2;
        }
        p += i;
        if (i < available && bytes < minBytes) {
            break; // r[i] does not continue
        }
    }
    return p;
}

Pos Document::runStart(Pos p, Pos minBytes) const noexcept {
    Pos bytes = paras_[p].length();
    while (p > 0 && bytes < minBytes && paras_[p - 1].continues()) {
        --p;
        bytes += paras_[p].length() + 2;
    }
    return p;
}

Document::Record Document::makeRecord(const Part* parts, int count, int gapAfter) {
    Pos length = 0;
    int nonEmpty = 0;
    const Part* only = nullptr;
    for (int i = 0; i < count; ++i) {
        if (!parts[i].text.empty()) {
            length += static_cast<Pos>(parts[i].text.size());
            ++nonEmpty;
            only = &parts[i];
        }
    }
    if (nonEmpty == 0) {
        return Record{kEmptyText, 0};
    }
    if (nonEmpty == 1) {
        if (only->whole != nullptr) {
            return *only->whole; // the paragraph survives as it was, buffer and all
        }
        if (only->shared) {
            return Record{const_cast<char*>(only->text.data()), length};
        }
    }
    // Edited paragraphs get 1/64 slack so that typing rarely reallocates. The slack is the
    // gap, put where the edit ended: the next keys land in it without moving the rest.
    const Pos capacity = length + length / 64 + 1;
    char* data = allocateText(capacity);
    if (length < kGapMinimum) {
        gapAfter = count;
    }
    Pos head = 0;
    for (int i = 0; i < gapAfter; ++i) {
        head += static_cast<Pos>(parts[i].text.size());
    }
    char* out = data;
    for (int i = 0; i < count; ++i) {
        if (i == gapAfter) {
            out = data + capacity - (length - head);
        }
        if (!parts[i].text.empty()) { // an empty view may hold a null pointer
            std::memcpy(out, parts[i].text.data(), parts[i].text.size());
            out += parts[i].text.size();
        }
    }
    const Record made{data, length | Record::kOwned};
    setGap(made, head);
    return made;
}

TextChange Document::replace(Pos start, Pos stop, std::string_view text) {
    // A big text with many paragraphs is kept as one shared chunk instead of one
    // allocation per paragraph.
    if (text.size() >= 4096 && std::count(text.begin(), text.end(), '\n') >= 16) {
        return replace(start, stop, std::string(text));
    }
    return replaceImpl(start, stop, text, false);
}

TextChange Document::replace(Pos start, Pos stop, std::string&& text) {
    if (text.size() < 256) {
        return replaceImpl(start, stop, text, false);
    }
    if (clamp(std::min(start, stop)) == 0 && clamp(std::max(start, stop)) == charCount()) {
        // The whole text replaced (a file opened with its line ends repaired): the
        // paragraphs are built as a load builds them, pointing into the kept string, and
        // the old chunks go since nothing points into them any more.
        TextChange change;
        change.removed = charCount();
        change.removedBreaks = paragraphCount() - 1;
        replaceWhole(text, false);
        change.inserted = charCount();
        change.insertedBreaks = paragraphCount() - 1;
        return change;
    }
    return replaceShared(start, stop, text);
}

// A large inserted text becomes a chunk of its own that the new paragraphs point into. The
// chunk stays only while some paragraph does: a text that was merged into edited paragraphs
// (or later deleted, or undone) goes at once.
TextChange Document::replaceShared(Pos start, Pos stop, std::string& text) {
    auto owner = std::make_unique<std::string>(std::move(text));
    ChunkMap::iterator chunk;
    try {
        chunk = chunks_.emplace(owner->data(), Chunk{}).first;
    } catch (...) {
        text = std::move(*owner);
        throw;
    }
    chunk->second.bytes = std::move(owner);
    try {
        const TextChange change = replaceImpl(start, stop, *chunk->second.bytes, true);
        if (chunk->second.users == 0) {
            dropChunk(chunk);
        }
        return change;
    } catch (...) {
        text = std::move(*chunk->second.bytes);
        dropChunk(chunk);
        throw;
    }
}

TextChange Document::replaceImpl(Pos start, Pos stop, std::string_view text, bool textIsShared) {
    start = normalise(start);
    stop = normalise(stop);
    if (stop < start) {
        std::swap(start, stop);
    }
    const Pos pa = starts_.partitionFromPosition(start);
    const Pos pb = starts_.partitionFromPosition(stop);
    const Pos oa = start - starts_.start(pa);
    const Pos ob = stop - starts_.start(pb);
    const Record ra = paras_[pa];
    const Record rb = paras_[pb];

    TextChange change;
    change.position = start;
    change.removed = stop - start;
    change.firstParagraph = pa;
    change.removedBreaks = pb - pa;

    // Typing inside one edited paragraph: change its buffer in place when it fits and is
    // not oversized (new length < capacity < new length * 9/8).
    if (pa == pb && ra.owned() && !textIsShared &&
        text.find_first_of("\r\n") == std::string_view::npos) {
        const Pos newLength = ra.length() - (ob - oa) + static_cast<Pos>(text.size());
        const Pos capacity = capacityOf(ra);
        if (newLength < capacity && capacity < newLength + newLength / 8 + 2) {
            const auto inserted = static_cast<Pos>(text.size());
            Pos gap = oa + inserted;
            if (newLength < kGapMinimum && gapOf(ra) == ra.length()) {
                // A short contiguous paragraph: its tail moves once and it stays contiguous.
                std::memmove(ra.data + gap, ra.data + ob,
                             static_cast<std::size_t>(ra.length() - ob));
                gap = newLength;
            } else {
                // With the gap at the edit the removed bytes join it and the new ones fill
                // it from its start; only the bytes between the last edit and this one move.
                moveGap(ra, oa);
            }
            if (!text.empty()) {
                std::memcpy(ra.data + oa, text.data(), text.size());
            }
            paras_[pa].lengthAndFlag = newLength | Record::kOwned;
            setGap(paras_[pa], gap);
            change.inserted = static_cast<Pos>(text.size());
            starts_.shiftAfter(pa, change.inserted - change.removed);
            return change;
        }
    }

    // Everything that allocates comes first: the pieces, the new records and room in both
    // arrays. Only then is anything old freed or overwritten, so running out of memory
    // anywhere leaves the document as it was.
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
    const Pos breaks =
        splitAtBreaks(text, [&](std::size_t b, std::size_t e) { pieces.emplace_back(b, e); });
    auto piece = [&](Pos i) {
        return Part{text.substr(pieces[i].first, pieces[i].second - pieces[i].first), textIsShared,
                    nullptr};
    };
    // The head of paragraph pa and the tail of paragraph pb each in one piece; when they
    // are one paragraph, the second call leaves the gap where the first left the head whole.
    const Part head{paragraphPart(pa, 0, oa), !ra.owned(),
                    oa == ra.length() ? &paras_[pa] : nullptr};
    const Part tail{paragraphPart(pb, ob, rb.length()), !rb.owned(),
                    ob == 0 ? &paras_[pb] : nullptr};

    const Pos oldCount = pb - pa + 1;
    const Pos newCount = breaks + 1;
    std::vector<Record> fresh(static_cast<std::size_t>(newCount));
    Pos built = 0;
    try {
        if (breaks == 0) {
            const Part parts[3] = {head, piece(0), tail};
            fresh[0] = makeRecord(parts, 3, 2);
            built = 1;
        } else {
            const Part first[2] = {head, piece(0)};
            fresh[0] = makeRecord(first, 2);
            built = 1;
            for (Pos i = 1; i < breaks; ++i) {
                const Part middle = piece(i);
                fresh[static_cast<std::size_t>(i)] = makeRecord(&middle, 1);
                built = i + 1;
            }
            const Part last[2] = {piece(breaks), tail};
            fresh[static_cast<std::size_t>(breaks)] = makeRecord(last, 2, 1);
            built = newCount;
        }
        if (newCount > oldCount) {
            paras_.reserve(paras_.size() + newCount - oldCount);
            starts_.reserve(starts_.partitions() + newCount - oldCount);
        }
    } catch (...) {
        // Buffers made for the new records go; one that is an old paragraph's, taken over
        // whole, stays with its paragraph.
        for (Pos i = 0; i < built; ++i) {
            const Record& r = fresh[static_cast<std::size_t>(i)];
            if (r.owned() && r.data != ra.data && r.data != rb.data) {
                freeText(r);
            }
        }
        throw;
    }

    // From here on nothing allocates. The new records take their users first, so that a
    // chunk both old and new paragraphs point into is never dropped on the way.
    for (const Record& r : fresh) {
        retain(r);
    }
    // Only the first and the last new record can have taken over an old buffer whole (the
    // head of paragraph pa, the tail of paragraph pb); every other old buffer goes.
    auto kept = [&](const Record& old) {
        return old.owned() && (fresh.front().data == old.data || fresh.back().data == old.data);
    };
    for (Pos i = pa; i <= pb; ++i) {
        if (!kept(paras_[i])) {
            freeText(paras_[i]);
        }
        release(paras_[i]);
    }

    // Put the new records in place of paragraphs pa .. pb.
    const Pos common = std::min(oldCount, newCount);
    for (Pos i = 0; i < common; ++i) {
        paras_[pa + i] = fresh[static_cast<std::size_t>(i)];
    }
    if (newCount > oldCount) {
        Record* opened = paras_.insertUninitialised(pa + common, newCount - oldCount);
        std::memcpy(static_cast<void*>(opened), fresh.data() + common,
                    static_cast<std::size_t>(newCount - oldCount) * sizeof(Record));
    } else if (oldCount > newCount) {
        paras_.erase(pa + common, oldCount - newCount);
    }

    // Positions: paragraph starts of the new paragraphs, then shift everything after them.
    Pos inserted = 0;
    for (const auto& [b, e] : pieces) {
        inserted += static_cast<Pos>(e - b);
    }
    inserted += 2 * breaks;
    change.inserted = inserted;
    change.insertedBreaks = breaks;
    starts_.removePartitions(pa + 1, pb - pa);
    if (breaks > 0) {
        Pos* newStarts = starts_.insertPartitions(pa + 1, breaks);
        Pos position = starts_.start(pa);
        for (Pos i = 0; i < breaks; ++i) {
            position += fresh[static_cast<std::size_t>(i)].length() + 2;
            newStarts[i] = position;
        }
    }
    starts_.shiftAfter(pa + breaks, inserted - change.removed);
    markContinuation(pa - 1, pa + breaks);
    compactCandidate();
    return change;
}

bool Document::write(const Sink& sink, LineBreak lineBreak, bool discardTrailing) const {
    static constexpr std::string_view kBreaks[4] = {"\r\n", "\n\r", "\r", "\n"};
    const std::string_view separator = kBreaks[static_cast<int>(lineBreak)];
    const Pos count = paragraphCount();
    for (Pos p = 0; p < count; ++p) {
        Halves h = halvesOf(paras_[p]);
        if (discardTrailing) {
            h.second = h.second.substr(0, static_cast<std::size_t>(trimmedLength(
                                              h.second.data(), static_cast<Pos>(h.second.size()))));
            if (h.second.empty()) {
                h.first = h.first.substr(0, static_cast<std::size_t>(trimmedLength(
                                                h.first.data(), static_cast<Pos>(h.first.size()))));
            }
        }
        for (const std::string_view piece : {h.first, h.second}) {
            if (!piece.empty() && !sink(piece.data(), piece.size())) {
                return false;
            }
        }
        if (p + 1 < count && !sink(separator.data(), separator.size())) {
            return false;
        }
    }
    return true;
}

} // namespace tavrel
