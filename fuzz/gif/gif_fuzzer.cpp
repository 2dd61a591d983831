// Fuzz target for the GIF library: random captures, or random frames with random colour
// tables and pixels (some outside their tables), are optimised or not, written to memory
// and decoded by the independent decoder of tests/support; every pixel must show the colour the
// model says it has, and the only errors allowed are the library's documented ones.
#include "gif/gif_error.h"
#include "gif/picture.h"
#include "gif/web_palette.h"

#include "support/gif_decoder.h"
#include "test_images.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using tavrel::GifColorTable;
using tavrel::GifError;
using tavrel::GifFrame;
using tavrel::GifPicture;
using tavrel::GifRgb;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_gif: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) {
        fail(what);
    }
}

GifRgb rgb(FuzzedDataProvider& in) {
    return {in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>(),
            in.ConsumeIntegral<std::uint8_t>()};
}

int distance(GifRgb a, GifRgb b) {
    return (a.red - b.red) * (a.red - b.red) + (a.green - b.green) * (a.green - b.green) +
           (a.blue - b.blue) * (a.blue - b.blue);
}

// Pixels as runs of colours picked from a palette, so that the LZW dictionary sees both
// repeats and noise. When the input runs out a generator seeded from it goes on, so that
// short inputs still fill pictures large enough to force Clear codes.
template <typename Set>
void fillRuns(FuzzedDataProvider& in, std::int64_t count, int paletteSize, Set set) {
    gif_check::Lcg random(in.ConsumeIntegral<std::uint32_t>());
    const int longestRun = in.ConsumeIntegralInRange<int>(1, 64);
    std::int64_t i = 0;
    while (i < count) {
        const bool fromInput = in.remaining_bytes() > 0;
        const int pick = fromInput ? in.ConsumeIntegralInRange<int>(0, paletteSize - 1)
                                   : random.below(paletteSize);
        const std::int64_t run = fromInput ? in.ConsumeIntegralInRange<int>(1, longestRun)
                                           : 1 + random.below(longestRun);
        for (std::int64_t k = 0; k < run && i < count; ++k, ++i) {
            set(i, pick);
        }
    }
}

// Writes the picture and checks that every pixel of the decoded file has the expected colour.
void writeAndCompare(const GifPicture& picture, const std::vector<std::vector<GifRgb>>& expected) {
    const std::vector<std::uint8_t> bytes = picture.saveToBytes();
    gif_check::File file;
    try {
        file = gif_check::decode(bytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "decoder: %s\n", e.what());
        fail("the written file does not decode");
    }
    std::size_t image = 0;
    for (std::size_t f = 0; f < picture.frameCount(); ++f) {
        if (picture.frame(f).empty()) {
            continue;
        }
        check(image < file.images.size(), "an image is missing");
        const gif_check::Image& decoded = file.images[image++];
        for (int next : decoded.lzw.clearNextFree) {
            check(next == 4095, "Clear sent before the dictionary was full");
        }
        check(decoded.lzw.maxWidth <= 12, "code wider than 12 bits");
        for (std::size_t p = 0; p < expected[f].size(); ++p) {
            const gif_check::Rgb c = file.colorAt(decoded, p);
            const GifRgb want = expected[f][p];
            check(c == gif_check::Rgb{want.red, want.green, want.blue}, "pixel colour differs");
        }
    }
    check(image == file.images.size(), "an extra image was written");
}

// A capture through the export path.
void fuzzCapture(FuzzedDataProvider& in) {
    const auto width = in.ConsumeIntegralInRange<std::int64_t>(0, 200);
    const auto height = in.ConsumeIntegralInRange<std::int64_t>(0, 120);
    std::vector<std::uint32_t> palette(in.ConsumeIntegralInRange<std::size_t>(1, 300));
    for (std::uint32_t& c : palette) {
        c = in.ConsumeIntegral<std::uint32_t>();
    }
    gif_check::RgbBuffer capture(width, height, in.ConsumeIntegralInRange<int>(0, 3));
    fillRuns(in, width * height, static_cast<int>(palette.size()),
             [&](std::int64_t i, int pick) { capture.set(i % width, i / width, palette[pick]); });
    GifPicture picture;
    picture.assign(capture.view());
    picture.setBackgroundColor(rgb(in));
    try {
        picture.optimizeColorTables();
    } catch (const GifError&) {
        check(width * height == 0, "optimising a non-empty capture failed");
        return;
    }
    check(width * height > 0, "an empty capture was optimised");
    const GifColorTable& table = picture.screen().globalTable;
    check(table.optimized(), "the optimised table is not marked");

    static const GifColorTable web = tavrel::webPalette();
    std::vector<GifRgb> expected;
    std::vector<std::int64_t> uses(table.count());
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint32_t p = capture.at(x, y);
            expected.push_back(web[tavrel::webIndex({static_cast<std::uint8_t>(p >> 16),
                                                     static_cast<std::uint8_t>(p >> 8),
                                                     static_cast<std::uint8_t>(p)})]);
        }
    }
    for (std::uint8_t p : picture.frame(0).pixels()) {
        ++uses.at(p);
    }
    for (std::size_t i = 0; i < uses.size(); ++i) {
        check(uses[i] > 0, "an unused colour stayed in the table");
        check(i == 0 || uses[i] <= uses[i - 1], "the table is not ordered by use");
    }
    writeAndCompare(picture, {expected});
}

