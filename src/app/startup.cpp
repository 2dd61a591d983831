// Start-up in its fixed order: application object, program folder, portable flag, settings
// folder and the moves out of the program folder, settings store, single-instance check,
// main window, event loop.
#include "app/startup.h"

#include "platform/atomic_file.h"
#include "platform/file_move.h"
#include "platform/native_settings.h"
#include "platform/paths.h"
#include "platform/termination_signals.h"
#include "platform/write_access.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMessageBox>

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

// The single-instance part of start-up: the shared block, the handoff message, the
// one-instance flag and the instance check, in this order. Answers false when this start has
// handed its file over and must end.
[[nodiscard]] bool runInstanceCheck(StartupState& state) {
    // The shared block and the handoff message are created here, before the flag is read.
    state.oneInstance = state.settings->readBool("Options", "OneInstance", false);
    // The single-instance check goes here. Until it exists, every start goes on.
    return true;
}

// Stands in for the main window until that exists: it has the main window's title and size
// and its close handling (the settings are written, the store is freed).
class StartWindow final : public QMainWindow {
public:
    explicit StartWindow(StartupState& state) : state_(state) {
        setWindowTitle(QString::fromLatin1(kApplicationTitle));
        resize(704, 365);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (state_.settings != nullptr) {
            saveSettingsAtClose(*state_.settings, messageBoxReporter(this));
            state_.settings.reset();
        }
        event->accept();
    }

private:
    StartupState& state_;
};

[[nodiscard]] std::unique_ptr<QMainWindow> createMainWindow(StartupState& state) {
    return std::make_unique<StartWindow>(state);
}

} // namespace

StartupState& startupState() {
    static StartupState state;
    return state;
}

StartupEnvironment currentEnvironment() {
    return {platform::programFolder(), platform::userConfigFolder(), platform::canWrite};
}

StorageLocations settleStorageLocations(const StartupEnvironment& environment) {
    StorageLocations locations;
    locations.programFolder = environment.programFolder;
    if (locations.programFolder.empty() || locations.programFolder.back() != '/') {
        locations.programFolder += '/';
    }
    locations.portable = platform::isFile(locations.programFolder + kPortableMarkerName);
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
    return std::make_unique<ConfigSaver>(std::make_unique<platform::NativeSettings>());
}

WriteStatus saveSettings(ConfigSaver& settings) {
    settings.writeString("Info", "Version", "4.2");
    return settings.flush();
}

bool saveSettingsAtClose(ConfigSaver& settings, const ErrorReporter& report) {
    const WriteStatus status = saveSettings(settings);
    if (!status.ok() && report) {
        report("The settings could not be saved.\n\n" + status.error);
    }
    return status.ok();
}

ErrorReporter messageBoxReporter(QWidget* parent) {
    return [parent](const std::string& message) {
        QMessageBox::warning(parent, QString::fromLatin1(kApplicationTitle),
                             QString::fromLocal8Bit(message));
    };
}

int runTavrel(int argc, char** argv) {
    QApplication app(argc, argv);
    StartupState& state = startupState();
    state.locations = settleStorageLocations(currentEnvironment());
    state.settings = openSettingsStore(state.locations);
    if (!runInstanceCheck(state)) {
        // Handed over: no window, nothing written.
        state.settings.reset();
        return 0;
    }

    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    std::unique_ptr<QMainWindow> window = createMainWindow(state);
    state.starting = false;
    platform::closeOnTerminationSignals(*window);
    window->show();
    const int result = QApplication::exec();
    window.reset();
    state.settings.reset();
    return result;
}

} // namespace tavrel
