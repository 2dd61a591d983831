// The editor control against its peers, QPlainTextEdit and QScintilla, on the same text,
// font, 700 x 500 viewport and word wrap, offscreen: the first screen of a 100 MB document,
// formatting all of it, painting a full-HD screen of block art, and typing into a 10 MB
// paragraph. Each figure is printed beside the peer's (or the target's) as a ratio.
//
// The engine's headers come first: they use "slots" as a word, which Qt's keyword macros
// (needed by QScintilla's headers) would otherwise replace.
#include "editor/document.h"
#include "editor/wrapped_layout.h"

#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/qt/display_font.h"
#include "editor/qt/text_editor.h"
#include "support/slice_timing.h"
#include "text/cp437.h"

#ifdef TAVREL_HAVE_QSCINTILLA
#include <Qsci/qsciscintilla.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
using tavrel::Pos;
using tavrel::TextEditor;

// Bytes the allocator has handed out, large (mapped) blocks included.
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double threadCpuMs() {
    return tavrel::bench::threadCpuSeconds() * 1e3;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The corpus the tests read; a benchmark without it would measure some other text, so it
// stops instead.
std::filesystem::path corpus() {
    const std::filesystem::path dir = TAVREL_CORPUS_DIR;
    if (!std::filesystem::is_directory(dir / "txt")) {
        std::fprintf(stderr, "corpus not found under %s\n", dir.c_str());
        std::exit(1);
    }
    return dir;
}

// 100 MB of the corpus's plain-text documents (prose, manuals, lists), repeated.
const std::string& hundredMegabytes() {
    static const std::string text = [] {
        std::string pieces;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(corpus() / "txt", error)) {
            if (entry.is_regular_file()) {
                pieces += readFile(entry.path());
            }
        }
        std::string out;
        out.reserve(100'000'000 + pieces.size());
        while (out.size() < 100'000'000) {
            out += pieces;
        }
        out.resize(100'000'000);
        // A NUL ends a document where it stands; the corpus has a few, the benchmark none.
        std::replace(out.begin(), out.end(), '\0', ' ');
        return out;
    }();
    return text;
}

// A screen and more of real block art: emerge.nfo with each line tiled to 240 columns.
const std::string& denseArt() {
    static const std::string text = [] {
        std::string art = readFile(corpus() / "nfo" / "emerge.nfo");
        if (art.empty()) {
            art = std::string(80, '\xDB') + "\n" + std::string(80, '\xB1') + "\n";
        }
        std::string out;
        std::size_t start = 0;
        while (start < art.size()) {
            std::size_t end = art.find('\n', start);
            if (end == std::string::npos) {
                end = art.size();
            }
            std::string line = art.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            line.resize(80, ' ');
            out += line + line + line + "\r\n";
            start = end + 1;
        }
        while (out.size() < 200'000) {
            out += out;
        }
        return out;
    }();
    return text;
}

// 10 MB of words in one paragraph.
const std::string& tenMegabyteParagraph() {
    static const std::string text = [] {
        const std::string words = "lorem ipsum dolor sit amet consectetur adipiscing elit sed do ";
        std::string out;
        while (out.size() < 10'000'000) {
            out += words;
        }
        return out;
    }();
    return text;
}

// The peers get the characters our editor shows for the bytes: code page 437 glyphs.
QString asShown(const std::string& bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        out[static_cast<qsizetype>(i)] =
            (b == '\r' || b == '\n') ? QChar(b) : QChar(tavrel::cp437ToUnicode(b));
    }
    return out;
}

QFont benchFont() {
    QFont font =
        tavrel::resolveDisplayFont(QFont(QString::fromLatin1(tavrel::kDefaultDisplayFamily)));
    font.setPixelSize(16);
    return font;
}

std::unique_ptr<TextEditor> makeEditor(int width, int height, bool wrap) {
    auto editor = std::make_unique<TextEditor>();
    editor->setEditorFont(benchFont());
    editor->setWordWrap(wrap);
    editor->resize(width, height);
    editor->show();
    return editor;
}

