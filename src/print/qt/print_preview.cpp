// The preview window and its sheet. Only the rows inside the painted area are drawn, so a
// page of a 5000-page document turns as fast as the only page of a short one.
#include "print/qt/print_preview.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "print/nearest.h"
#include "print/qt/page_painter.h"
#include "print/qt/print_job.h"

namespace tavrel {

namespace {

constexpr int kSheetBorder = 10; // grey around the sheet
constexpr int kGrab = 2;         // how near the pointer must be to take a guide
constexpr int kDragGap = 3;      // guides kept apart while dragging
constexpr int kDropGap = 10;     // and when dropped

constexpr double kZoomFactors[] = {5.0, 2.0, 1.5, 1.0, 0.75, 0.5};

} // namespace

class PreviewSheet final : public QWidget {
public:
    explicit PreviewSheet(PrintPreviewForm& form)
        : QWidget(nullptr), form_(form), painter_(form.device_) {
        setMouseTracking(true);
        setAutoFillBackground(false);
    }

    using Guide = PrintPreviewForm::Guide;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect area = event->rect();
        painter.fillRect(area, Qt::white);
        PrintLayout& layout = form_.layout_;
        const double s = form_.scale_;
        if (s <= 0) {
            return;
        }
        const PrinterMetrics& m = layout.metrics();
        const double pitch = static_cast<double>(layout.linePitch());
        const double top = static_cast<double>(m.dpiY) * layout.settings().marginTop;
        PagePainter::Options options;
        options.exactPitch = false;
        options.color = form_.textColor_;
        options.colours = form_.colours_;
        options.firstRow = std::max<Pos>(0, static_cast<Pos>((area.top() / s - top) / pitch));
        options.lastRow = std::min<Pos>(static_cast<Pos>((area.bottom() / s - top) / pitch) + 1,
                                        layout.linesPerColumn() - 1);
        painter.save();
        // Nothing is drawn where the printer cannot print.
        painter.setClipRect(
            QRect(QPoint(static_cast<int>(s * m.offsetX), static_cast<int>(s * m.offsetY)),
                  QPoint(static_cast<int>(s * (m.printableWidth + m.offsetX)) - 1,
                         static_cast<int>(s * (m.printableHeight + m.offsetY)) - 1)));
        painter.scale(s, s);
        painter_.paintPage(painter, layout, form_.page_, options);
        painter.restore();
        if (form_.margins_->isChecked()) {
            QPen pen(Qt::black, 1, Qt::DashLine);
            painter.setPen(pen);
            const auto& g = form_.guides_;
            painter.drawLine(g[0], 0, g[0], height());
            painter.drawLine(g[1], 0, g[1], height());
            painter.drawLine(0, g[2], width(), g[2]);
            painter.drawLine(0, g[3], width(), g[3]);
        }
        if (drag_ != Guide::None) {
            QPen pen(QColor(128, 128, 128), 1, Qt::DotLine);
            painter.setPen(pen);
            if (drag_ == Guide::Left || drag_ == Guide::Right) {
                painter.drawLine(dragAt_, 0, dragAt_, height());
            } else {
                painter.drawLine(0, dragAt_, width(), dragAt_);
            }
        }
    }

    Guide guideAt(QPoint p) const {
        const auto& g = form_.guides_;
        if (std::abs(p.x() - g[0]) <= kGrab)
            return Guide::Left;
        if (std::abs(p.x() - g[1]) <= kGrab)
            return Guide::Right;
        if (std::abs(p.y() - g[2]) <= kGrab)
            return Guide::Top;
        if (std::abs(p.y() - g[3]) <= kGrab)
            return Guide::Bottom;
        return Guide::None;
    }

