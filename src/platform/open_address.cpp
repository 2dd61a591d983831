// The desktop hand-over of addresses, with the checks that keep it to network addresses.
#include "platform/open_address.h"

#include <QDesktopServices>
#include <QString>
#include <QUrlQuery>

#include <algorithm>
#include <array>

namespace tavrel::platform {

namespace {

// Schemes whose address names a host.
constexpr std::array<std::string_view, 9> kHostSchemes{
    "http", "https", "ftp", "gopher", "telnet", "tn3270", "wais", "prospero", "nntp"};
// Schemes whose address is a target without a host.
constexpr std::array<std::string_view, 2> kTargetSchemes{"mailto", "news"};

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
        if (lower != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The header fields a mail link may carry; others, such as "attach", would have the mail
// program attach a local file named by the text.
constexpr std::array<std::string_view, 5> kMailFields{"to", "cc", "bcc", "subject", "body"};

QUrl withMailFieldsOnly(QUrl url) {
    if (!url.hasQuery()) {
        return url;
    }
    const QUrlQuery query(url);
    QUrlQuery kept;
    for (const auto& [name, value] : query.queryItems(QUrl::FullyEncoded)) {
        const std::string field = name.toLower().toStdString();
        if (std::find(kMailFields.begin(), kMailFields.end(), field) != kMailFields.end()) {
            kept.addQueryItem(name, value);
        }
    }
    if (kept.isEmpty()) {
        url.setQuery(QString());
    } else {
        url.setQuery(kept.query(QUrl::FullyEncoded), QUrl::StrictMode);
    }
    return url;
}

} // namespace

QUrl networkUrlFor(std::string_view address) {
    // Blanks, control characters and bytes beyond ASCII are refused rather than guessed at.
    const bool plain = !address.empty() && std::all_of(address.begin(), address.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b > 0x20 && b < 0x7F;
    });
    if (!plain) {
        return {};
    }
    QString text = QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size()));
    if (startsWithIgnoringCase(address, "www.")) {
        text.prepend(QStringLiteral("http://"));
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.isLocalFile()) {
        return {};
    }
    const std::string scheme = url.scheme().toLower().toStdString();
    const auto in = [&](const auto& list) {
        return std::find(list.begin(), list.end(), scheme) != list.end();
    };
    if (in(kHostSchemes)) {
        return url.host().isEmpty() ? QUrl() : url;
    }
    if (in(kTargetSchemes)) {
        if (url.path().isEmpty()) {
            return {};
        }
        return scheme == "mailto" ? withMailFieldsOnly(url) : url;
    }
    return {};
}

bool openNetworkAddress(std::string_view address) {
    const QUrl url = networkUrlFor(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace tavrel::platform
