// The command-line export as a program of its own, for the tests that run it as a process:
// what the program's main() does before the viewer starts.
#include "app/export_command_line.h"

int main(int argc, char** argv) {
    const int status = tavrel::runExportCommandLine(argc, argv);
    return status >= 0 ? status : 64; // not an export request: the viewer's arguments
}
