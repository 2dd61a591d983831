// Start-up in its fixed order: application object, program folder, portable flag, settings
// folder and the moves out of the program folder, settings store, single-instance check,
// main window, event loop.
#include "app/startup.h"

#include "app/command_line.h"
#include "app/document_title.h"
#include "app/guarded_application.h"
#include "app/main_window.h"
#include "app/settings_catalogue.h"
#include "app/signal_end.h"

#include "platform/atomic_file.h"
#include "platform/character_locale.h"
#include "platform/command_guard.h"
#include "platform/display_check.h"
#include "platform/file_move.h"
#include "platform/paths.h"
#include "platform/private_files.h"
#include "platform/write_access.h"
#ifdef _WIN32
#include "platform/handoff_win32.h"
#include "platform/registry_settings.h"
#else
#include "platform/native_settings.h"
#endif

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include <cstdio>
#include <vector>

namespace tavrel {

namespace {

// Moves a data file that an older installation left in the program folder.
void moveIntoSettingsFolder(const StorageLocations& locations, const char* name) {
    const std::string source = locations.programFolder + name;
    if (platform::isFile(source)) {
        // A failed move leaves the file where it was; the program goes on without it.
        [[maybe_unused]] const bool moved =
            platform::moveFile(source, locations.settingsFolder + name, /*replace=*/true);
    }
}

// This user's lock and listening socket for this settings folder; empty when another live
// start holds the lock.
[[nodiscard]] std::unique_ptr<platform::InstanceServer>
startInstanceServer(const StartupState& state) {
    return platform::InstanceServer::start(platform::runtimeFolder(),
                                           platform::instanceKey(state.locations.settingsFolder));
}

// The single-instance part of start-up. Every start that finds no running instance becomes
// the one later starts hand their files to; with the one-instance option on, a later start
// hands its file over and ends. Answers false when this start has handed its file over.
[[nodiscard]] bool runInstanceCheck(StartupState& state, const std::string& file) {
    state.oneInstance = state.settings->readBool("Options", "OneInstance", false);
    const std::string folder = platform::runtimeFolder();
    const std::string key = platform::instanceKey(state.locations.settingsFolder);
    state.instanceServer = platform::InstanceServer::start(folder, key);
    if (state.instanceServer != nullptr || !state.oneInstance) {
        return true;
    }
    switch (platform::handToRunningInstance(folder, key, handedName(file))) {
    case platform::Handoff::Delivered:
        return false;
    case platform::Handoff::NoInstance:
        // The running instance ended while this one waited: this start takes its place.
        state.instanceServer = platform::InstanceServer::start(folder, key);
        return true;
    case platform::Handoff::NoAnswer:
        // Still starting after two seconds, or hung: the file opens in a window of its own
        // rather than being lost.
        return true;
    }
    return true;
}

[[nodiscard]] std::unique_ptr<MainWindow> createMainWindow(StartupState& state,
                                                           const std::string& file) {
    MainWindowSetup setup;
    setup.settings = state.settings.get();
    setup.locations = state.locations;
    setup.commandLineFile = file;
    setup.releaseSettings = [&state] { state.settings.reset(); };
    setup.handoff = state.instanceServer.get();
    setup.takeInstanceLock = [&state]() -> platform::InstanceServer* {
        if (state.instanceServer == nullptr) {
            state.instanceServer = startInstanceServer(state);
        }
        return state.instanceServer.get();
    };
    return std::make_unique<MainWindow>(std::move(setup));
}

int reportCommandLineError(const std::string& programName, const std::string& error) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", programName.c_str(),
                 error.c_str(), programName.c_str());
    return 2;
}

} // namespace

StartupState& startupState() {
    static StartupState state;
    return state;
}

StartupEnvironment currentEnvironment() {
    return {platform::programFolder(), platform::userConfigFolder(), platform::canWrite,
            platform::userStateFolder()};
}

StorageLocations settleStorageLocations(const StartupEnvironment& environment) {
    StorageLocations locations;
    locations.programFolder = environment.programFolder;
    if (locations.programFolder.empty() || locations.programFolder.back() != '/') {
        locations.programFolder += '/';
    }
    locations.portable = platform::isFile(locations.programFolder + kPortableMarkerName);
    if (!environment.stateHome.empty()) {
        locations.recoveryFolder = environment.stateHome + "/" + kUserFolderName;
    }
    if (locations.portable) {
        locations.settingsFolder = locations.programFolder;
        locations.settingsFile = locations.programFolder + kIniFileName;
        return locations;
    }

    // Without a configuration folder this becomes a folder at the root, as it always has.
    locations.settingsFolder = environment.configHome + "/" + kUserFolderName;
    if (!platform::isDirectory(locations.settingsFolder)) {
        platform::makeFolders(locations.settingsFolder);
    }
    const auto& canWrite = environment.canWrite ? environment.canWrite : platform::canWrite;
    if (canWrite(locations.programFolder)) {
        moveIntoSettingsFolder(locations, kIniFileName);
        moveIntoSettingsFolder(locations, kKeywordFileName);
    }
    return locations;
}