// Frames built by hand, with local and global tables and stray indices.
void fuzzFrames(FuzzedDataProvider& in) {
    GifPicture picture;
    std::vector<std::string> warnings;
    picture.setWarningHandler([&](const std::string& m) { warnings.push_back(m); });
    const int globalCount = in.ConsumeIntegralInRange<int>(0, 256);
    for (int i = 0; i < globalCount; ++i) {
        picture.screen().globalTable.add(rgb(in));
    }
    const int frames = in.ConsumeIntegralInRange<int>(1, 3);
    for (int f = 0; f < frames; ++f) {
        GifFrame frame(in.ConsumeIntegralInRange<int>(0, 120),
                       in.ConsumeIntegralInRange<int>(0, 100), in.ConsumeIntegralInRange<int>(0, 5),
                       in.ConsumeIntegralInRange<int>(0, 5));
        const int localCount = in.ConsumeIntegralInRange<int>(globalCount == 0 ? 1 : 0, 256);
        for (int i = 0; i < localCount; ++i) {
            frame.localTable().add(rgb(in));
        }
        frame.localTable().setOptimized(in.ConsumeBool());
        fillRuns(
            in, static_cast<std::int64_t>(frame.pixels().size()), 256,
            [&](std::int64_t i, int pick) { frame.pixels()[i] = static_cast<std::uint8_t>(pick); });
        picture.addFrame(std::move(frame));
    }

    if (!in.ConsumeBool()) {
        // Written as it is: pixels must lie in the table (a global table at its padded size).
        std::vector<std::vector<GifRgb>> expected;
        bool outside = false;
        for (std::size_t f = 0; f < picture.frameCount(); ++f) {
            const GifFrame& frame = picture.frame(f);
            const bool local = !frame.localTable().empty();
            const GifColorTable& table = local ? frame.localTable() : picture.screen().globalTable;
            const int count = local ? table.count() : 1 << tavrel::bitsFor(table.count());
            expected.emplace_back();
            for (std::uint8_t p : frame.pixels()) {
                outside = outside || p >= count;
                expected.back().push_back(p < table.count() ? table[p] : GifRgb{});
            }
        }
        try {
            writeAndCompare(picture, expected);
            check(!outside, "a pixel outside its table was written");
        } catch (const GifError& e) {
            check(outside && std::strcmp(e.what(), "Color not in color table") == 0,
                  "unexpected writer error");
        }
        return;
    }

    // Optimised: each pixel keeps its colour (a stray index shows entry 0), or shows the
    // nearest kept colour when more than 256 colours were pooled.
    std::vector<std::vector<GifRgb>> before;
    bool stray = false;
    bool anyPixel = false;
    for (std::size_t f = 0; f < picture.frameCount(); ++f) {
        const GifFrame& frame = picture.frame(f);
        const GifColorTable& table =
            frame.localTable().empty() ? picture.screen().globalTable : frame.localTable();
        before.emplace_back();
        for (std::uint8_t p : frame.pixels()) {
            stray = stray || p >= table.count();
            anyPixel = true;
            before.back().push_back(table[p < table.count() ? p : 0]);
        }
    }
    try {
        picture.optimizeColorTables();
    } catch (const GifError&) {
        check(!anyPixel, "optimising a picture with pixels failed");
        return;
    }
    check(anyPixel, "a picture without pixels was optimised");
    check(stray == !warnings.empty(), "stray indices and warnings disagree");
    const GifColorTable& table = picture.screen().globalTable;
    for (std::vector<GifRgb>& frame : before) {
        for (GifRgb& c : frame) {
            if (!table.indexOf(c)) {
                int best = 0;
                for (int i = 1; i < table.count(); ++i) {
                    best = distance(table[i], c) < distance(table[best], c) ? i : best;
                }
                c = table[best];
            }
        }
    }
    writeAndCompare(picture, before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        fuzzCapture(in);
    } else {
        fuzzFrames(in);
    }
    return 0;
}
