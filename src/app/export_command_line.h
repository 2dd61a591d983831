// The program's one entry point for every export on the command line ("--export-gif",
// "--export-png", "--export-pdf"): reads the arguments, says what is wrong with them, and runs the
// export on Qt's offscreen platform without a window or a display.
#pragma once

#include "app/export_files.h"
#include "app/settings_catalogue.h"

namespace tavrel {

// -1 when the arguments ask for no export (the viewer starts then), else the exit status.
// Makes its own QApplication on Qt's offscreen platform when none exists yet.
int runExportCommandLine(int argc, char** argv, const ExportEnvironment& environment = {});

// The user's settings as an export reads them (environment.openSettings), or the catalogue's
// defaults.
[[nodiscard]] AppSettings exportSettings(const ExportEnvironment& environment);

} // namespace tavrel