std::unique_ptr<ConfigSaver> openSettingsStore(const StorageLocations& locations) {
    if (locations.portable) {
        return ConfigSaver::openIni(locations.settingsFile, platform::writeFileAtomically);
    }
#ifdef _WIN32
    return std::make_unique<ConfigSaver>(std::make_unique<platform::RegistrySettings>());
#else
    return std::make_unique<ConfigSaver>(std::make_unique<platform::NativeSettings>());
#endif
}

WriteStatus saveSettings(ConfigSaver& settings, const SettingsWriter& writeEntries) {
    settings.writeString(kVersionSection, kVersionKey, kSettingsVersionMark);
    if (writeEntries) {
        writeEntries(settings);
    }
    return settings.flush();
}

bool saveSettingsAtClose(ConfigSaver& settings, const ErrorReporter& report,
                         const SettingsWriter& writeEntries) {
    const WriteStatus status = saveSettings(settings, writeEntries);
    if (!status.ok() && report) {
        report("The settings could not be saved.\n\n" + status.error);
    }
    return status.ok();
}

ErrorReporter messageBoxReporter(QWidget* parent) {
    return [parent](const std::string& message) {
        // What follows the first blank line (the file and the system's reason) is the box's
        // informative text.
        const std::size_t split = message.find("\n\n");
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle),
                        QString::fromLocal8Bit(message.substr(0, split)), QMessageBox::Ok, parent);
        if (split != std::string::npos) {
            box.setInformativeText(QString::fromLocal8Bit(message.substr(split + 2)));
        }
        box.exec();
    };
}

std::string handedName(const std::string& commandLineFile) {
    if (commandLineFile.empty()) {
        return {};
    }
    // The name's own bytes: decoded as text, a Latin-1 name would name no file.
    if (!platform::isFile(commandLineFile)) {
        return {};
    }
#ifdef _WIN32
    // A short 8.3 name (from an old program or a shortcut) arrives spelt out, as the title
    // and the recent files show it.
    return platform::canonicalPath(platform::longPathName(commandLineFile));
#else
    return platform::canonicalPath(commandLineFile);
#endif
}

int runTavrel(int argc, char** argv) {
    // --help and --version answer before anything needs a display.
    std::vector<std::string> raw(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string programName = argc > 0 ? fileNamePart(argv[0]) : std::string("tavrel");
    const CommandLine early = parseCommandLine(raw, platform::isFile);
    if (early.action == CommandAction::Help) {
        std::fputs(helpText(programName).c_str(), stdout);
        return 0;
    }
    if (early.action == CommandAction::Version) {
        std::puts(versionText().c_str());
        return 0;
    }
    if (early.action == CommandAction::Error && early.unknownOption.rfind("--", 0) == 0) {
        // Qt's own options take one dash; a long option nobody knows is reported here,
        // before Qt looks for a display.
        return reportCommandLineError(programName, early.error);
    }
    if (!platform::displayFound(raw)) {
        // The toolkit would abort here with a message of its own and a core dump; the user
        // learns instead how to get the picture without a window.
        std::fprintf(stderr,
                     "%s: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); to "
                     "write the file as an image instead, run: %s --export-png OUT.png FILE\n",
                     programName.c_str(), programName.c_str());
        return 1;
    }

    GuardedApplication app(argc, argv);
    platform::useUtf8Characters();
    // Qt has taken its own options out of argv; what is left is ours, read as the bytes the
    // shell gave. Qt's decoded argument list would turn a name that is not UTF-8 (Latin-1
    // names from old archives) into one that names no file.
    const CommandLine line = parseCommandLine(
        std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), platform::isFile);
    if (line.action == CommandAction::Error) {
        return reportCommandLineError(programName, line.error);
    }
    std::fputs(ignoredArgumentsWarning(programName, line).c_str(), stderr);
    StartupState& state = startupState();
    state.locations = settleStorageLocations(currentEnvironment());
    platform::setSaveNoteFolder(state.locations.settingsFolder);
    state.settings = openSettingsStore(state.locations);
    if (!runInstanceCheck(state, line.file)) {
        // Handed over: no window, nothing written.
        state.settings.reset();
        return 0;
    }

    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    std::unique_ptr<MainWindow> window = createMainWindow(state, line.file);
    state.starting = false;
    // A handler of ours that runs out of memory is reported by the window; one that escaped
    // into the toolkit leaves only the text to keep.
    platform::setOutOfMemoryReport([&window] {
        if (window) {
            window->showOutOfMemory();
        }
    });
    app.keepText = [&window] {
        if (window) {
            keepTextForRecovery(*window);
        }
    };
    endOnTerminationSignals(*window);
    window->show();
    const int result = QApplication::exec();
    platform::setOutOfMemoryReport({});
    window.reset();
    state.settings.reset();
    state.instanceServer.reset();
    return result;
}

} // namespace tavrel
