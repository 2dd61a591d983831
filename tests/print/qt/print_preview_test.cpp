// The preview window offscreen: page turning, columns, zoom, margin guides and a printer
// with another paper. Expected figures come from the paper sizes and the window's own
// measurements, worked out here rather than asked of the preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPageSize>
#include <QPrinter>
#include <QScrollArea>
#include <QToolButton>

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

} // namespace
} // namespace tavrel
