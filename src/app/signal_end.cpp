// The two steps of ending by signal: an orderly close first, the recovery copy and an
// immediate end when a dialog stands in the way.
#include "app/signal_end.h"

#include "app/main_window.h"
#include "app/recovery_file.h"
#include "editor/qt/text_editor.h"
#include "platform/atomic_file.h"
#include "platform/termination_signals.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <new>

namespace tavrel {

namespace {

struct SignalState {
    bool closing = false; // inside the close that a signal started
    bool pending = false; // a signal came while a dialog was open and is not yet answered
};

[[nodiscard]] std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

} // namespace

bool keepTextForRecovery(MainWindow& window) {
    if (!window.isModified()) {
        return true;
    }
    std::string text;
    try {
        window.editor().engine().write([&text](const char* data, std::size_t size) {
            text.append(data, size);
            return true;
        });
    } catch (const std::bad_alloc&) {
        std::fputs("tavrel: not enough memory to keep the changed text\n", stderr);
        return false;
    }
    const std::tm when = localNow();
    std::string folder = window.locations().settingsFolder;
    std::string error;
    auto kept = keepRecoveryCopy(folder, window.fileName(), text, when,
                                 platform::writeFileAtomically, &error);
    if (!kept) {
        // A settings folder that cannot be written (a full disk, a read-only stick): the
        // temporary folder is better than nothing, and the message says where.
        std::error_code code;
        folder = std::filesystem::temp_directory_path(code).string() + "/";
        std::fprintf(stderr, "tavrel: could not keep the text beside the settings: %s\n",
                     error.c_str());
        kept = keepRecoveryCopy(folder, window.fileName(), text, when,
                                platform::writeFileAtomically, &error);
    }
    if (!kept) {
        std::fprintf(stderr, "tavrel: the changed text could not be kept: %s\n", error.c_str());
        return false;
    }
    std::fprintf(stderr, "tavrel: the changed text was kept in %s\n", kept->c_str());
    return true;
}

void endOnTerminationSignals(MainWindow& window) {
    auto state = std::make_shared<SignalState>();
    platform::onTerminationSignals(window, [&window, state] {
        const bool dialogOpen = state->closing || QApplication::activeModalWidget() != nullptr;
        if (dialogOpen) {
            if (state->pending) {
                // Asked twice while nobody answers: the text goes to safety, and the program
                // ends here, from inside the dialog's loop, without waiting for it.
                const bool kept = keepTextForRecovery(window);
                window.writeSettingsNow();
                std::fflush(stderr);
                std::_Exit(kept ? 0 : 1);
            }
            // A dialog of the user's own is open: this signal is remembered, the next one
            // ends the program.
            state->pending = true;
            return;
        }
        state->pending = true;
        state->closing = true;
        window.close();
        state->closing = false;
        state->pending = false;
    });
}

} // namespace tavrel
