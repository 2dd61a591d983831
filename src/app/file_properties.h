// File > Properties: the desktop's file manager shows the file's properties (the freedesktop
// FileManager1 D-Bus call); where none answers, or the file holds what only we read (a SAUCE
// record), a small dialog of our own lists the name, folder, size, dates, permissions, line
// count and those rows.
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

using PropertyRows = QList<QPair<QString, QString>>;

// Asks the file manager and, when the call fails or nobody answers, shows our dialog over
// parent; with rows of our own (`more`) it shows our dialog straight away, since no file
// manager knows them. Returns at once; a file that vanished meanwhile gives nothing at all.
void showFileProperties(QWidget* parent, const QString& path, std::int64_t lineCount,
                        const PropertyRows& more = {});

// Our own dialog, modal over parent, `more` after the file's rows; every value is shown as
// plain text, and Ctrl+C copies every row as "label<TAB>value" lines, as message boxes do.
void showFilePropertiesDialog(QWidget* parent, const QString& path, std::int64_t lineCount,
                              const PropertyRows& more = {});

} // namespace tavrel
