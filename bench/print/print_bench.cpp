// Print speed beside Qt's own text document, each figure the median of three runs with the
// minimum and maximum: layout and pagination of the 100 MB benchmark document on an A4 page
// at 600 dpi, per MB beside QTextDocument's pagination of a 10 MB slice (QTextDocument
// paginates by its own rules, so both page counts are printed); printing 1000 pages to PDF,
// in pages per second beside QTextDocument::print of the same text; and turning a preview
// page at Page width in a 1080p window.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <string>

#include "print/print_layout.h"
#include "print/qt/print_job.h"
#include "print/qt/print_preview.h"
#include "print/qt/qt_print_device.h"
#include "support/benchmark_document.h"
#include "support/ratio_reporter.h"

namespace {

constexpr int kRuns = 3;
constexpr std::size_t kSliceBytes = 10u << 20;
constexpr tavrel::Pos kPdfPages = 1000;

// What the runs found, printed after the table.
struct Found {
    tavrel::Pos ourPages100 = 0;
    tavrel::Pos ourPagesSlice = 0;
    int theirPagesSlice = 0;
    tavrel::Pos ourPdfPages = 0;
    int theirPdfPages = 0;
    std::size_t pdfBytes = 0;
    tavrel::Pos previewPages = 0;
} found;

// Three runs each, with their minimum and maximum beside Google Benchmark's median.
void threeRuns(benchmark::internal::Benchmark* b) {
    b->Iterations(1)->Repetitions(kRuns)->Unit(benchmark::kMillisecond)->UseRealTime();
    b->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
    b->ComputeStatistics(
        "max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}

const std::string& document() {
    return benchmarkDocument(TAVREL_CORPUS_DIR);
}

// The document's first `bytes`, ended after a line break.
std::string slice(std::size_t bytes) {
    const std::string& all = document();
    const std::size_t end = all.find('\n', std::min(bytes, all.size() - 1));
    return all.substr(0, end == std::string::npos ? all.size() : end + 1);
}

const std::string& tenMegabytes() {
    static const std::string text = slice(kSliceBytes);
    return text;
}

// The program's print font and page: 9 points on A4 at 600 dpi.
QFont printFont() {
    return QFont(QStringLiteral("Courier New"), 9);
}

void setUpA4(QPrinter& printer, const QString& pdf) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(600);
}

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

QString scratchPdf(const char* name) {
    return scratch().filePath(QString::fromLatin1(name));
}

tavrel::Pos ourPagination(const std::string& text) {
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, scratchPdf("unused.pdf"));
    tavrel::QtPrintDevice device(printer, printFont());
    tavrel::PrintLayout layout(device);
    layout.setText(text);
    return layout.pageCount();
}

void BM_PrintLayout100MB(benchmark::State& state) {
    for (auto _ : state) {
        found.ourPages100 = ourPagination(document());
    }
    state.counters["pages"] = static_cast<double>(found.ourPages100);
    state.SetBytesProcessed(static_cast<std::int64_t>(document().size()) * state.iterations());
}
BENCHMARK(BM_PrintLayout100MB)->Apply(threeRuns);

void BM_PrintLayout10MB(benchmark::State& state) {
    for (auto _ : state) {
        found.ourPagesSlice = ourPagination(tenMegabytes());
    }
    state.counters["pages"] = static_cast<double>(found.ourPagesSlice);
}
BENCHMARK(BM_PrintLayout10MB)->Apply(threeRuns);

QString latin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// QTextDocument laid out with the printer's own font metrics on the printer's page, and
// printed into `pdf` when asked; answers its page count.
int qtDocumentPages(const QString& text, const char* pdf, bool print) {
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, scratchPdf(pdf));
    QTextDocument document;
    document.setDefaultFont(printFont());
    document.documentLayout()->setPaintDevice(&printer);
    document.setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
    document.setPlainText(text);
    const int pages = document.pageCount();
    if (print) {
        document.print(&printer);
    }
    return pages;
}

void BM_QTextDocumentPagination10MB(benchmark::State& state) {
    const QString text = latin1(tenMegabytes());
    for (auto _ : state) {
        found.theirPagesSlice = qtDocumentPages(text, "unused.pdf", false);
    }
    state.counters["pages"] = found.theirPagesSlice;
}
BENCHMARK(BM_QTextDocumentPagination10MB)->Apply(threeRuns);

// As much of the document as fills 1000 of our pages: the 10 MB slice's bytes per page
// give the first guess, then a page's bytes more until the layout reaches 1000.
const std::string& thousandPages() {
    static const std::string text = [] {
        const double bytesPerPage = static_cast<double>(tenMegabytes().size()) /
                                    std::max<tavrel::Pos>(1, ourPagination(tenMegabytes()));
        std::string text = slice(static_cast<std::size_t>(bytesPerPage * (kPdfPages - 1)));
        for (int tries = 0; tries < 20 && ourPagination(text) < kPdfPages; ++tries) {
            text = slice(text.size() + static_cast<std::size_t>(bytesPerPage / 2));
        }
        return text;
    }();
    return text;
}

