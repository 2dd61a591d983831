// The preview window offscreen: page turning, columns, zoom, margin guides and a printer
// with another paper. Expected figures come from the paper sizes and the window's own
// measurements, worked out here rather than asked of the preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPageSize>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>

#include "print/qt/print_preview.h"

namespace tavrel {
namespace {

std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    return text;
}

class PrintPreview : public ::testing::Test {
protected:
    PrintPreview() {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setResolution(600);
    }

    std::unique_ptr<PrintPreviewForm> open(const std::string& text) {
        layout.setText(text);
        auto form = std::make_unique<PrintPreviewForm>(layout, device);
        form->show();
        QApplication::processEvents();
        return form;
    }

    void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }

    // A wheel turned by `delta` eighths of a degree over the sheet (negative: toward the user).
    void wheel(QWidget* w, QPoint delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent event(at, w->mapToGlobal(at), QPoint(), delta, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    }

    QPrinter printer{QPrinter::HighResolution};
    QtPrintDevice device{printer, QFont("Courier New", 9)};
    PrintLayout layout{device};
};

TEST_F(PrintPreview, OnePageOpensWithBothPageButtonsDisabled) {
    auto form = open("just one line");
    EXPECT_EQ(form->windowTitle(), "Print Preview");
    EXPECT_EQ(form->pageLabel(), "Page 1/1");
    EXPECT_FALSE(form->previousButton()->isEnabled());
    EXPECT_FALSE(form->nextButton()->isEnabled());
}

TEST_F(PrintPreview, PagesTurnAndStopAtTheLast) {
    auto form = open(lines(500));
    const Pos pages = layout.pageCount();
    ASSERT_GT(pages, 2);
    EXPECT_TRUE(form->nextButton()->isEnabled());
    form->nextButton()->click();
    EXPECT_EQ(form->pageLabel(), QStringLiteral("Page 2/%1").arg(pages));
    EXPECT_TRUE(form->previousButton()->isEnabled());
    form->goToPage(1000);
    EXPECT_EQ(form->currentPage(), pages - 1);
    EXPECT_FALSE(form->nextButton()->isEnabled());
}

TEST_F(PrintPreview, ThreeColumnsKeepThePageOrShowTheLast) {
    auto form = open(lines(2000));
    const Pos pages = layout.pageCount();
    ASSERT_GE(pages, 6);
    form->goToPage(1);
    form->setColumns(3);
    EXPECT_EQ(form->currentPage(), 1);
    const Pos fewer = layout.pageCount();
    EXPECT_LT(fewer, pages);
    form->setColumns(1);
    form->goToPage(pages - 1);
    form->setColumns(3);
    EXPECT_EQ(form->currentPage(), fewer - 1);
    EXPECT_EQ(form->pageLabel(), QStringLiteral("Page %1/%1").arg(fewer));
}

TEST_F(PrintPreview, PageWidthFillsTheWidthLessTheBorders) {
    auto form = open("x");
    const int w = form->scrollArea()->viewport()->width();
    const double paper = printer.paperRect(QPrinter::DevicePixel).width();
    EXPECT_NEAR(form->scale(), (w - 20) / paper, 1e-9);
    EXPECT_EQ(form->sheet()->x(), 10);
    EXPECT_NEAR(form->sheet()->width(), (w - 20), 1);
}

TEST_F(PrintPreview, WholePageInAWideWindowIsCentredAndFitsTheHeight) {
    auto form = open("x");
    form->resize(1200, 500);
    QApplication::processEvents();
    form->setZoom(PrintPreviewForm::WholePage);
    const int w = form->scrollArea()->viewport()->width();
    const int h = form->scrollArea()->viewport()->height();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const double s = (h - 20) / paper.height();
    EXPECT_NEAR(form->scale(), s, 1e-9);
    EXPECT_NEAR(form->sheet()->x(), (w - paper.width() * s) / 2, 1);
    EXPECT_GT(form->sheet()->x(), 10);
}

TEST_F(PrintPreview, WholePageInATallWindowFitsTheWidth) {
    auto form = open("x");
    form->resize(400, 1200);
    QApplication::processEvents();
    form->setZoom(PrintPreviewForm::WholePage);
    const int w = form->scrollArea()->viewport()->width();
    EXPECT_NEAR(form->scale(), (w - 20) / printer.paperRect(QPrinter::DevicePixel).width(), 1e-9);
    EXPECT_EQ(form->sheet()->x(), 10);
}

TEST_F(PrintPreview, DraggingTheLeftGuideOntoTheRightOneStopsTenPixelsShort) {
    auto form = open(lines(50));
    form->setMarginsShown(true);
    const auto before = form->guides();
    QWidget* sheet = form->sheet();
    const int y = sheet->height() / 2;
    mouse(sheet, QEvent::MouseButtonPress, QPoint(before[0], y), Qt::LeftButton);
    mouse(sheet, QEvent::MouseMove, QPoint(before[1], y), Qt::LeftButton);
    mouse(sheet, QEvent::MouseButtonRelease, QPoint(before[1], y), Qt::NoButton);
    const double expectedInches = (before[1] - 10) / (600 * form->scale());
    EXPECT_NEAR(layout.settings().marginLeft, expectedInches, 1e-9);
    EXPECT_NEAR(form->guides()[0], before[1] - 10, 1);
    EXPECT_NEAR(form->guides()[1], before[1], 1);
}

TEST_F(PrintPreview, GuidesStayPutWhenMarginsAreHidden) {
    auto form = open("x");
    const auto before = form->guides();
    QWidget* sheet = form->sheet();
    mouse(sheet, QEvent::MouseButtonPress, QPoint(before[0], 50), Qt::LeftButton);
    mouse(sheet, QEvent::MouseButtonRelease, QPoint(before[0] + 40, 50), Qt::NoButton);
    EXPECT_DOUBLE_EQ(layout.settings().marginLeft, 0.75);
}

TEST_F(PrintPreview, AnotherPaperSizeLaysOutAgain) {
    auto form = open(lines(300));
    const Pos a4Pages = layout.pageCount();
    printer.setPageSize(QPageSize(QPageSize::A5));
    form->printerChanged();
    const Pos a5Pages = layout.pageCount();
    EXPECT_GT(a5Pages, a4Pages);
    EXPECT_EQ(form->pageLabel(), QStringLiteral("Page 1/%1").arg(a5Pages));
    const double paper = printer.paperRect(QPrinter::DevicePixel).width();
    const int w = form->scrollArea()->viewport()->width();
    EXPECT_NEAR(form->scale(), (w - 20) / paper, 1e-9);
}

TEST_F(PrintPreview, SheetPaintsWithoutTrouble) {
    auto form = open(lines(40));
    form->setLineNumbers(true);
    form->setMarginsShown(true);
    const QImage image = form->sheet()->grab().toImage();
    ASSERT_FALSE(image.isNull());
    // Some ink on the white sheet: the text and the guides.
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 100);
}

