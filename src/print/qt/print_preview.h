// The print preview: the pages exactly as the print layout puts them on the current
// printer, one at a time on a white sheet drawn to scale in a grey scroll area, with page
// turning, zoom, line numbers, columns, draggable margins, printer set-up and printing.
#pragma once

#include <QColor>
#include <QDialog>
#include <QPoint>

#include <functional>

#include "print/print_layout.h"
#include "print/qt/qt_print_device.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolButton;
class QWheelEvent;

namespace tavrel {

class HighlightSource;
class PreviewSheet;

class PrintPreviewForm final : public QDialog {
    Q_OBJECT

public:
    // The caption the window shows.
    static constexpr const char* kTitle = "Print Preview";
    enum Zoom { Zoom500, Zoom200, Zoom150, Zoom100, Zoom75, Zoom50, PageWidth, WholePage };

    PrintPreviewForm(PrintLayout& layout, QtPrintDevice& device, QWidget* parent = nullptr);
    ~PrintPreviewForm() override;

    // Shows page n (0-based), clamped to the last page.
    void goToPage(Pos page);
    [[nodiscard]] Pos currentPage() const noexcept { return page_; }
    void setZoom(Zoom zoom);
    void setColumns(int columns);
    void setLineNumbers(bool on);
    void setMarginsShown(bool on);
    // The colour of the text on the sheet and on the paper Print sends from here: the print
    // font's colour (black until set).
    void setTextColor(const QColor& color);
    // Colours of parts of paragraphs (ANSI art's cells) on the sheet and on paper; must stay
    // while the preview is open.
    void setColours(HighlightSource* colours) noexcept { colours_ = colours; }
    // After the printer was changed (set-up dialog, print dialog): lays out again when its
    // paper or resolution differ and applies the zoom again.
    void printerChanged();
    // The mouse wheel over the sheet or the scroll area: the system's wheel-scroll lines per
    // notch, down when the wheel turns toward the user; sideways with Shift. With Ctrl it
    // zooms in (away from the user) or out through the percentages of the zoom list.
    void wheel(const QWheelEvent& event);
    // A margin guide dropped at x (left, right) or y (top, bottom) in sheet pixels.
    enum class Guide { None, Left, Right, Top, Bottom };
    void dropGuide(Guide guide, int position);

    [[nodiscard]] double scale() const noexcept { return scale_; }
    [[nodiscard]] QWidget* sheet() const;
    [[nodiscard]] QScrollArea* scrollArea() const noexcept { return scroll_; }
    [[nodiscard]] QString pageLabel() const;
    [[nodiscard]] QToolButton* previousButton() const noexcept { return previous_; }
    [[nodiscard]] QToolButton* nextButton() const noexcept { return next_; }
    // Guide positions in sheet pixels: left, right, top, bottom.
    [[nodiscard]] std::array<int, 4> guides() const noexcept { return guides_; }
    [[nodiscard]] PrintLayout& layout() noexcept { return layout_; }

    // The print dialog with a page range; tests answer it themselves.
    std::function<bool(QPrinter& printer, QWidget* parent, int pages)> askPrinter;
    // Told why printing from here failed (the window stays open); unset: nobody is told.
    std::function<void(const QString& reason)> printFailed;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class PreviewSheet;
    void size();
    void zoomStep(bool in);
    void applySettings(const PrintSettings& settings);
    void print();
    void setup();

    PrintLayout& layout_;
    QtPrintDevice& device_;
    Pos page_ = 0;
    Zoom zoom_ = PageWidth;
    double scale_ = 1.0;
    std::array<int, 4> guides_{};
    PrinterMetrics lastMetrics_;
    QColor textColor_ = Qt::black;
    HighlightSource* colours_ = nullptr;
    QPoint wheelRest_; // eighths of a degree not yet turned into a step

    QScrollArea* scroll_ = nullptr;
    PreviewSheet* sheet_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QToolButton* previous_ = nullptr;
    QToolButton* next_ = nullptr;
    QToolButton* margins_ = nullptr;
    QToolButton* numbers_ = nullptr;
    QSpinBox* columns_ = nullptr;
    QLabel* columnsLabel_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
};

} // namespace tavrel
