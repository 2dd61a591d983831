// Hands addresses to the platform's strict network-address opener.
#include "editor/qt/desktop_launcher.h"

#include "platform/open_address.h"

namespace tavrel {

void DesktopAddressLauncher::open(const std::string& address) {
    static_cast<void>(platform::openNetworkAddress(address));
}

} // namespace tavrel