void BM_PrintPdf1000Pages(benchmark::State& state) {
    const std::string& text = thousandPages();
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        setUpA4(printer, scratchPdf("ours.pdf"));
        tavrel::QtPrintDevice device(printer, printFont());
        tavrel::PrintLayout layout(device);
        layout.setText(text);
        const tavrel::PrintJobResult job = tavrel::printPages(device, layout, 0, -1, Qt::black);
        if (!job.ok) {
            state.SkipWithError(job.error.toStdString().c_str());
            return;
        }
        found.ourPdfPages = job.pagesPrinted;
    }
    found.pdfBytes = static_cast<std::size_t>(QFileInfo(scratchPdf("ours.pdf")).size());
    state.counters["pages"] = static_cast<double>(found.ourPdfPages);
    state.counters["pages_per_s"] =
        benchmark::Counter(static_cast<double>(found.ourPdfPages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PrintPdf1000Pages)->Apply(threeRuns);

void BM_QTextDocumentPrintPdf(benchmark::State& state) {
    const QString text = latin1(thousandPages());
    for (auto _ : state) {
        found.theirPdfPages = qtDocumentPages(text, "theirs.pdf", true);
    }
    state.counters["pages"] = found.theirPdfPages;
    state.counters["pages_per_s"] =
        benchmark::Counter(found.theirPdfPages, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QTextDocumentPrintPdf)->Apply(threeRuns);

// The real preview window at 1920 x 1080 showing the 100 MB document at Page width; each
// iteration turns to a page far from the last and paints what the window shows of it.
void BM_PreviewPageTurn(benchmark::State& state) {
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, scratchPdf("unused.pdf"));
    tavrel::QtPrintDevice device(printer, printFont());
    tavrel::PrintLayout layout(device);
    layout.setText(document());
    found.previewPages = layout.pageCount();
    tavrel::PrintPreviewForm form(layout, device);
    form.resize(1920, 1080);
    form.show();
    QApplication::processEvents();
    form.setZoom(tavrel::PrintPreviewForm::PageWidth);
    QApplication::processEvents();
    tavrel::Pos page = 0;
    for (auto _ : state) {
        page = (page + found.previewPages / 7 + 1) % found.previewPages;
        form.goToPage(page);
        form.sheet()->repaint();
    }
    state.counters["pages"] = static_cast<double>(found.previewPages);
    state.counters["sheet_px"] = form.sheet()->width();
}
BENCHMARK(BM_PreviewPageTurn)->Apply(threeRuns)->Iterations(50);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("note", "medians of three runs; min and max in the table");
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.times;
    const double mb100 = static_cast<double>(document().size()) / (1 << 20);
    const double mb10 = static_cast<double>(tenMegabytes().size()) / (1 << 20);
    if (t.count("BM_PrintLayout100MB") != 0) {
        const Timing& ours = t.at("BM_PrintLayout100MB");
        std::printf("layout 100 MB (%.1f MiB): real %.0f ms, cpu %.0f ms, %lld pages (target: "
                    "under 2000 ms)\n",
                    mb100, ours.real, ours.cpu, static_cast<long long>(found.ourPages100));
        if (t.count("BM_QTextDocumentPagination10MB") != 0) {
            const Timing& theirs = t.at("BM_QTextDocumentPagination10MB");
            std::printf("per MB: ours %.2f ms (100 MB), QTextDocument %.2f ms (10 MB slice, %d "
                        "pages; ours %lld pages); ratio %.3f (target: at most 1)\n",
                        ours.real / mb100, theirs.real / mb10, found.theirPagesSlice,
                        static_cast<long long>(found.ourPagesSlice),
                        (ours.real / mb100) / (theirs.real / mb10));
        }
    }
    if (t.count("BM_PrintLayout10MB") != 0 && t.count("BM_QTextDocumentPagination10MB") != 0) {
        printRatio("layout of the 10 MB slice / QTextDocument", t.at("BM_PrintLayout10MB"),
                   t.at("BM_QTextDocumentPagination10MB"), "  (target: at most 1)");
    }
    if (t.count("BM_PrintPdf1000Pages") != 0 && t.count("BM_QTextDocumentPrintPdf") != 0) {
        const double ours =
            static_cast<double>(found.ourPdfPages) / (t.at("BM_PrintPdf1000Pages").real / 1000);
        const double theirs = found.theirPdfPages / (t.at("BM_QTextDocumentPrintPdf").real / 1000);
        std::printf("PDF: ours %.1f pages/s (%lld pages, %zu bytes), QTextDocument::print %.1f "
                    "pages/s (%d pages of the same text); ratio %.2f\n",
                    ours, static_cast<long long>(found.ourPdfPages), found.pdfBytes, theirs,
                    found.theirPdfPages, ours / theirs);
    }
    if (t.count("BM_PreviewPageTurn") != 0) {
        std::printf("preview page turn at Page width, 1920 x 1080, %lld pages: %.2f ms "
                    "(target: under 16 ms)\n",
                    static_cast<long long>(found.previewPages), t.at("BM_PreviewPageTurn").real);
    }
    benchmark::Shutdown();
    return 0;
}