// The peers, set up as our editor is: the same font, size and wrapping.
std::unique_ptr<QPlainTextEdit> makePlainTextEdit(int width, int height, bool wrap) {
    auto edit = std::make_unique<QPlainTextEdit>();
    edit->setFont(benchFont());
    edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit->resize(width, height);
    edit->show();
    return edit;
}

#ifdef TAVREL_HAVE_QSCINTILLA
std::unique_ptr<QsciScintilla> makeScintilla(int width, int height, bool wrap) {
    auto sci = std::make_unique<QsciScintilla>();
    sci->setFont(benchFont());
    // setFont changes only the default style; the text is drawn in style 0, which keeps
    // QScintilla's own proportional font until every style is reset to the default.
    sci->SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
    sci->setWrapMode(wrap ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
    sci->resize(width, height);
    sci->show();
    return sci;
}

// SCI_SETTEXT takes the bytes as they are (up to a NUL), the fastest way in.
void setBytes(QsciScintilla& sci, const std::string& text) {
    sci.SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, text.c_str());
}
#endif

void paint(QAbstractScrollArea& view, QImage& image) {
    view.viewport()->render(&image);
}

// Repeated benchmarks print the median, min and max of their runs: on a machine shared with
// other work the spread says how far one figure can be trusted.
double minOf(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}
double maxOf(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

void report(benchmark::State& state, const char* peerName, double ours, double peer) {
    state.counters["ours_ms"] = ours;
    state.counters[std::string(peerName) + "_ms"] = peer;
    state.counters[std::string(peerName) + "_over_ours"] = peer / ours;
}

// --- From 100 MB in memory to the first screen painted --------------------------------------

void BM_FirstScreen100MB(benchmark::State& state) {
    const std::string& text = hundredMegabytes();
    QImage image(700, 500, QImage::Format_ARGB32_Premultiplied);
    double ours = 0;
    double plain = 0;
    for (auto _ : state) {
        {
            auto editor = makeEditor(700, 500, true);
            std::string bytes = text; // the bytes as read; the document keeps them
            const auto start = Clock::now();
            editor->engine().loadBytes(std::move(bytes));
            paint(*editor, image);
            ours = msSince(start);
        }
        {
            auto edit = makePlainTextEdit(700, 500, true);
            const QString unicode =
                QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
            const auto start = Clock::now();
            edit->setPlainText(unicode);
            paint(*edit, image);
            plain = msSince(start);
        }
        state.SetIterationTime(ours / 1e3);
    }
    report(state, "QPlainTextEdit", ours, plain);
    state.counters["target_QPlainTextEdit_over_ours"] = 20;
    state.SetLabel("100 MB corpus txt repeated, word wrap in a 700 x 500 view");
#ifdef TAVREL_HAVE_QSCINTILLA
    // QScintilla's default is no wrap, which spares it the wrap of the first screen; both
    // are shown.
    for (const bool wrap : {true, false}) {
        auto sci = makeScintilla(700, 500, wrap);
        const auto start = Clock::now();
        setBytes(*sci, text);
        paint(*sci, image);
        const double peer = msSince(start);
        const std::string name = wrap ? "QScintilla_wrap" : "QScintilla_nowrap";
        state.counters[name + "_ms"] = peer;
        state.counters[name + "_over_ours"] = peer / ours;
    }
    state.counters["target_QScintilla_over_ours"] = 5;
#else
    std::puts("QScintilla is not installed (libqscintilla2-qt6-dev): its figures are skipped");
#endif
}
BENCHMARK(BM_FirstScreen100MB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// --- Formatting all of the 100 MB, in slices, beside QScintilla doing the same ------------

// What the 100 MB text is made of, printed beside every figure measured on it.
std::string describe(const tavrel::Document& doc, const tavrel::GlyphMetrics& metrics,
                     std::int64_t width) {
    Pos longest = 0;
    for (Pos p = 0; p < doc.paragraphCount(); ++p) {
        longest = std::max(longest, doc.paragraphLength(p));
    }
    char label[256];
    std::snprintf(label, sizeof label,
                  "100 MB corpus txt repeated: %lld paragraphs, longest %lld bytes; %s font "
                  "%d px; wrap width %lld px",
                  static_cast<long long>(doc.paragraphCount()), static_cast<long long>(longest),
                  metrics.isFixedPitch() ? "fixed-pitch" : "proportional", metrics.spaceWidth(),
                  static_cast<long long>(width));
    return label;
}

#ifdef TAVREL_HAVE_QSCINTILLA
// One QScintilla per wrap mode holding the 100 MB, kept across repetitions: putting the text
// in takes longer than wrapping it and is not what is measured.
QsciScintilla& loadedScintilla(bool wrap) {
    static std::unique_ptr<QsciScintilla> editors[2];
    auto& sci = editors[wrap ? 1 : 0];
    if (!sci) {
        sci = makeScintilla(700, 500, wrap);
        setBytes(*sci, hundredMegabytes());
        // A first paint settles the wrap width; until then Scintilla lays lines out at an
        // unlimited width, and the loop below would count paragraphs instead of lines.
        QApplication::processEvents();
        QImage image(700, 500, QImage::Format_ARGB32_Premultiplied);
        paint(*sci, image);
    }
    return *sci;
}

// Milliseconds QScintilla takes to lay out every line at its width (what its background
// wrap does line by line); `lines` gets the display lines it found.
double scintillaLayoutAll(QsciScintilla& sci, double& lines, double& cpuMs) {
    const long count = sci.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const double cpuStart = threadCpuMs();
    const auto start = Clock::now();
    long wrapped = 0;
    for (long line = 0; line < count; ++line) {
        wrapped +=
            sci.SendScintilla(QsciScintillaBase::SCI_WRAPCOUNT, static_cast<unsigned long>(line));
    }
    const double ms = msSince(start);
    cpuMs = threadCpuMs() - cpuStart;
    lines = static_cast<double>(wrapped);
    return ms;
}
#endif

// wrap 1: our background wrap of the whole text against QScintilla wrapping every line of
// it. wrap 0 (QScintilla's default): our pass that measures each paragraph for the
// horizontal scroll bar against QScintilla laying out every line unwrapped.
void BM_Format100MBInSlices(benchmark::State& state) {
    const bool wrap = state.range(0) != 0;
    const std::string& text = hundredMegabytes();
    const tavrel::QtGlyphMetrics metrics(benchFont(), 96);
    // The wrap width of a 700-pixel editor without its frame and margins.
    const std::int64_t width = 700 - 2 - 16;
    tavrel::Document doc;
    doc.load(std::string(text));
    double total = 0;
    double cpu = 0;
    double longest = 0;
    double bytesPerLine = 0;
    Pos lines = 0;
    int slices = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        tavrel::WrappedLayout layout(doc, metrics);
        layout.setWrap(wrap, width);
        const tavrel::bench::SliceTimes t = tavrel::bench::formatInSlices(layout);
        slices = t.slices;
        longest = t.longest * 1e3;
        total = t.total * 1e3;
        cpu = t.totalCpu * 1e3;
        lines = layout.knownLineCount();
        bytesPerLine = static_cast<double>(heapInUse() - before) / static_cast<double>(lines);
        state.SetIterationTime(total / 1e3);
    }
    state.SetLabel(describe(doc, metrics, wrap ? width : tavrel::kUnlimitedWidth));
    state.counters["ours_ms"] = total;
    state.counters["slices"] = slices;
    state.counters["longest_slice_ms"] = longest;
    state.counters["display_lines"] = static_cast<double>(lines);
    if (wrap) {
        state.counters["bytes_per_line"] = bytesPerLine;
    }
#ifdef TAVREL_HAVE_QSCINTILLA
    double peerLines = 0;
    double peerCpu = 0;
    const double peer = scintillaLayoutAll(loadedScintilla(wrap), peerLines, peerCpu);
    report(state, "QScintilla", total, peer);
    state.counters["ours_cpu_ms"] = cpu;
    state.counters["QScintilla_cpu_ms"] = peerCpu;
    state.counters["QScintilla_over_ours_cpu"] = peerCpu / cpu;
    // The same text at the same width must give nearly the same lines, or one side did not
    // really wrap (the fonts' rules differ only in details such as trailing blanks).
    state.counters["QScintilla_lines"] = peerLines;
    if (wrap) {
        state.counters["target_QScintilla_over_ours"] = 1.5;
    }
#else
    std::puts("QScintilla is not installed (libqscintilla2-qt6-dev): its figures are skipped");
#endif
}
BENCHMARK(BM_Format100MBInSlices)
    ->ArgName("wrap")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ComputeStatistics("min", minOf)
    ->ComputeStatistics("max", maxOf)
    ->Unit(benchmark::kMillisecond);

// --- Painting a full-HD viewport of dense block art ------------------------------------------

double paintTime(QAbstractScrollArea& view, QImage& image, int rounds) {
    paint(view, image); // laid out and warmed up
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        paint(view, image);
    }
    return msSince(start) / rounds;
}

