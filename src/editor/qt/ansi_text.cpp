// The editor's crossing between document bytes and Qt's UTF-16, through the program's one
// Windows-1252 table.
#include "editor/qt/ansi_text.h"

#include "text/code_page.h"

namespace tavrel {

QString ansiToQString(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        *out++ = QChar(codePageByteToWide(static_cast<unsigned char>(b)));
    }
    return text;
}

std::string qStringToAnsi(const QString& text) {
    std::u16string units;
    units.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (!c.isLowSurrogate()) { // a character beyond 16 bits becomes one '?', not two
            units.push_back(c.unicode());
        }
    }
    return wideToCodePage(units);
}

} // namespace tavrel
