// File > Properties: the desktop's file manager shows the file's properties (the freedesktop
// FileManager1 D-Bus call); where none answers, a small dialog of our own lists the name,
// folder, size, dates, permissions and line count.
#pragma once

#include <cstdint>

#include <QList>
#include <QPair>
#include <QString>

class QWidget;

namespace tavrel {

// The rows of our own dialog, label and value; empty when the file is not there. The line
// count is the caller's: the document in memory, not the file read again.
[[nodiscard]] QList<QPair<QString, QString>> filePropertyRows(const QString& path,
                                                              std::int64_t lineCount);

// Asks the file manager and, when the call fails or nobody answers, shows our dialog over
// parent. Returns at once; a file that vanished meanwhile gives nothing at all.
void showFileProperties(QWidget* parent, const QString& path, std::int64_t lineCount);

// Our own dialog, modal over parent; every value is shown as plain text.
void showFilePropertiesDialog(QWidget* parent, const QString& path, std::int64_t lineCount);

} // namespace tavrel
