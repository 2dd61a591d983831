// The two steps of ending by signal: an orderly close first, the recovery copy and an
// immediate end when a dialog stands in the way.
#include "app/signal_end.h"

#include "app/main_window.h"
#include "app/recovery_file.h"
#include "editor/qt/text_editor.h"
#include "platform/atomic_file.h"
#include "platform/local_time.h"
#include "platform/private_files.h"
#include "platform/termination_signals.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <new>

namespace tavrel {

namespace {

struct SignalState {
    bool closing = false; // inside the close that a signal started
    bool pending = false; // a signal came while a dialog was open and is not yet answered
};

[[nodiscard]] std::tm localNow() {
    return platform::localTime(std::time(nullptr));
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
    const NewFileMaker make = [](const std::string& path, std::string_view bytes,
                                 std::string* why) {
        switch (platform::createNewFile(path, bytes, why)) {
        case platform::NewFileResult::Created:
            return NewFileOutcome::Created;
        case platform::NewFileResult::Exists:
            return NewFileOutcome::NameTaken;
        case platform::NewFileResult::Failed:
            break;
        }
        return NewFileOutcome::Failed;
    };
    std::string error;
    auto kept = keepRecoveryCopy(window.locations().settingsFolder, window.fileName(), text, when,
                                 make, platform::writeFileAtomically, &error);
    const std::string& ownFolder = window.locations().recoveryFolder;
    if (!kept && !ownFolder.empty()) {
        // A settings folder that cannot be written (a full disk, a read-only stick): a folder
        // of this user's own that nobody else can enter, never the shared temporary folder,
        // where another user could have planted a link under the name; the next start looks
        // there too.
        std::fprintf(stderr, "tavrel: could not keep the text beside the settings: %s\n",
                     error.c_str());
        if (platform::makePrivateFolder(ownFolder)) {
            kept = keepRecoveryCopy(ownFolder, window.fileName(), text, when, make,
                                    platform::writeFileAtomically, &error);
        } else {
            error = ownFolder + ": not a folder of this user's own";
        }
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
