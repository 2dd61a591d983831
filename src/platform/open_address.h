// Opening an address with the desktop's handler for its scheme. Only network addresses are
// ever handed over: nothing goes through a shell, and no address can name a local file or
// start a program.
#pragma once

#include <QUrl>

#include <string_view>

namespace tavrel::platform {

// The URL an address is opened as, or an invalid QUrl when it must not be opened: it does
// not parse strictly, holds control characters or blanks, has a scheme other than the web,
// mail, news, file-transfer and terminal ones the highlighter finds, or lacks a host (or, for
// mail and news, a target). An address beginning "www." is a web address: it gets "http://",
// as the desktop would otherwise take the bare host name for a file.
[[nodiscard]] QUrl networkUrlFor(std::string_view address);

// Opens the address when networkUrlFor accepts it; false when refused or when the desktop
// could not start its handler.
bool openNetworkAddress(std::string_view address);

} // namespace tavrel::platform
