// The one message box of the program's errors, questions and notices: the language text as
// the message and what only this case knows (a file's name, the system's reason) as the
// box's informative text, both shown as plain text so that a name is never taken for markup.
#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>
#include <string>

class QWidget;

namespace tavrel {

// The informative text for a file and what the system said about it: the name on the first
// line, the reason on the second (left out when it is empty). Names are bytes; those that
// are not valid UTF-8 show a replacement character where a byte does not decode.
[[nodiscard]] QString fileReasonText(const std::string& file, const std::string& reason);

// A box ready to run: icon, caption, message and informative text, with the given buttons.
[[nodiscard]] std::unique_ptr<QMessageBox>
makeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
               const QString& informative, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Runs such a box modally and answers the button that closed it.
QMessageBox::StandardButton
showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
               const QString& informative, QMessageBox::StandardButtons buttons = QMessageBox::Ok,
               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

} // namespace tavrel
