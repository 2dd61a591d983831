// The real message boxes and file dialogs of the main window.
#include "app/window_dialogs.h"

#include "app/message_box.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include <cstdlib>

namespace tavrel {

namespace {

std::optional<std::string> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters(qtFileFilter(request.filter).split(QStringLiteral(";;")));
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.resize(560, 450);
    if (!request.initialFolder.isEmpty()) {
        dialog.setDirectory(request.initialFolder);
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

} // namespace

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file on the system the filter comes from, with or without a dot.
        QString text = parts[i];
        if (patterns == QLatin1String("*.*")) {
            text.replace(QLatin1String("(*.*)"), QLatin1String("(*)"));
        } else {
            const qsizetype open = text.indexOf(QLatin1Char('('));
            text = (open < 0 ? text : text.left(open).trimmed()) + QLatin1String(" (") + patterns +
                   QLatin1Char(')');
        }
        filters.push_back(text);
    }
    return filters.join(QStringLiteral(";;"));
}

SaveAnswer QtWindowDialogs::askToSave(QWidget* parent, const QString& caption,
                                      const QString& text) {
    const auto answer = QMessageBox::question(
        parent, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
    if (answer == QMessageBox::Yes) {
        return SaveAnswer::Yes;
    }
    return answer == QMessageBox::No ? SaveAnswer::No : SaveAnswer::Cancel;
}

void QtWindowDialogs::showError(QWidget* parent, const QString& caption, const QString& text,
                                const QString& detail) {
    showMessageBox(parent, QMessageBox::Critical, caption, text, detail);
}

void QtWindowDialogs::showPlain(QWidget* parent, const QString& caption, const QString& text,
                                const QString& detail) {
    showMessageBox(parent, QMessageBox::NoIcon, caption, text, detail);
}

bool QtWindowDialogs::confirm(QWidget* parent, const QString& caption, const QString& text,
                              const QString& detail) {
    return showMessageBox(parent, QMessageBox::Warning, caption, text, detail,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtWindowDialogs::openFileName(QWidget* parent,
                                                         const FileDialogRequest& r) {
    return runFileDialog(parent, r, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtWindowDialogs::saveFileName(QWidget* parent,
                                                         const FileDialogRequest& r) {
    return runFileDialog(parent, r, QFileDialog::AcceptSave);
}

void QtWindowDialogs::showMessage(const std::string& text, const std::string& caption) {
    QMessageBox::information(nullptr, QString::fromStdString(caption),
                             QString::fromStdString(text));
}

void QtWindowDialogs::endProgram() {
    std::exit(EXIT_FAILURE);
}

} // namespace tavrel
