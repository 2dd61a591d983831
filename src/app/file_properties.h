// File > Properties: the desktop's file manager shows the file's properties (the freedesktop
// FileManager1 D-Bus call); where none answers, a small dialog of our own lists the name,
// folder, size, dates, permissions and line count.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QWidget;

namespace tavrel {

// The rows of our own dialog, label and value; empty when the file is not there.
[[nodiscard]] QList<QPair<QString, QString>> filePropertyRows(const QString& path);

// Asks the file manager and, when the call fails or nobody answers, shows our dialog over
// parent. Returns at once; a file that vanished meanwhile gives nothing at all.
void showFileProperties(QWidget* parent, const QString& path);

// Our own dialog, modal over parent.
void showFilePropertiesDialog(QWidget* parent, const QString& path);

} // namespace tavrel
