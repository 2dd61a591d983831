// The address highlighter's way out to the desktop: what a click on an address opens.
#pragma once

#include "editor/url_highlighter.h"

namespace tavrel {

// Opens network addresses with the desktop's handler; everything else is refused quietly
// (a launch the system cannot perform has no visible effect).
class DesktopAddressLauncher final : public AddressLauncher {
public:
    void open(const std::string& address) override;
};

} // namespace tavrel
