// Message boxes with plain-text informative text.
#include "app/message_box.h"
#include "platform/qt_file_names.h"

#include <QFile>
#include <QLabel>

namespace tavrel {

QString fileReasonText(const std::string& file, const std::string& reason) {
    QString text = platform::qtFileName(file);
    if (!reason.empty()) {
        text += QLatin1Char('\n') + QString::fromLocal8Bit(reason);
    }
    return text;
}

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& caption, const QString& text,
                                            const QString& informative,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) {
    auto box = std::make_unique<QMessageBox>(icon, caption, text, buttons, parent);
    box->setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton) {
        box->setDefaultButton(defaultButton);
    }
    if (!informative.isEmpty()) {
        box->setInformativeText(informative);
        // The message box guesses the informative text's format on its own; a file named
        // "<b>x.nfo" would show in bold without its name.
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            label->setTextFormat(Qt::PlainText);
        }
    }
    return box;
}

QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           const QString& informative,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
    const std::unique_ptr<QMessageBox> box =
        makeMessageBox(parent, icon, caption, text, informative, buttons, defaultButton);
    box->exec();
    return box->standardButton(box->clickedButton());
}

} // namespace tavrel
