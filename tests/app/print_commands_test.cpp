// File > Print... and Print Preview... on the main window offscreen: the dialogs answered
// by the test, the PDF read back with poppler, the settings the commands keep.
#include "window_fixture.h"

#include "app/print_command.h"
#include "print/pdf_reader.h"
#include "print/print_layout.h"
#include "print/qt/print_preview.h"

#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <set>

namespace tavrel::test {
namespace {

class PrintCommands : public WindowTest {};

TEST_F(PrintCommands, PrintWritesTheWholeDocumentThroughTheChosenPrinter) {
    if (!haveToolsForPdf()) {
        GTEST_SKIP() << "poppler-utils not installed";
    }
    MainWindow& w = open(file("doc.txt", "page one\r\n\fpage two"));
    const std::string pdf = folder / "out.pdf";
    w.options().lastPrinter = 7; // gone: the first printer, the PDF one, is used
    bool asked = false;
    w.askPrinter = [&](QPrinter& printer, QWidget*) {
        asked = true;
        EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    };
    w.print();
    EXPECT_TRUE(asked);
    EXPECT_EQ(w.options().lastPrinter, 0);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_EQ(pdfInfo(pdf, "Title"), "Tavrel");
    EXPECT_NE(pdfText(pdf, 2, 2).find("page two"), std::string::npos);
}

// Bytes shown as Windows-1252 print as Windows-1252, not as code page 437 glyphs.
TEST_F(PrintCommands, TheGlyphsPrintedAreTheOnesTheWindowShows) {
    if (!haveToolsForPdf()) {
        GTEST_SKIP() << "poppler-utils not installed";
    }
    MainWindow& w = open(file("note.txt", "Gr\xFC\xDF"
                                          "e aus K\xF6ln \x80\r\n\xB0\xDB\r\n"));
    const std::string pdf = folder / "glyphs.pdf";
    w.askPrinter = [&](QPrinter& printer, QWidget*) {
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    };
    // Each reading as pdftotext gives it back in UTF-8.
    for (const auto& [item, shown] :
         {std::pair<const char*, std::string>{"EncodingWindows12521",
                                              "Gr\xC3\xBC\xC3\x9F"
                                              "e aus K\xC3\xB6ln \xE2\x82\xAC"},
          // (0xDF is a half block here, drawn as a shape rather than a character)
          {"EncodingCp4371", "e aus K\xC3\xB7ln \xC3\x87"}}) {
        w.action(item)->trigger();
        w.print();
        EXPECT_NE(pdfText(pdf, 1, 1).find(shown), std::string::npos)
            << item << ": " << pdfText(pdf, 1, 1);
    }
}

// ANSI art prints each cell in its colours (the VGA palette's, by hand), its bytes in Plain
// text do not; the page is read back through poppler's pdftoppm.
TEST_F(PrintCommands, AnsiArtPrintsInItsColours) {
    if (!haveToolsForPdf() || std::system("command -v pdftoppm >/dev/null") != 0) {
        GTEST_SKIP() << "poppler-utils not installed";
    }
    MainWindow& w = open(file("rows.ans", "\x1B[1;33;44mAB\x1B[0m\r\nC\x1B[42m  \x1B[0m"));
    const std::string pdf = folder / "art.pdf";
    w.askPrinter = [&](QPrinter& printer, QWidget*) {
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    };
    for (const bool drawn : {true, false}) {
        if (!drawn) {
            w.action("EncodingPlain1")->trigger();
        }
        w.print();
        const std::string page = folder / "page";
        ASSERT_EQ(
            std::system(("pdftoppm -r 150 -png -singlefile '" + pdf + "' '" + page + "'").c_str()),
            0);
        const QImage image =
            QImage(QString::fromStdString(page + ".png")).convertToFormat(QImage::Format_RGB32);
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        for (const QRgb colour : {0xFFFFFF55u, 0xFF0000AAu, 0xFF00AA00u}) {
            EXPECT_EQ(colours.count(colour), drawn ? 1u : 0u) << std::hex << colour;
        }
    }
}

TEST_F(PrintCommands, CancellingThePrintDialogPrintsNothing) {
    MainWindow& w = open(file("doc.txt", "text"));
    const std::string pdf = folder / "out.pdf";
    w.askPrinter = [&](QPrinter& printer, QWidget*) {
        printer.setOutputFileName(QString::fromStdString(pdf));
        return false;
    };
    w.print();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(PrintCommands, PreviewLaysOutTheDocumentAndKeepsDraggedMargins) {
    MainWindow& w = open(file("doc.txt", "a\r\n\fb\r\n\fc"));
    Pos pages = 0;
    w.showPreview = [&](PrintLayout& layout, QtPrintDevice&, QWidget*, const QColor&) {
        pages = layout.pageCount();
        PrintSettings s = layout.settings();
        s.marginLeft = 1.25; // as a dragged guide would leave it
        layout.setSettings(s);
    };
    w.printPreview();
    EXPECT_EQ(pages, 3);
    EXPECT_DOUBLE_EQ(w.options().marginLeft, 1.25);
}

std::string numberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "row" + std::to_string(i) + " of the text\r\n";
    }
    return text;
}

TEST_F(PrintCommands, ColumnsAndLineNumbersChosenInThePreviewStayForPrinting) {
    if (!haveToolsForPdf()) {
        GTEST_SKIP() << "poppler-utils not installed";
    }
    MainWindow& w = open(file("doc.txt", numberedLines(250)));
    const auto printTo = [&](const std::string& pdf) {
        w.askPrinter = [pdf](QPrinter& printer, QWidget*) {
            printer.setOutputFileName(QString::fromStdString(pdf));
            return true;
        };
        w.print();
    };
    const std::string before = folder / "before.pdf";
    printTo(before);
    const int onePerPage = pdfPageCount(before);
    ASSERT_GE(onePerPage, 3) << "the text must fill several pages";
    EXPECT_EQ(pdfText(before, 1, 1).find("1: row1 "), std::string::npos);

    // The user sets two columns and line numbers in the preview and prints from there.
    const std::string fromPreview = folder / "preview.pdf";
    w.showPreview = [&](PrintLayout& layout, QtPrintDevice& device, QWidget* parent,
                        const QColor& color) {
        PrintPreviewForm form(layout, device, parent);
        form.setTextColor(color);
        form.setColumns(2);
        form.setLineNumbers(true);
        form.askPrinter = [&](QPrinter& printer, QWidget*, int) {
            printer.setOutputFileName(QString::fromStdString(fromPreview));
            printer.setPrintRange(QPrinter::AllPages);
            return true;
        };
        for (QToolButton* button : form.findChildren<QToolButton*>()) {
            if (button->text() == "&Print") {
                button->click();
            }
        }
    };
    w.printPreview();
    // Two columns a page: half the pages, rounded up.
    const int twoPerPage = (onePerPage + 1) / 2;
    ASSERT_EQ(pdfPageCount(fromPreview), twoPerPage);
    EXPECT_NE(pdfText(fromPreview, 1, 1).find("1: row1 "), std::string::npos);

    // The next Print... uses them too, and so does the next preview.
    const std::string after = folder / "after.pdf";
    printTo(after);
    EXPECT_EQ(pdfPageCount(after), twoPerPage);
    const std::string last = pdfText(after, twoPerPage, twoPerPage);
    EXPECT_NE(last.find("250: row250 "), std::string::npos) << last;
    PrintSettings seen;
    w.showPreview = [&](PrintLayout& layout, QtPrintDevice&, QWidget*, const QColor&) {
        seen = layout.settings();
        PrintSettings s = seen;
        s.lineNumbers = false; // switched off again in this preview
        layout.setSettings(s);
    };
    w.printPreview();
    EXPECT_EQ(seen.columns, 2);
    EXPECT_TRUE(seen.lineNumbers);
    const std::string plain = folder / "plain.pdf";
    printTo(plain);
    EXPECT_EQ(pdfPageCount(plain), twoPerPage);
    EXPECT_EQ(pdfText(plain, 1, 1).find("1: row1 "), std::string::npos);
}

TEST_F(PrintCommands, AFailedPrintFromThePreviewWindowIsReportedAndTheWindowStays) {
    MainWindow& w = open(file("doc.txt", "text"));
    const std::string target = folder / "missing-folder/out.pdf";
    bool stayed = false;
    // The real preview window is modal: the test works it once it is up.
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<PrintPreviewForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        form->askPrinter = [&](QPrinter& printer, QWidget*, int) {
            printer.setOutputFileName(QString::fromStdString(target));
            return true;
        };
        for (QToolButton* button : form->findChildren<QToolButton*>()) {
            if (button->text() == "&Print") {
                button->click();
            }
        }
        stayed = form->isVisible();
        form->accept();
    });
    w.printPreview();
    EXPECT_TRUE(stayed);
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0].rfind("error:", 0), 0u) << dialogs.log[0];
    EXPECT_NE(dialogs.log[0].find(target), std::string::npos) << dialogs.log[0];
}

TEST(PrinterList, PdfPrinterComesFirst) {
    const QStringList printers = availablePrinters();
    ASSERT_FALSE(printers.isEmpty());
    EXPECT_EQ(printers.front(), "Print to PDF");
    QPrinter printer;
    selectPrinter(printer, printers, 0, "/tmp/x.pdf");
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(indexOfPrinter(printer, printers), 0);
}

} // namespace
} // namespace tavrel::test
