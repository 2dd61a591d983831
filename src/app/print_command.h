// File > Print... and Print Preview...: the printer list ("Print to PDF" first, then the
// print service's printers), the last used printer with its fall-back to the first, the
// document copied into the print layout with the print font, the system print dialog and
// the job. Dialogs come in through functions so that tests answer them.
#pragma once

#include <QColor>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class QWidget;

namespace tavrel {

struct AppSettings;
struct PrintChoices;
class HighlightSource;
class PrintLayout;
class QtPrintDevice;

// The name of the built-in printer that writes PDF files; always first in the list.
inline constexpr char kPdfPrinterName[] = "Print to PDF";

// "Print to PDF", then the printers of the system's print service.
[[nodiscard]] QStringList availablePrinters();

// Makes printer `index` of the list the current one; a PDF printer writes to pdfFile.
void selectPrinter(QPrinter& printer, const QStringList& printers, int index,
                   const QString& pdfFile);
// The index in the list of the printer a dialog left selected (0 for a PDF file).
[[nodiscard]] int indexOfPrinter(const QPrinter& printer, const QStringList& printers);

struct PrintCommand {
    QWidget* parent = nullptr;
    AppSettings* settings = nullptr; // LastPrinter, margins, print font; LastPrinter updated
    // Columns and line numbers of this session; the preview's choices are kept here. Null:
    // the printing's defaults, and the preview's choices end with it.
    PrintChoices* choices = nullptr;
    std::string text; // the whole document
    // Colours of parts of paragraphs (ANSI art's cells); null: the print colour alone.
    HighlightSource* colours = nullptr;
    QString documentName; // proposes the PDF file's name; may be empty
    // The system print dialog: true when the user confirmed.
    std::function<bool(QPrinter& printer, QWidget* parent)> askPrinter;
    // The preview window (modal), drawing the text in textColor; not needed by Print.
    std::function<void(PrintLayout& layout, QtPrintDevice& device, QWidget* parent,
                       const QColor& textColor, HighlightSource* colours)>
        preview;
    // A failure: the language text and the system's reason.
    std::function<void(int languageNumber, const QString& details)> showError;
    QStringList printers; // empty: availablePrinters()
};

// The language text shown when there is no printer at all.
inline constexpr int kNoPrinterText = 112;

// Print...: false when nothing was printed (cancelled or failed).
bool runPrint(PrintCommand& command);
// Print Preview...
void runPrintPreview(PrintCommand& command);

} // namespace tavrel
