// One histogram per colour table in use, pooled into the final global table.
#include "gif/color_optimizer.h"

#include "gif/gif_error.h"
#include "gif/picture.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <span>
#include <unordered_map>
#include <vector>

namespace tavrel {

namespace {

// The pixels drawn from one table, and where each of its entries ends up.
struct Histogram {
    GifColorTable table;
    std::vector<GifFrame*> frames;
    std::array<std::int64_t, GifColorTable::kMaxColors> counts{};
    std::array<int, GifColorTable::kMaxColors> poolIndex{};
};

struct PoolEntry {
    GifRgb color;
    std::int64_t count = 0;
};

constexpr std::uint64_t kEveryByte = 0x0101010101010101;

// Whether the given number of 64-bit words at p all repeat p's first byte.
bool uniformWords(const std::uint8_t* p, int words) noexcept {
    const std::uint64_t all = p[0] * kEveryByte;
    std::uint64_t differ = 0;
    for (int k = 0; k < words; ++k) {
        std::uint64_t w = 0;
        std::memcpy(&w, p + 8 * k, 8);
        differ |= w ^ all;
    }
    return differ == 0;
}

// Four interleaved counters, so that a run of one colour does not make every increment wait
// for the previous one; this and the rewrite below are the optimiser's whole cost on a capture.
std::array<std::int64_t, 256> countIndices(std::span<const std::uint8_t> pixels) {
    std::array<std::array<std::uint32_t, 256>, 4> partial{};
    std::array<std::int64_t, 256> counts{};
    std::size_t i = 0;
    const auto flush = [&] {
        for (int v = 0; v < 256; ++v) {
            counts[v] +=
                std::int64_t{partial[0][v]} + partial[1][v] + partial[2][v] + partial[3][v];
        }
        partial = {};
    };
    // 32-bit counters, flushed before they could overflow.
    constexpr std::size_t kFlushEvery = std::size_t{1} << 30;
    // A capture of text is mostly runs of one colour: a 32-byte block of one value is
    // counted with one addition (into the 64-bit total, so the flush bound still holds).
    while (i + 32 <= pixels.size()) {
        const std::size_t end = std::min(pixels.size() & ~std::size_t{31}, i + kFlushEvery);
        for (; i < end; i += 32) {
            if (uniformWords(pixels.data() + i, 4)) {
                counts[pixels[i]] += 32;
                continue;
            }
            for (std::size_t k = i; k < i + 32; k += 4) {
                ++partial[0][pixels[k]];
                ++partial[1][pixels[k + 1]];
                ++partial[2][pixels[k + 2]];
                ++partial[3][pixels[k + 3]];
            }
        }
        flush();
    }
    for (; i < pixels.size(); ++i) {
        ++counts[pixels[i]];
    }
    return counts;
}

void countPixels(Histogram& h, const GifPicture& picture) {
    const int tableCount = h.table.count();
    for (GifFrame* frame : h.frames) {
        std::array<std::int64_t, 256> counts = countIndices(frame->pixels());
        std::int64_t outside = 0;
        for (int v = tableCount; v < 256; ++v) {
            outside += counts[v];
            counts[v] = 0;
        }
        if (outside > 0) {
            for (std::uint8_t& p : frame->pixels()) {
                p = p < tableCount ? p : 0;
            }
            counts[0] += outside;
            // Once per frame: a damaged frame can hold millions of such pixels.
            picture.warn(kGifColorNotInTable);
        }
        for (int v = 0; v < tableCount; ++v) {
            h.counts[v] += counts[v];
        }
    }
}

std::vector<Histogram> buildHistograms(GifPicture& picture) {
    std::vector<Histogram> histograms;
    Histogram global;
    global.table = picture.screen().globalTable;
    for (std::size_t i = 0; i < picture.frameCount(); ++i) {
        GifFrame& frame = picture.frame(i);
        if (frame.empty()) {
            continue;
        }
        if (frame.localTable().empty()) {
            global.frames.push_back(&frame);
        } else {
            Histogram local;
            local.table = frame.localTable();
            local.frames.push_back(&frame);
            histograms.push_back(std::move(local));
        }
    }
    if (!global.table.empty()) {
        histograms.insert(histograms.begin(), std::move(global));
    }
    for (Histogram& h : histograms) {
        countPixels(h, picture);
    }
    return histograms;
}

// Pools the used entries of every histogram, most used first within each histogram, merging
// identical colours; records each entry's pool position in its histogram.
std::vector<PoolEntry> poolColors(std::vector<Histogram>& histograms) {
    std::vector<PoolEntry> pool;
    std::unordered_map<std::uint32_t, int> byColor;
    for (Histogram& h : histograms) {
        std::vector<int> order(static_cast<std::size_t>(h.table.count()));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return h.counts[a] > h.counts[b]; });
        for (int old : order) {
            if (h.counts[old] == 0) {
                break;
            }
            const GifRgb c = h.table[old];
            const std::uint32_t key = (std::uint32_t{c.red} << 16) | (c.green << 8) | c.blue;
            const auto [it, inserted] = byColor.try_emplace(key, static_cast<int>(pool.size()));
            if (inserted) {
                pool.push_back({c, 0});
            }
            pool[static_cast<std::size_t>(it->second)].count += h.counts[old];
            h.poolIndex[old] = it->second;
        }
    }
    return pool;
}