void BM_PaintFullHdBlockArt(benchmark::State& state) {
    const std::string& art = denseArt();
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    auto editor = makeEditor(1920, 1080, false);
    editor->engine().loadBytes(std::string(art));
    double ours = 0;
    for (auto _ : state) {
        ours = paintTime(*editor, image, 50);
        state.SetIterationTime(ours / 1e3);
    }
    auto edit = makePlainTextEdit(1920, 1080, false);
    edit->setPlainText(asShown(art));
    report(state, "QPlainTextEdit", ours, paintTime(*edit, image, 20));
    state.counters["target_ms"] = 4;
#ifdef TAVREL_HAVE_QSCINTILLA
    auto sci = makeScintilla(1920, 1080, false);
    sci->setUtf8(true);
    sci->setText(asShown(art));
    report(state, "QScintilla", ours, paintTime(*sci, image, 20));
#endif
}
BENCHMARK(BM_PaintFullHdBlockArt)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// --- Typing into the middle of a 10 MB paragraph with word wrap ------------------------------

// Milliseconds a keystroke takes: the character, the caret kept in view, the repaint.
template <typename Type>
double keystrokeTime(QAbstractScrollArea& view, QImage& image, int keys, Type type) {
    paint(view, image);
    const auto start = Clock::now();
    for (int i = 0; i < keys; ++i) {
        type();
        paint(view, image);
    }
    return msSince(start) / keys;
}