TEST_F(PrintPreview, TheWheelScrollsLinesDownOrUpAndSidewaysWithShift) {
    auto form = open(lines(200));
    form->setZoom(PrintPreviewForm::Zoom200); // larger than the window both ways
    QScrollBar* across = form->scrollArea()->horizontalScrollBar();
    QScrollBar* down = form->scrollArea()->verticalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    ASSERT_GT(down->maximum(), 0);
    const int lineDown = QApplication::wheelScrollLines() * down->singleStep();
    const int lineAcross = QApplication::wheelScrollLines() * across->singleStep();
    ASSERT_GT(lineDown, 0);

    wheel(form->sheet(), {0, -120}); // toward the user: down
    EXPECT_EQ(down->value(), lineDown);
    EXPECT_EQ(across->value(), 0);
    wheel(form->sheet(), {0, -60}); // half a notch waits for the other half
    EXPECT_EQ(down->value(), lineDown);
    wheel(form->sheet(), {0, -60});
    EXPECT_EQ(down->value(), 2 * lineDown);
    wheel(form->scrollArea()->viewport(), {0, 120}); // beside the sheet too
    EXPECT_EQ(down->value(), lineDown);

    wheel(form->sheet(), {0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(across->value(), lineAcross);
    EXPECT_EQ(down->value(), lineDown);
    wheel(form->sheet(), {0, 120}, Qt::ShiftModifier);
    EXPECT_EQ(across->value(), 0);
    EXPECT_EQ(form->currentPage(), 0) << "the wheel scrolls, it does not turn pages";
}

TEST_F(PrintPreview, CtrlAndTheWheelZoomThroughThePercentages) {
    auto form = open("x");
    const int w = form->scrollArea()->viewport()->width();
    const double paper = printer.paperRect(QPrinter::DevicePixel).width();
    const double realSize = form->logicalDpiY() / 600.0; // 100%
    const double pageWidth = (w - 20) / paper / realSize;
    // The zoom list's percentages, largest first; the first one above the page width.
    const std::vector<double> factors = {5, 2, 1.5, 1, 0.75, 0.5};
    std::size_t above = 0;
    while (above + 1 < factors.size() && factors[above + 1] > pageWidth) {
        ++above;
    }
    ASSERT_GT(factors[above], pageWidth);
    ASSERT_LT(factors.back(), pageWidth) << "the window must show the page between two";

    wheel(form->sheet(), {0, 120}, Qt::ControlModifier); // away from the user: larger
    EXPECT_NEAR(form->scale(), realSize * factors[above], 1e-9);
    wheel(form->sheet(), {0, -120}, Qt::ControlModifier);
    wheel(form->sheet(), {0, -120}, Qt::ControlModifier);
    EXPECT_NEAR(form->scale(), realSize * factors[std::min(above + 2, factors.size() - 1)], 1e-9);
    for (int i = 0; i < 10; ++i) {
        wheel(form->sheet(), {0, -120}, Qt::ControlModifier);
    }
    EXPECT_NEAR(form->scale(), realSize * 0.5, 1e-9) << "50% is the smallest";
    EXPECT_EQ(form->scrollArea()->verticalScrollBar()->value(), 0) << "zooming does not scroll";
}

TEST_F(PrintPreview, PrintingFromThePreviewSaysWhyItFailed) {
    auto form = open(lines(10));
    QString told;
    form->printFailed = [&](const QString& reason) { told = reason; };
    const QString target = QStringLiteral("/nonexistent-folder-of-the-test/out.pdf");
    form->askPrinter = [&](QPrinter& p, QWidget*, int) {
        p.setOutputFileName(target);
        return true;
    };
    for (QToolButton* button : form->findChildren<QToolButton*>()) {
        if (button->text() == "&Print") {
            button->click();
        }
    }
    EXPECT_TRUE(told.contains(target)) << told.toStdString();
    EXPECT_TRUE(form->isVisible()) << "the window stays open";
}

TEST_F(PrintPreview, TheTextIsDrawnInThePrintFontsColour) {
    auto form = open(lines(40));
    const auto redInk = [&] {
        const QImage image = form->sheet()->grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 100 && c.blue() < 100 ? 1 : 0;
            }
        }
        return red;
    };
    EXPECT_EQ(redInk(), 0);
    form->setTextColor(QColor(200, 0, 0));
    EXPECT_GT(redInk(), 50);
}

} // namespace
} // namespace tavrel
