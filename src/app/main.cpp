// tavrel [FILE] shows FILE in the viewer; tavrel --export-gif OUT FILE... writes GIF images
// of files as the viewer shows them, without a window.
#include "app/export_command_line.h"
#include "app/startup.h"

int main(int argc, char** argv) {
    // The export paints and writes without a window and ends here; it comes first because
    // the viewer's own command line refuses options it does not know.
    tavrel::GifExportEnvironment exportEnvironment;
    exportEnvironment.openSettings = [] {
        return tavrel::openSettingsStore(
            tavrel::settleStorageLocations(tavrel::currentEnvironment()));
    };
    if (const int status = tavrel::runGifExportCommandLine(argc, argv, exportEnvironment);
        status >= 0) {
        return status;
    }
    return tavrel::runTavrel(argc, argv);
}
