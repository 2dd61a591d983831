// Print layout and pagination per MB beside QTextDocument's pagination of the same text for
// the same A4 page at 600 dpi, and the time to paint one preview page at page width on a
// 1080p window. Sizes: TAVREL_BENCH_PRINT_MB (default 10) for both layouts.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>

#include "print/print_layout.h"
#include "print/qt/page_painter.h"
#include "print/qt/qt_print_device.h"
#include "support/ratio_reporter.h"

namespace {

std::size_t megabytes() {
    const char* env = std::getenv("TAVREL_BENCH_PRINT_MB");
    const long mb = env != nullptr ? std::strtol(env, nullptr, 10) : 10;
    return static_cast<std::size_t>(mb > 0 ? mb : 10);
}

// Prose-like lines of 20 to 120 characters, some longer than a column, CR LF breaks.
const std::string& text() {
    static const std::string bytes = [] {
        std::mt19937 random(7);
        std::string out;
        const std::size_t size = megabytes() << 20;
        out.reserve(size + 200);
        while (out.size() < size) {
            const int words = 3 + static_cast<int>(random() % 30);
            for (int w = 0; w < words; ++w) {
                const int length = 1 + static_cast<int>(random() % 9);
                for (int c = 0; c < length; ++c) {
                    out += static_cast<char>('a' + random() % 26);
                }
                out += ' ';
            }
            out += "\r\n";
        }
        return out;
    }();
    return bytes;
}

QPrinter& printer() {
    static QPrinter p(QPrinter::HighResolution);
    static const bool once = [] {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setResolution(600);
        return true;
    }();
    (void)once;
    return p;
}

void BM_PrintLayout(benchmark::State& state) {
    tavrel::QtPrintDevice device(printer(), QFont("Courier New", 9));
    long long pages = 0;
    for (auto _ : state) {
        tavrel::PrintLayout layout(device);
        layout.setText(text());
        pages = layout.pageCount();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["MB"] = static_cast<double>(megabytes());
}
BENCHMARK(BM_PrintLayout)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentPagination(benchmark::State& state) {
    long long pages = 0;
    const QString plain = QString::fromLatin1(text().data(), static_cast<qsizetype>(text().size()));
    for (auto _ : state) {
        QTextDocument document;
        document.setDefaultFont(QFont("Courier New", 9));
        document.setPlainText(plain);
        const QRectF paper = printer().paperRect(QPrinter::DevicePixel);
        document.setPageSize(paper.size());
        pages = document.pageCount();
    }
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_QTextDocumentPagination)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PreviewPageTurn(benchmark::State& state) {
    tavrel::QtPrintDevice device(printer(), QFont("Courier New", 9));
    tavrel::PrintLayout layout(device);
    layout.setText(text());
    const tavrel::Pos pages = layout.pageCount();
    // Page width on a 1080p window: the sheet about 1900 pixels wide.
    const double scale = 1900.0 / static_cast<double>(layout.metrics().paperWidth);
    QImage sheet(1900, static_cast<int>(scale * layout.metrics().paperHeight),
                 QImage::Format_RGB32);
    tavrel::PagePainter painter(device);
    tavrel::PagePainter::Options options;
    options.exactPitch = false;
    tavrel::Pos page = 0;
    for (auto _ : state) {
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        p.scale(scale, scale);
        painter.paintPage(p, layout, page, options);
        page = (page + pages / 7 + 1) % pages;
    }
    state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_PreviewPageTurn)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.times.find("BM_PrintLayout");
    const auto theirs = reporter.times.find("BM_QTextDocumentPagination");
    if (ours != reporter.times.end() && theirs != reporter.times.end()) {
        printRatio("print layout / QTextDocument pagination", ours->second, theirs->second,
                   "  (target: at most 1)");
    }
    benchmark::Shutdown();
    return 0;
}
