// The properties request to the file manager and the fallback dialog.
#include "app/file_properties.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QShortcut>
#include <QUrl>

namespace tavrel {

namespace {

QString permissionText(QFile::Permissions p) {
    const auto bit = [p](QFile::Permission flag, char c) {
        return QLatin1Char((p & flag) != 0 ? c : '-');
    };
    QString text;
    text += bit(QFile::ReadOwner, 'r');
    text += bit(QFile::WriteOwner, 'w');
    text += bit(QFile::ExeOwner, 'x');
    text += bit(QFile::ReadGroup, 'r');
    text += bit(QFile::WriteGroup, 'w');
    text += bit(QFile::ExeGroup, 'x');
    text += bit(QFile::ReadOther, 'r');
    text += bit(QFile::WriteOther, 'w');
    text += bit(QFile::ExeOther, 'x');
    return text;
}

QString dateText(const QDateTime& moment) {
    return moment.isValid() ? QLocale::system().toString(moment, QLocale::LongFormat)
                            : QStringLiteral("unknown");
}

} // namespace

QList<QPair<QString, QString>> filePropertyRows(const QString& path, std::int64_t lineCount) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        return {};
    }
    const QLocale locale = QLocale::system();
    QString size = locale.toString(info.size()) + QStringLiteral(" bytes");
    if (info.size() >= 1024) {
        size += QStringLiteral(" (") + locale.formattedDataSize(info.size()) + QLatin1Char(')');
    }
    QString permissions = permissionText(info.permissions());
    if (!info.owner().isEmpty()) {
        permissions += QStringLiteral("  ") + info.owner() + QLatin1Char(':') + info.group();
    }
    QList<QPair<QString, QString>> rows{
        {QStringLiteral("Name:"), info.fileName()},
        {QStringLiteral("Folder:"), QDir::toNativeSeparators(info.absolutePath())},
        {QStringLiteral("Size:"), size},
        {QStringLiteral("Modified:"), dateText(info.lastModified())},
        {QStringLiteral("Accessed:"), dateText(info.lastRead())},
    };
    if (info.birthTime().isValid()) {
        rows.push_back({QStringLiteral("Created:"), dateText(info.birthTime())});
    }
    rows.push_back({QStringLiteral("Permissions:"), permissions});
    rows.push_back({QStringLiteral("Lines:"), QLocale::system().toString(lineCount)});
    return rows;
}

void showFilePropertiesDialog(QWidget* parent, const QString& path, std::int64_t lineCount,
                              const PropertyRows& more) {
    auto rows = filePropertyRows(path, lineCount);
    if (rows.isEmpty()) {
        return;
    }
    rows += more;
    QDialog dialog(parent);
    dialog.setWindowTitle(QFileInfo(path).fileName());
    auto* form = new QFormLayout(&dialog);
    for (const auto& [label, value] : rows) {
        auto* valueLabel = new QLabel(&dialog);
        // A label guesses the format otherwise: "<b>X.nfo" would show as a bold "X.nfo".
        valueLabel->setTextFormat(Qt::PlainText);
        valueLabel->setText(value);
        valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, valueLabel);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    form->addRow(buttons);
    auto* copy = new QShortcut(QKeySequence::Copy, &dialog);
    QObject::connect(copy, &QShortcut::activated, &dialog, [&rows] {
        QStringList lines;
        for (const auto& [label, value] : rows) {
            lines << label + QLatin1Char('\t') + value;
        }
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    });
    dialog.exec();
}

void showFileProperties(QWidget* parent, const QString& path, std::int64_t lineCount,
                        const PropertyRows& more) {
    if (!QFileInfo(path).isFile()) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !more.isEmpty()) {
        showFilePropertiesDialog(parent, path, lineCount, more);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    call << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()}
         << QString();
    // Asynchronous, so that a slow or missing file manager never freezes the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), parent);
    QPointer<QWidget> owner(parent);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [watcher, owner, path, lineCount] {
                         if (watcher->isError() && owner) {
                             showFilePropertiesDialog(owner, path, lineCount);
                         }
                         watcher->deleteLater();
                     });
}

} // namespace tavrel
