// The font that draws the print font setting on paper: the family asked for when it is
// installed and scales smoothly, else the nearest installed scalable monospaced family.
// Bitmap strikes that serve the screen well are far too small at a printer's resolution.
#pragma once

#include <QFont>
#include <QString>

namespace tavrel {

[[nodiscard]] QString resolvePrintFamily(const QString& requested);
[[nodiscard]] QFont resolvePrintFont(const QFont& requested);

} // namespace tavrel
