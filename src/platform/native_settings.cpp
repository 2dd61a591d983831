// NativeSettings. Texts are 8-bit: valid UTF-8 is kept as a readable string, anything else
// (Windows-1252 text, for example) as bytes, so that every value reads back exactly as it was
// written. Integers are kept as numbers; stores without types (the INI-style files of Unix
// systems) give them back as decimal text, which is accepted when an integer is read.
#include "platform/native_settings.h"

#include "settings/number_text.h"

#include <QFile>
#include <QSettings>
#include <QStringDecoder>

namespace tavrel::platform {

namespace {

// Setting names are ASCII apart from file-class sections; Latin-1 keeps every byte.
[[nodiscard]] QString keyOf(const std::string& name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

[[nodiscard]] bool isValidUtf8(const std::string& text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder.decode(QByteArrayView(text));
    return !decoder.hasError();
}

} // namespace

NativeSettings::NativeSettings()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Velmantic"),
                                            QStringLiteral("Tavrel"))) {}

NativeSettings::~NativeSettings() = default;

std::optional<std::string> NativeSettings::readString(const std::string& name) const {
    const QVariant value = settings_->value(keyOf(name));
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().toUtf8().toStdString();
    case QMetaType::QByteArray:
        return value.toByteArray().toStdString();
    default:
        return std::nullopt; // absent, or a number where a text was expected
    }
}

std::optional<std::int32_t> NativeSettings::readInteger(const std::string& name) const {
    const QVariant value = settings_->value(keyOf(name));
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        // A 32-bit store value: larger numbers keep their low 32 bits, as the registry does.
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value.toULongLong()));
    case QMetaType::QString:
        return parseDecimal(value.toString().toStdString());
    default:
        return std::nullopt;
    }
}

void NativeSettings::writeString(const std::string& name, const std::string& value) {
    if (isValidUtf8(value)) {
        settings_->setValue(keyOf(name), QString::fromStdString(value));
    } else {
        settings_->setValue(keyOf(name), QByteArray::fromStdString(value));
    }
}

void NativeSettings::writeInteger(const std::string& name, std::int32_t value) {
    settings_->setValue(keyOf(name), static_cast<int>(value));
}

WriteStatus NativeSettings::flush() {
    settings_->sync();
    switch (settings_->status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return {"The settings could not be written to " + location() + "."};
    case QSettings::FormatError:
        return {"The settings in " + location() + " are malformed and were not replaced."};
    }
    return {"The settings could not be written to " + location() + "."};
}

std::string NativeSettings::location() const {
    return QFile::encodeName(settings_->fileName()).toStdString();
}

} // namespace tavrel::platform
