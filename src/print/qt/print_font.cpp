// Courier-like faces first: they keep the widths the setting's default was chosen for.
#include "print/qt/print_font.h"

#include <QFontDatabase>

namespace tavrel {

namespace {

bool scalable(const QString& family) {
    return QFontDatabase::hasFamily(family) && QFontDatabase::isSmoothlyScalable(family);
}

} // namespace

QString resolvePrintFamily(const QString& requested) {
    if (!requested.isEmpty() && scalable(requested)) {
        return requested;
    }
    for (const char* fallback :
         {"Liberation Mono", "Nimbus Mono PS", "Courier", "DejaVu Sans Mono"}) {
        if (scalable(QString::fromLatin1(fallback))) {
            return QString::fromLatin1(fallback);
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QFont resolvePrintFont(const QFont& requested) {
    QFont font(requested);
    font.setFamily(resolvePrintFamily(requested.family()));
    return font;
}

} // namespace tavrel
