// The program's entry sequence: settles where the settings live (beside the program in
// portable mode, else in the per-user folder), opens the settings store, then creates the main
// window and runs the event loop. What it settles stays in one process-wide StartupState that
// the main window reads.
#pragma once

#include "platform/instance_channel.h"
#include "settings/config_saver.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace tavrel {

// File and folder names that start-up and the main window share.
inline constexpr const char* kPortableMarkerName = "usb.dat";
inline constexpr const char* kIniFileName = "Tavrel.ini";
inline constexpr const char* kKeywordFileName = "highlight.dat";
inline constexpr const char* kUserFolderName = "Velmantic/Tavrel/"; // below the config folder
inline constexpr const char* kApplicationTitle = "Tavrel";

// What start-up asks of the machine; tests hand in their own folders and answers.
struct StartupEnvironment {
    std::string programFolder; // the executable's folder, ending in "/"
    std::string configHome;    // the per-user configuration folder, no trailing "/"; may be empty
    std::function<bool(const std::string& folder)> canWrite; // empty: the real test
    std::string stateHome; // the per-user state folder, no trailing "/"; may be empty
};

struct StorageLocations {
    std::string programFolder;  // ends in "/"
    std::string settingsFolder; // ends in "/"; holds the keyword list in both modes
    std::string settingsFile;   // portable: the INI file beside the program; else empty
    // Where the text goes when the program is ended and the settings folder cannot take it:
    // a folder of the user's own, ending in "/"; empty when the system names none.
    std::string recoveryFolder;
    bool portable = false;
};

struct StartupState {
    StorageLocations locations;
    std::unique_ptr<ConfigSaver> settings; // freed when the main window closes
    bool oneInstance = false;              // Options/OneInstance
    bool starting = true;                  // cleared once the main window exists
    // Held by the first instance for its life; later starts hand their file to it.
    std::unique_ptr<platform::InstanceServer> instanceServer;
};

// The name a later start hands over: the absolute, link-free form of an existing file, or
// empty (the running window then only comes to the front).
[[nodiscard]] std::string handedName(const std::string& commandLineFile);

// The one start-up state of this process.
[[nodiscard]] StartupState& startupState();

// The real program folder, configuration folder and write-access test.
[[nodiscard]] StartupEnvironment currentEnvironment();

// Chooses portable or normal mode and settles the folders; in normal mode creates the
// per-user folder and moves the INI file and the keyword list left in a writable program
// folder into it.
[[nodiscard]] StorageLocations settleStorageLocations(const StartupEnvironment& environment);

// The INI store on the settings file in portable mode, else the native per-user store.
[[nodiscard]] std::unique_ptr<ConfigSaver> openSettingsStore(const StorageLocations& locations);

// The main window's part of saving: every setting of the catalogue, in its order.
using SettingsWriter = std::function<void(ConfigSaver& settings)>;

// Writes the version mark, then what writeEntries writes, and flushes the store; never
// throws.
[[nodiscard]] WriteStatus saveSettings(ConfigSaver& settings,
                                       const SettingsWriter& writeEntries = {});

// The close handler's part: saves the settings and, when that fails, reports it once through
// report. The window closes either way; answers whether the settings were saved.
using ErrorReporter = std::function<void(const std::string& message)>;
bool saveSettingsAtClose(ConfigSaver& settings, const ErrorReporter& report,
                         const SettingsWriter& writeEntries = {});

// A reporter that shows the message in a warning box over parent.
[[nodiscard]] ErrorReporter messageBoxReporter(QWidget* parent);

int runTavrel(int argc, char** argv);

} // namespace tavrel
