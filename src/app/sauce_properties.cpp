// A SAUCE record's fields as the Properties dialog lists them.
#include "app/sauce_properties.h"

#include "text/seen_text.h"
#include "text/utf8_codec.h"

#include <array>
#include <string>
#include <string_view>

namespace tavrel {

namespace {

// Fields are code page 437 bytes, as the art tools that wrote them show them.
QString glyphs(std::string_view bytes) {
    return QString::fromStdString(wideToUtf8(bytesAsSeen(bytes, ByteGlyphs::Cp437)));
}

// CCYYMMDD as a date when it is one, else as written.
QString dateText(const std::string& date) {
    const bool digits =
        date.size() == 8 && date.find_first_not_of("0123456789") == std::string::npos;
    if (!digits) {
        return glyphs(date);
    }
    return QString::fromStdString(date.substr(0, 4) + '-' + date.substr(4, 2) + '-' +
                                  date.substr(6, 2));
}

// The names the record's own format gives its kinds of data; the numbers for any other.
QString dataTypeText(const SauceRecord& record) {
    static constexpr std::array<std::string_view, 9> kCharacterTypes{
        "ASCII",  "ANSi", "ANSiMation", "RIP script", "PCBoard",
        "Avatar", "HTML", "Source",     "TundraDraw"};
    if (record.isCharacterData() && record.fileType < kCharacterTypes.size()) {
        return QString::fromLatin1(kCharacterTypes[record.fileType].data(),
                                   static_cast<int>(kCharacterTypes[record.fileType].size()));
    }
    return QStringLiteral("%1 / %2").arg(record.dataType).arg(record.fileType);
}

// The flags byte in hexadecimal with the meanings character data gives its bits.
QString flagsText(const SauceRecord& record) {
    QString text = QStringLiteral("0x%1").arg(record.flags, 2, 16, QLatin1Char('0'));
    if (!record.isCharacterData()) {
        return text;
    }
    QStringList meanings;
    if ((record.flags & 1) != 0) {
        meanings << QStringLiteral("iCE colours");
    }
    switch ((record.flags >> 1) & 3) {
    case 1:
        meanings << QStringLiteral("8-pixel font");
        break;
    case 2:
        meanings << QStringLiteral("9-pixel font");
        break;
    default:
        break;
    }
    switch ((record.flags >> 3) & 3) {
    case 1:
        meanings << QStringLiteral("legacy aspect ratio");
        break;
    case 2:
        meanings << QStringLiteral("square pixels");
        break;
    default:
        break;
    }
    return meanings.isEmpty() ? text : text + QStringLiteral(" (") + meanings.join(", ") + ')';
}

} // namespace

QList<QPair<QString, QString>> saucePropertyRows(const SauceRecord& record,
                                                 const PropertyText& text) {
    QList<QPair<QString, QString>> rows;
    const auto add = [&rows, &text](int number, const char* english, const QString& value) {
        if (!value.isEmpty()) {
            rows.push_back({text(number, QString::fromLatin1(english)), value});
        }
    };
    add(553, "Title:", glyphs(record.title));
    add(554, "Author:", glyphs(record.author));
    add(555, "Group:", glyphs(record.group));
    add(556, "Date:", dateText(record.date));
    add(557, "Data type:", dataTypeText(record));
    if (record.columns() > 0) {
        add(558, "Width:", QString::number(record.columns()));
    }
    add(559, "Flags:", flagsText(record));
    add(560, "Font:", glyphs(record.fontName));
    QStringList comments;
    for (const std::string& line : record.comments) {
        comments << glyphs(line);
    }
    add(561, "Comments:", comments.join(QLatin1Char('\n')));
    return rows;
}

} // namespace tavrel