    int limited(Guide guide, int at, int gap) const {
        const auto& g = form_.guides_;
        switch (guide) {
        // A guide stays on the sheet: dragged past its edge, it stops there.
        case Guide::Left:
            return std::clamp(at, 0, std::max(0, g[1] - gap));
        case Guide::Right:
            return std::clamp(at, std::min(width(), g[0] + gap), width());
        case Guide::Top:
            return std::clamp(at, 0, std::max(0, g[3] - gap));
        case Guide::Bottom:
            return std::clamp(at, std::min(height(), g[2] + gap), height());
        default:
            return at;
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (!form_.margins_->isChecked()) {
            return;
        }
        drag_ = guideAt(event->position().toPoint());
        if (drag_ != Guide::None) {
            dragAt_ = coordinate(event->position().toPoint());
            update();
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (drag_ != Guide::None) {
            dragAt_ = limited(drag_, coordinate(p), kDragGap);
            update();
            return;
        }
        if (!form_.margins_->isChecked()) {
            unsetCursor();
            return;
        }
        switch (guideAt(p)) {
        case Guide::Left:
        case Guide::Right:
            setCursor(Qt::SplitHCursor);
            break;
        case Guide::Top:
        case Guide::Bottom:
            setCursor(Qt::SplitVCursor);
            break;
        default:
            unsetCursor();
            break;
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (drag_ == Guide::None) {
            return;
        }
        const Guide guide = drag_;
        const int at = coordinate(event->position().toPoint());
        drag_ = Guide::None;
        form_.dropGuide(guide, at);
        update();
    }

    // The sheet takes the wheel itself rather than leave it to reach the scroll area, so the
    // preview's rule holds however the event arrives.
    void wheelEvent(QWheelEvent* event) override {
        form_.wheel(*event);
        event->accept();
    }

private:
    int coordinate(QPoint p) const {
        return drag_ == Guide::Left || drag_ == Guide::Right ? p.x() : p.y();
    }

    PrintPreviewForm& form_;
    PagePainter painter_;
    Guide drag_ = Guide::None;
    int dragAt_ = 0;

    friend class PrintPreviewForm;
};

PrintPreviewForm::PrintPreviewForm(PrintLayout& layout, QtPrintDevice& device, QWidget* parent)
    : QDialog(parent), layout_(layout), device_(device) {
    setWindowTitle(QString::fromLatin1(kTitle));
    resize(643, 499);

    auto* bar = new QToolBar(this);
    bar->setFixedHeight(41);
    const auto button = [&](const QString& text, const QString& hint, bool toggle) {
        auto* b = new QToolButton(bar);
        b->setText(text);
        b->setToolTip(hint);
        b->setCheckable(toggle);
        bar->addWidget(b);
        return b;
    };
    QToolButton* printButton = button(tr("&Print"), tr("Print Document(s)"), false);
    QToolButton* setupButton = button(tr("&Setup"), tr("Printer Setup"), false);
    margins_ = button(tr("&Margins"), tr("Show/hide margins"), true);
    previous_ = button(QStringLiteral("\u25C0"), tr("Previous Page"), false);
    next_ = button(QStringLiteral("\u25B6"), tr("Next Page"), false);
    pageLabel_ = new QLabel(bar);
    bar->addWidget(pageLabel_);
    numbers_ = button(QStringLiteral("#"), tr("Show/Hide line numbers"), true);
    columns_ = new QSpinBox(bar);
    columns_->setRange(1, 10);
    columns_->setToolTip(tr("Change number of columns"));
    bar->addWidget(columns_);
    columnsLabel_ = new QLabel(bar);
    bar->addWidget(columnsLabel_);
    zoomBox_ = new QComboBox(bar);
    zoomBox_->addItems({QStringLiteral("500%"), QStringLiteral("200%"), QStringLiteral("150%"),
                        QStringLiteral("100%"), QStringLiteral("75%"), QStringLiteral("50%"),
                        tr("Page width"), tr("Whole page")});
    bar->addWidget(zoomBox_);
    QToolButton* closeButton = button(tr("&Close"), QString(), false);

    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    QPalette grey = scroll_->palette();
    grey.setColor(QPalette::Window, Qt::gray);
    scroll_->setPalette(grey);
    scroll_->setAutoFillBackground(true);
    scroll_->setWidgetResizable(false);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* holder = new QWidget;
    holder->setAutoFillBackground(false);
    sheet_ = new PreviewSheet(*this);
    sheet_->setParent(holder);
    scroll_->setWidget(holder);
    scroll_->viewport()->installEventFilter(this);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(bar);
    box->addWidget(scroll_, 1);

    connect(printButton, &QToolButton::clicked, this, [this] { print(); });
    connect(setupButton, &QToolButton::clicked, this, [this] { setup(); });
    connect(margins_, &QToolButton::toggled, this, [this](bool on) { setMarginsShown(on); });
    connect(previous_, &QToolButton::clicked, this, [this] { goToPage(page_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { goToPage(page_ + 1); });
    connect(numbers_, &QToolButton::toggled, this, [this](bool on) { setLineNumbers(on); });
    connect(columns_, &QSpinBox::valueChanged, this, [this](int n) { setColumns(n); });
    connect(zoomBox_, &QComboBox::activated, this, [this](int i) { setZoom(Zoom(i)); });
    connect(closeButton, &QToolButton::clicked, this, &QDialog::accept);

    // Opening: the layout, Page 1/P, the controls as the settings are.
    layout_.layout();
    lastMetrics_ = layout_.metrics();
    numbers_->setChecked(layout_.settings().lineNumbers);
    columns_->setValue(layout_.settings().columnCount());
    columnsLabel_->setText(QString::number(layout_.settings().columnCount()));
    zoomBox_->setCurrentIndex(PageWidth);
    goToPage(0);
    size();
}

PrintPreviewForm::~PrintPreviewForm() = default;

QWidget* PrintPreviewForm::sheet() const {
    return sheet_;
}

QString PrintPreviewForm::pageLabel() const {
    return pageLabel_->text();
}

void PrintPreviewForm::goToPage(Pos page) {
    const Pos pages = layout_.pageCount();
    page_ = std::clamp<Pos>(page, 0, pages - 1);
    pageLabel_->setText(QStringLiteral("Page %1/%2").arg(page_ + 1).arg(pages));
    next_->setEnabled(page_ < pages - 1);
    previous_->setEnabled(page_ > 0);
    sheet_->update();
}

void PrintPreviewForm::setZoom(Zoom zoom) {
    zoom_ = zoom;
    zoomBox_->setCurrentIndex(zoom);
    scroll_->horizontalScrollBar()->setValue(0);
    scroll_->verticalScrollBar()->setValue(0);
    if (zoom < PageWidth) {
        const int dpiY = std::max(1, layout_.metrics().dpiY);
        scale_ = static_cast<double>(logicalDpiY()) / dpiY * kZoomFactors[zoom];
    }
    size();
}

void PrintPreviewForm::size() {
    layout_.layout();
    const PrinterMetrics& m = layout_.metrics();
    const int w = scroll_->viewport()->width();
    const int h = scroll_->viewport()->height();
    if (m.paperWidth <= 0 || m.paperHeight <= 0 || m.dpiX <= 0 || m.dpiY <= 0) {
        guides_ = {0, 0, 0, 0};
        return;
    }
    const double pw = static_cast<double>(m.paperWidth);
    const double ph = static_cast<double>(m.paperHeight);
    int left = kSheetBorder;
    if (zoom_ == PageWidth || zoom_ == WholePage) {
        scale_ = (w - 2.0 * kSheetBorder) / pw;
        if (zoom_ == WholePage && ph / pw > (h - 2.0 * kSheetBorder) / (w - 2.0 * kSheetBorder)) {
            scale_ = (h - 2.0 * kSheetBorder) / ph;
            left = static_cast<int>(nearest((w - pw * scale_) / 2));
        }
    } else {
        const int sheetWidth = static_cast<int>(nearest(scale_ * pw));
        if (sheetWidth < w - 2 * kSheetBorder) {
            left = (w - sheetWidth) / 2;
        }
    }
    scale_ = std::max(scale_, 1e-4);
    const int sheetWidth = static_cast<int>(nearest(scale_ * pw));
    const int sheetHeight = static_cast<int>(nearest(scale_ * ph));
    sheet_->setGeometry(left, kSheetBorder, sheetWidth, sheetHeight);
    scroll_->widget()->resize(std::max(w, left + sheetWidth + kSheetBorder),
                              sheetHeight + 2 * kSheetBorder);
    const PrintSettings& s = layout_.settings();
    guides_ = {static_cast<int>(nearest(scale_ * m.dpiX * s.marginLeft)),
               static_cast<int>(nearest(scale_ * (pw - m.dpiX * s.marginRight))),
               static_cast<int>(nearest(scale_ * m.dpiY * s.marginTop)),
               static_cast<int>(nearest(scale_ * (ph - m.dpiY * s.marginBottom)))};
    sheet_->update();
}

void PrintPreviewForm::applySettings(const PrintSettings& settings) {
    layout_.setSettings(settings);
    goToPage(page_); // the same page, or the last one when there are fewer now
}

void PrintPreviewForm::setColumns(int columns) {
    columns = std::clamp(columns, 1, 10);
    if (columns_->value() != columns) {
        columns_->setValue(columns); // comes back here through valueChanged
        return;
    }
    columnsLabel_->setText(QString::number(columns));
    PrintSettings s = layout_.settings();
    s.columns = columns;
    applySettings(s);
}

void PrintPreviewForm::setLineNumbers(bool on) {
    if (numbers_->isChecked() != on) {
        numbers_->setChecked(on);
        return;
    }
    PrintSettings s = layout_.settings();
    s.lineNumbers = on;
    applySettings(s);
}

void PrintPreviewForm::setMarginsShown(bool on) {
    if (margins_->isChecked() != on) {
        margins_->setChecked(on);
        return;
    }
    sheet_->unsetCursor();
    sheet_->update();
}

void PrintPreviewForm::setTextColor(const QColor& color) {
    textColor_ = color;
    sheet_->update();
}

void PrintPreviewForm::dropGuide(Guide guide, int at) {
    const PrinterMetrics& m = layout_.metrics();
    const double s = scale_;
    if (s <= 0 || m.dpiX <= 0 || m.dpiY <= 0) {
        return;
    }
    PrintSettings settings = layout_.settings();
    const int index = static_cast<int>(guide) - 1;
    if (index < 0 || index > 3) {
        return;
    }
    at = sheet_->limited(guide, at, kDropGap);
    if (at == guides_[static_cast<std::size_t>(index)]) {
        return;
    }
    switch (guide) {
    case Guide::Left:
        settings.marginLeft = at / (m.dpiX * s);
        break;
    case Guide::Right:
        settings.marginRight = (sheet_->width() - at) / (m.dpiX * s);
        break;
    case Guide::Top:
        settings.marginTop = at / (m.dpiY * s);
        break;
    case Guide::Bottom:
        settings.marginBottom = (sheet_->height() - at) / (m.dpiY * s);
        break;
    default:
        break;
    }
    applySettings(settings);
    size();
}

void PrintPreviewForm::printerChanged() {
    if (!(device_.metrics() == lastMetrics_)) {
        layout_.invalidate();
        layout_.layout();
        lastMetrics_ = layout_.metrics();
        goToPage(page_);
        setZoom(zoom_);
    }
}

void PrintPreviewForm::print() {
    const int pages = static_cast<int>(layout_.pageCount());
    QPrinter& printer = device_.printer();
    bool confirmed = false;
    if (askPrinter) {
        confirmed = askPrinter(printer, this, pages);
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setMinMax(1, pages);
        printer.setFromTo(1, pages);
        confirmed = dialog.exec() == QDialog::Accepted;
    }
    printerChanged();
    if (!confirmed) {
        return;
    }
    Pos first = 0;
    Pos last = -1;
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage() - 1;
        last = printer.toPage() - 1;
    }
    const PrintJobResult result = printPages(device_, layout_, first, last, textColor_, colours_);
    if (!result.ok && printFailed) {
        printFailed(result.error);
    }
}

void PrintPreviewForm::setup() {
    QPageSetupDialog dialog(&device_.printer(), this);
    dialog.exec();
    printerChanged();
}

void PrintPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    size();
}

void PrintPreviewForm::wheel(const QWheelEvent& event) {
    // A wheel notch is 120; fine-grained wheels and touch pads send less at a time.
    constexpr int kNotch = QWheelEvent::DefaultDeltasPerStep;
    QPoint delta = event.angleDelta();
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    if (shift && delta.x() == 0) {
        delta = {delta.y(), 0}; // a plain wheel with Shift turns sideways
    }
    wheelRest_ += delta;
    const int stepsY = wheelRest_.y() / kNotch;
    const int stepsX = wheelRest_.x() / kNotch;
    wheelRest_ -= QPoint(stepsX * kNotch, stepsY * kNotch);
    if (event.modifiers().testFlag(Qt::ControlModifier)) {
        for (int i = 0; i < std::abs(stepsY); ++i) {
            zoomStep(stepsY > 0);
        }
        return;
    }
    const int lines = QApplication::wheelScrollLines();
    QScrollBar* across = scroll_->horizontalScrollBar();
    QScrollBar* down = scroll_->verticalScrollBar();
    across->setValue(across->value() - stepsX * lines * across->singleStep());
    down->setValue(down->value() - stepsY * lines * down->singleStep());
}

void PrintPreviewForm::zoomStep(bool in) {
    // The percentage shown now, also when the window fits the page.
    const double base = static_cast<double>(logicalDpiY()) / std::max(1, layout_.metrics().dpiY);
    const double now = scale_ / base;
    int chosen = -1;
    for (int i = 0; i < Zoom50 + 1; ++i) {
        const double factor = kZoomFactors[i];
        const bool fits = in ? factor > now * 1.001 : factor < now * 0.999;
        // The list runs from the largest to the smallest: zooming in takes the last that
        // fits, zooming out the first.
        if (fits && (in || chosen < 0)) {
            chosen = i;
        }
    }
    if (chosen >= 0) {
        setZoom(Zoom(chosen));
    }
}

bool PrintPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) {
        size();
    }
    if (watched == scroll_->viewport() && event->type() == QEvent::Wheel) {
        wheel(*static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavrel
