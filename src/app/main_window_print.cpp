// File > Print... and Print Preview...: the main window's part is the text, the settings
// and the dialogs; the commands themselves live in print_command.cpp.
#include "app/main_window.h"
#include "app/print_command.h"
#include "editor/qt/text_editor.h"
#include "print/qt/print_preview.h"

#include <QPrintDialog>

namespace tavrel {

namespace {

bool systemPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // The whole document: no page range, no selection.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

void MainWindow::print() {
    PrintCommand command;
    command.parent = this;
    command.settings = &options_;
    command.choices = &printChoices_;
    command.text = editor_->engine().document().text();
    command.colours = ansiColours();
    command.documentName = QString::fromStdString(fileName_);
    command.askPrinter = askPrinter ? askPrinter : systemPrintDialog;
    command.showError = [this](int number, const QString& details) {
        if (number == kNoPrinterText) {
            dialogs().showPlain(this, QString::fromLatin1(kApplicationTitle), langText(number),
                                details);
        } else {
            dialogs().showError(this, langText(102), details, QString());
        }
    };
    runPrint(command);
}

void MainWindow::printPreview() {
    PrintCommand command;
    command.parent = this;
    command.settings = &options_;
    command.choices = &printChoices_;
    command.text = editor_->engine().document().text();
    command.colours = ansiColours();
    command.documentName = QString::fromStdString(fileName_);
    command.preview = [this](PrintLayout& layout, QtPrintDevice& device, QWidget* parent,
                             const QColor& textColor, HighlightSource* colours) {
        if (showPreview) {
            showPreview(layout, device, parent, textColor);
            return;
        }
        PrintPreviewForm form(layout, device, parent);
        form.setTextColor(textColor);
        form.setColours(colours);
        // A job that fails from the preview is reported there; the window stays open.
        form.printFailed = [this, &form](const QString& reason) {
            dialogs().showError(&form, langText(102), reason, QString());
        };
        form.exec();
    };
    command.showError = [this](int number, const QString& details) {
        dialogs().showPlain(this, QString::fromLatin1(kApplicationTitle), langText(number),
                            details);
    };
    runPrintPreview(command);
}

} // namespace tavrel
