// File > Print... and Print Preview... on the main window offscreen: the dialogs answered
// by the test, the PDF read back with poppler, the settings the commands keep.
#include "window_fixture.h"

#include "app/print_command.h"
#include "print/pdf_reader.h"
#include "print/print_layout.h"

#include <QPrinter>

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
    w.showPreview = [&](PrintLayout& layout, QtPrintDevice&, QWidget*) {
        pages = layout.pageCount();
        PrintSettings s = layout.settings();
        s.marginLeft = 1.25; // as a dragged guide would leave it
        layout.setSettings(s);
    };
    w.printPreview();
    EXPECT_EQ(pages, 3);
    EXPECT_DOUBLE_EQ(w.options().marginLeft, 1.25);
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
