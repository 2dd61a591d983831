// Points $XDG_CONFIG_HOME at a fresh temporary folder, so that nothing a test does reaches the
// real per-user settings. The native store reads the variable once per process, so a test
// program defines one such object at namespace scope, which is built before main() runs.
#pragma once

#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>

namespace tavrel::test {

class PrivateConfigHome {
public:
    PrivateConfigHome() { ::setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1); }

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return folder_.path(); }

private:
    TempFolder folder_;
};

} // namespace tavrel::test
