// Exporting a 1920 x 1080 capture of text art: our reduction, optimisation and writing
// against giflib's EGifPutLine encoding the very same indices with the same colour map.
// Prints both times and file sizes side by side and their ratios.
#include "gif/picture.h"

#include "support/ratio_reporter.h"
#include "text_art_capture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#ifdef TAVREL_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

constexpr std::int64_t kWidth = 1920;
constexpr std::int64_t kHeight = 1080;
constexpr tavrel::GifRgb kEditorBackground{0, 0, 74};

const TextArtCapture& capture() {
    static const TextArtCapture c =
        makeTextArtCapture(std::string(TAVREL_CORPUS_DIR) + "/nfo/emerge.nfo", kWidth, kHeight);
    return c;
}

tavrel::GifPicture exported() {
    tavrel::GifPicture picture;
    picture.assign(capture().view());
    picture.setBackgroundColor(kEditorBackground);
    picture.optimizeColorTables();
    return picture;
}

// The optimised picture, for the encode-only comparisons.
const tavrel::GifPicture& optimized() {
    static const tavrel::GifPicture p = exported();
    return p;
}

std::map<std::string, double> fileBytes;

void BM_TavrelReduceAndWrite(benchmark::State& state) {
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = exported().saveToBytes();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    fileBytes["tavrel"] = static_cast<double>(size);
    state.counters["file_bytes"] = static_cast<double>(size);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_TavrelReduceAndWrite)->Unit(benchmark::kMillisecond);

void BM_TavrelWriteOnly(benchmark::State& state) {
    const tavrel::GifPicture& picture = optimized();
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = picture.saveToBytes();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_TavrelWriteOnly)->Unit(benchmark::kMillisecond);

#ifdef TAVREL_HAVE_GIFLIB
int appendToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::vector<std::uint8_t> giflibEncode(const tavrel::GifPicture& picture) {
    const tavrel::GifColorTable& table = picture.screen().globalTable;
    std::vector<GifColorType> colors(std::size_t{1} << tavrel::bitsFor(table.count()));
    for (int i = 0; i < table.count(); ++i) {
        colors[i] = {table[i].red, table[i].green, table[i].blue};
    }
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colors.size()), colors.data());
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToVector, &error);
    const tavrel::GifFrame& frame = picture.frame(0);
    const int w = frame.width();
    const int h = frame.height();
    bool ok = gif != nullptr && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    // giflib takes a non-const line; it does not write to it.
    auto* pixels = const_cast<GifPixelType*>(frame.pixels().data());
    for (int y = 0; ok && y < h; ++y) {
        ok = EGifPutLine(gif, pixels + static_cast<std::ptrdiff_t>(y) * w, w) == GIF_OK;
    }
    if (gif != nullptr) {
        ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    }
    GifFreeMapObject(map);
    if (!ok) {
        std::fprintf(stderr, "giflib failed to encode (error %d)\n", error);
        out.clear();
    }
    return out;
}

void BM_GiflibEncode(benchmark::State& state) {
    const tavrel::GifPicture& picture = optimized();
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = giflibEncode(picture);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    fileBytes["giflib"] = static_cast<double>(size);
    state.counters["file_bytes"] = static_cast<double>(size);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_GiflibEncode)->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::printf("Capture: %lld x %lld pixels of %s\n", static_cast<long long>(kWidth),
                static_cast<long long>(kHeight), capture().source.c_str());
    std::printf("Colours after optimisation: %d\n", optimized().screen().globalTable.count());
#ifndef TAVREL_HAVE_GIFLIB
    std::printf("giflib was not found when this benchmark was built: measuring our side only.\n"
                "Install it (apt-get install libgif-dev, or TAVREL_BENCH_PEERS=1 scripts/setup) "
                "and rebuild to compare.\n");
#endif
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto& t = reporter.times;
    std::printf("\n");
    if (t.count("BM_GiflibEncode") != 0) {
        const Timing& giflib = t.at("BM_GiflibEncode");
        if (t.count("BM_TavrelReduceAndWrite") != 0) {
            printRatio("tavrel reduce+optimise+write / giflib encode:",
                       t.at("BM_TavrelReduceAndWrite"), giflib, "  (target <= 1)");
        }
        if (t.count("BM_TavrelWriteOnly") != 0) {
            printRatio("tavrel write only / giflib encode:", t.at("BM_TavrelWriteOnly"), giflib,
                       "");
        }
    }
    if (fileBytes.count("tavrel") != 0 && fileBytes.count("giflib") != 0) {
        std::printf("size  tavrel %.0f bytes / giflib %.0f bytes:         %.4f  (target <= 1.01)\n",
                    fileBytes["tavrel"], fileBytes["giflib"],
                    fileBytes["tavrel"] / fileBytes["giflib"]);
    }
    return 0;
}
