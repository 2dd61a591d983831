// The rows File > Properties adds for a file's SAUCE record: its title, author, group, date,
// kind of data, width, flags, font and comments, in the glyphs the art tools wrote them in.
#pragma once

#include "text/sauce.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

namespace tavrel {

// Language text `number`, `english` where the language file has none.
using PropertyText = std::function<QString(int number, const QString& english)>;

// Label and value for each field of the record; empty fields are left out.
[[nodiscard]] QList<QPair<QString, QString>> saucePropertyRows(const SauceRecord& record,
                                                               const PropertyText& text);

} // namespace tavrel
