// "tavrel --cat FILE": the file's text on standard output as the window shows it, each byte
// as the UTF-8 of its glyph and the line ends repaired, through the window's own load; "-"
// reads standard input. Needs no display.
#pragma once

#include "app/export_files.h"

namespace tavrel {

inline constexpr const char* kCatOption = "--cat";

// -1 when the arguments do not ask for it, else the exit status: 0, 1 for a file that
// could not be read or written out, 2 for a malformed command line. Makes a QCoreApplication
// for the settings' places when none exists yet.
int runCatCommandLine(int argc, char** argv, const ExportEnvironment& environment = {});

} // namespace tavrel