// Rewrites every pixel through map. Large frames go two pixels per look-up through a table of
// pixel pairs, which halves the dependent loads; the table costs about as much as 64K pixels.
void rewritePixels(std::span<std::uint8_t> pixels, const std::array<std::uint8_t, 256>& map) {
    std::size_t i = 0;
    if (pixels.size() >= (std::size_t{1} << 18)) {
        std::vector<std::uint16_t> pairs(std::size_t{1} << 16);
        for (std::size_t a = 0; a < 256; ++a) {
            for (std::size_t b = 0; b < 256; ++b) {
                pairs[a | (b << 8)] = static_cast<std::uint16_t>(map[a] | (map[b] << 8));
            }
        }
        for (; i + 8 <= pixels.size(); i += 8) {
            std::uint64_t w = 0;
            std::memcpy(&w, pixels.data() + i, 8);
            if (w == (w & 0xFF) * kEveryByte) { // eight pixels of one colour, as runs of text
                const std::uint64_t r = map[w & 0xFF] * kEveryByte;
                std::memcpy(pixels.data() + i, &r, 8);
                continue;
            }
            const std::uint64_t r = std::uint64_t{pairs[w & 0xFFFF]} |
                                    (std::uint64_t{pairs[(w >> 16) & 0xFFFF]} << 16) |
                                    (std::uint64_t{pairs[(w >> 32) & 0xFFFF]} << 32) |
                                    (std::uint64_t{pairs[w >> 48]} << 48);
            std::memcpy(pixels.data() + i, &r, 8);
        }
    }
    for (; i < pixels.size(); ++i) {
        pixels[i] = map[pixels[i]];
    }
}

int distance(GifRgb a, GifRgb b) noexcept {
    const int dr = a.red - b.red;
    const int dg = a.green - b.green;
    const int db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}

} // namespace

void optimizeColorTables(GifPicture& picture) {
    std::vector<Histogram> histograms = buildHistograms(picture);
    const std::vector<PoolEntry> pool = poolColors(histograms);
    if (pool.empty()) {
        throw GifError("Cannot optimize the color tables of an image without pixels");
    }

    std::vector<int> ranked(pool.size());
    std::iota(ranked.begin(), ranked.end(), 0);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [&](int a, int b) { return pool[a].count > pool[b].count; });
    GifColorTable result;
    const std::size_t kept = std::min<std::size_t>(pool.size(), GifColorTable::kMaxColors);
    std::vector<int> newIndex(pool.size());
    for (std::size_t rank = 0; rank < kept; ++rank) {
        newIndex[ranked[rank]] = result.add(pool[ranked[rank]].color);
    }
    // Several frames with full local tables can pool more than 256 colours; the rarest ones
    // go to their nearest kept colour rather than to an arbitrary index.
    for (std::size_t rank = kept; rank < ranked.size(); ++rank) {
        const GifRgb c = pool[ranked[rank]].color;
        int best = 0;
        for (int i = 1; i < result.count(); ++i) {
            if (distance(result[i], c) < distance(result[best], c)) {
                best = i;
            }
        }
        newIndex[ranked[rank]] = best;
    }

    for (const Histogram& h : histograms) {
        std::array<std::uint8_t, GifColorTable::kMaxColors> map{};
        for (int old = 0; old < h.table.count(); ++old) {
            if (h.counts[old] > 0) {
                map[old] = static_cast<std::uint8_t>(newIndex[h.poolIndex[old]]);
            }
        }
        for (GifFrame* frame : h.frames) {
            rewritePixels(frame->pixels(), map);
        }
    }
    for (std::size_t i = 0; i < picture.frameCount(); ++i) {
        picture.frame(i).localTable().clear();
    }
    result.setOptimized(true);
    picture.screen().globalTable = result;
}

} // namespace tavrel
