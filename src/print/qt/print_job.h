// One print job: pages first..last of a layout on a QPrinter, a new sheet before each page
// but the first, the job always ended, also when drawing fails.
#pragma once

#include <QColor>
#include <QString>

#include "editor/highlight_runs.h"
#include "print/print_layout.h"
#include "print/qt/qt_print_device.h"

namespace tavrel {

// The title the print system shows for our jobs.
inline constexpr char kPrintJobTitle[] = "Tavrel";

// Why nothing is printed when the margins leave no room for a line of text.
inline constexpr char kNoRoomForText[] =
    "The margins leave no room for a line of text; make them smaller in Print Preview.";

struct PrintJobResult {
    bool ok = false;
    Pos pagesPrinted = 0;
    QString error; // why it failed, for a message box or standard error
};

// Prints pages first..last (0-based, clamped to the layout's pages); last < 0 prints to
// the end. `colours`, when given, colours parts of paragraphs (ANSI art's cells).
[[nodiscard]] PrintJobResult printPages(const QtPrintDevice& device, PrintLayout& layout, Pos first,
                                        Pos last, const QColor& color,
                                        HighlightSource* colours = nullptr);

} // namespace tavrel
