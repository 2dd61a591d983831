// NativeSettings. Texts are 8-bit: valid UTF-8 is kept as a readable string, anything else
// (Windows-1252 text, for example) as bytes, so that every value reads back exactly as it was
// written. Integers are kept as numbers; stores without types (the INI-style files of Unix
// systems) give them back as decimal text, which is accepted when an integer is read.
#include "platform/native_settings.h"

#include "settings/number_text.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include <sys/stat.h>

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

NativeSettings::NativeSettings() {
#ifndef _WIN32
    // Where QSettings keeps the file on this system; looked at before QSettings opens it.
    const QString configHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    file_ = QFile::encodeName(configHome + QStringLiteral("/Velmantic/Tavrel.conf")).toStdString();
    struct stat info {};
    if (::stat(file_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        keepFileReason_ = "The settings could not be read from " + file_ +
                          ", which is not a regular file; it was not replaced.";
        return;
    }
#endif
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Velmantic"), QStringLiteral("Tavrel"));
    // Reading once loads the file now, so that a malformed one is known before any write.
    [[maybe_unused]] const QVariant probe = settings_->value(QStringLiteral("Info_Version"));
    if (settings_->status() == QSettings::FormatError) {
        keepFileReason_ = "The settings in " + location() + " are malformed and were not replaced.";
    }
}

NativeSettings::~NativeSettings() = default;

QVariant NativeSettings::valueOf(const std::string& name) const {
    if (const auto held = held_.find(name); held != held_.end()) {
        return held->second;
    }
    return settings_ != nullptr ? settings_->value(keyOf(name)) : QVariant();
}

void NativeSettings::store(const std::string& name, QVariant value) {
    if (!keepFileReason_.empty()) {
        held_[name] = std::move(value);
        return;
    }
    settings_->setValue(keyOf(name), value);
}

std::optional<std::string> NativeSettings::readString(const std::string& name) const {
    const QVariant value = valueOf(name);
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
    const QVariant value = valueOf(name);
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
        store(name, QString::fromStdString(value));
    } else {
        store(name, QByteArray::fromStdString(value));
    }
}

void NativeSettings::writeInteger(const std::string& name, std::int32_t value) {
    store(name, static_cast<int>(value));
}

WriteStatus NativeSettings::flush() {
    if (!keepFileReason_.empty()) {
        return {keepFileReason_};
    }
    settings_->sync();
    switch (settings_->status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return {"The settings could not be written to " + location() + "."};
    case QSettings::FormatError:
        // Found malformed only now (changed since it was read): the file was rewritten.
        return {"The settings in " + location() + " were malformed; they were written anew."};
    }
    return {"The settings could not be written to " + location() + "."};
}

std::string NativeSettings::location() const {
    if (settings_ == nullptr) {
        return file_;
    }
    return QFile::encodeName(settings_->fileName()).toStdString();
}

} // namespace tavrel::platform
