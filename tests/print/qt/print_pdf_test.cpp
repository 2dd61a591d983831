// Printing to PDF through the real printer adapter and page painter; what was written is
// read back with poppler, so page counts and texts are checked by a reader of its own.
#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <sstream>

#include "print/pdf_reader.h"
#include "print/qt/print_job.h"
#include "print/qt/qt_print_device.h"
#include "support/corpus.h"

namespace tavrel {
namespace {

using namespace tavrel::test;

class PrintPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveToolsForPdf()) {
            GTEST_SKIP() << "poppler-utils not installed";
        }
        ASSERT_TRUE(dir.isValid());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
    }

    std::filesystem::path print(const std::string& text, const PrintSettings& settings = {},
                                const char* name = "out.pdf") {
        const std::filesystem::path pdf = dir.filePath(name).toStdString();
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        QtPrintDevice device(printer, QFont("Courier New", 9));
        PrintLayout layout(device);
        layout.setSettings(settings);
        layout.setText(text);
        const PrintJobResult result = printPages(device, layout, 0, -1, Qt::black);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        return pdf;
    }

    QTemporaryDir dir;
    QPrinter printer{QPrinter::HighResolution};
};

std::string numbered(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "Line %04d", i);
        text += line;
        if (i < count) {
            text += "\r\n";
        }
    }
    return text;
}

// The numbers of the "Line NNNN" texts in a page's extracted text, in order.
std::vector<int> lineNumbersIn(const std::string& text) {
    std::vector<int> numbers;
    for (std::size_t at = text.find("Line "); at != std::string::npos;
         at = text.find("Line ", at + 1)) {
        numbers.push_back(std::stoi(text.substr(at + 5, 4)));
    }
    return numbers;
}

TEST_F(PrintPdf, LinesFlowDownThePagesInOrderOnA4) {
    const int total = 300;
    const auto pdf = print(numbered(total));
    EXPECT_NE(pdfInfo(pdf, "Page size").find("(A4)"), std::string::npos)
        << pdfInfo(pdf, "Page size");
    EXPECT_EQ(pdfInfo(pdf, "Title"), "Tavrel");
    const std::vector<int> first = lineNumbersIn(pdfText(pdf, 1, 1));
    ASSERT_GT(first.size(), 10U);
    const int perPage = static_cast<int>(first.size());
    const int pages = pdfPageCount(pdf);
    EXPECT_EQ(pages, (total + perPage - 1) / perPage);
    // Every line once, in order, page after page.
    std::vector<int> all;
    for (int p = 1; p <= pages; ++p) {
        const std::vector<int> page = lineNumbersIn(pdfText(pdf, p, p));
        EXPECT_LE(page.size(), first.size()) << p;
        all.insert(all.end(), page.begin(), page.end());
    }
    ASSERT_EQ(all.size(), static_cast<std::size_t>(total));
    for (int i = 0; i < total; ++i) {
        EXPECT_EQ(all[static_cast<std::size_t>(i)], i + 1);
    }
}

TEST_F(PrintPdf, FormFeedStartsANewSheet) {
    const auto pdf = print("on the first page\r\n\fon the second page");
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_NE(pdfText(pdf, 1, 1).find("on the first page"), std::string::npos);
    EXPECT_EQ(pdfText(pdf, 1, 1).find("second"), std::string::npos);
    EXPECT_NE(pdfText(pdf, 2, 2).find("on the second page"), std::string::npos);
}

TEST_F(PrintPdf, LineNumbersStandBeforeTheirLines) {
    PrintSettings settings;
    settings.lineNumbers = true;
    const auto pdf = print("alpha\r\nbeta\r\ngamma", settings);
    const std::string text = pdfText(pdf, 1, 1);
    EXPECT_NE(text.find("1: alpha"), std::string::npos) << text;
    EXPECT_NE(text.find("3: gamma"), std::string::npos) << text;
}

TEST_F(PrintPdf, ThreeColumnsPutThreeTimesTheLinesOnAPage) {
    const auto one = print(numbered(400), {}, "one.pdf");
    PrintSettings settings;
    settings.columns = 3;
    const auto three = print(numbered(400), settings, "three.pdf");
    const std::size_t perColumn = lineNumbersIn(pdfText(one, 1, 1)).size();
    EXPECT_EQ(lineNumbersIn(pdfText(three, 1, 1)).size(), 3 * perColumn);
}

TEST_F(PrintPdf, LetterPaperIsUsedWhenChosen) {
    printer.setPageSize(QPageSize(QPageSize::Letter));
    const auto pdf = print("x");
    EXPECT_NE(pdfInfo(pdf, "Page size").find("612 x 792"), std::string::npos)
        << pdfInfo(pdf, "Page size");
}

TEST_F(PrintPdf, CorpusFilesPrintTheirWords) {
    const auto files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus";
    }
    int checked = 0;
    for (const auto& file : files) {
        if (file.parent_path().filename() != "txt" || checked >= 3) {
            continue;
        }
        const std::string bytes = readFile(file);
        // A plain word from the start of the file that the reader must find on page 1.
        std::istringstream words(bytes.substr(0, 400));
        std::string word;
        std::string probe;
        while (words >> word) {
            if (word.size() >= 5 && std::all_of(word.begin(), word.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                })) {
                probe = word;
                break;
            }
        }
        if (probe.empty()) {
            continue;
        }
        const auto pdf = print(bytes, {}, "corpus.pdf");
        EXPECT_GE(pdfPageCount(pdf), 1) << file;
        EXPECT_NE(pdfText(pdf, 1, 1).find(probe), std::string::npos) << file << " " << probe;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(PrintPdf, UnwritableTargetFailsWithAReason) {
    printer.setOutputFileName(dir.filePath("no/such/folder/out.pdf"));
    QtPrintDevice device(printer, QFont("Courier New", 9));
    PrintLayout layout(device);
    layout.setText("text");
    const PrintJobResult result = printPages(device, layout, 0, -1, Qt::black);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
}

} // namespace
} // namespace tavrel
