// tavrel [FILE] shows FILE in the viewer; tavrel --export-gif OUT FILE... writes GIF images
// of files as the viewer shows them, and --export-pdf OUT FILE prints them to PDF, both
// without a window; --thumbnail draws a file manager's thumbnail and --cat writes the text
// to standard output as the window shows it.
#include "app/cat_command.h"
#include "app/export_command_line.h"
#include "app/startup.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"
#include "editor/url_highlighter.h"
#include "platform/atomic_file.h"

int main(int argc, char** argv) {
    // The export paints and writes without a window and ends here; it comes first because
    // the viewer's own command line refuses options it does not know.
    tavrel::ExportEnvironment exportEnvironment;
    exportEnvironment.openSettings = [] {
        const tavrel::StorageLocations places =
            tavrel::settleStorageLocations(tavrel::currentEnvironment());
        // An export written over a hard-linked file leaves its note where the window's next
        // start looks for it.
        tavrel::platform::setSaveNoteFolder(places.settingsFolder);
        return tavrel::openSettingsStore(places);
    };
    exportEnvironment.prepareEditor = [](tavrel::TextEditor& editor,
                                         const tavrel::AppSettings& settings) {
        // Addresses and keywords as the window shows them; the highlighter stays for the
        // export's whole run.
        static tavrel::UrlHighlighter urls;
        const tavrel::StorageLocations places =
            tavrel::settleStorageLocations(tavrel::currentEnvironment());
        tavrel::applyViewerHighlighting(editor, urls, settings,
                                        places.settingsFolder + tavrel::kKeywordFileName);
    };
    if (const int status = tavrel::runCatCommandLine(argc, argv, exportEnvironment); status >= 0) {
        return status;
    }
    if (const int status = tavrel::runExportCommandLine(argc, argv, exportEnvironment);
        status >= 0) {
        return status;
    }
    return tavrel::runTavrel(argc, argv);
}