void BM_TypeInto10MBParagraph(benchmark::State& state) {
    const std::string& text = tenMegabyteParagraph();
    const auto middle = static_cast<Pos>(text.size() / 2);
    QImage image(700, 500, QImage::Format_ARGB32_Premultiplied);
    auto editor = makeEditor(700, 500, true);
    editor->engine().loadBytes(std::string(text));
    editor->layout().formatAll();
    editor->engine().setSelStart(middle);
    editor->scrollInView();
    double ours = 0;
    for (auto _ : state) {
        ours = keystrokeTime(*editor, image, 50, [&] {
            editor->engine().setSelText(std::string_view("x"));
            editor->scrollInView();
        });
        state.SetIterationTime(ours / 1e3);
    }
    state.counters["ours_ms"] = ours;
    state.counters["target_ms"] = 16;

    // The peers take seconds a keystroke here; three tell enough.
    constexpr int kPeerKeys = 3;
    auto edit = makePlainTextEdit(700, 500, true);
    edit->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(static_cast<int>(middle));
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    report(state, "QPlainTextEdit", ours, keystrokeTime(*edit, image, kPeerKeys, [&] {
               edit->insertPlainText(QStringLiteral("x"));
               edit->ensureCursorVisible();
           }));
#ifdef TAVREL_HAVE_QSCINTILLA
    auto sci = makeScintilla(700, 500, true);
    setBytes(*sci, text);
    sci->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(middle));
    report(state, "QScintilla", ours, keystrokeTime(*sci, image, kPeerKeys, [&] {
               sci->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 1UL, "x");
               sci->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
           }));
#endif
}
BENCHMARK(BM_TypeInto10MBParagraph)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
