// The main window's highlighting: the address highlighter and where its clicks go, the
// keyword refresh, the two Options toggles and the keyword dialog.
#include "app/document_file.h"
#include "app/highlight_refresh.h"
#include "app/main_window.h"
#include "editor/qt/desktop_launcher.h"
#include "editor/qt/keyword_dialog.h"
#include "editor/qt/text_editor.h"
#include "lang/qt/translator.h"
#include "platform/atomic_file.h"
#include "platform/command_guard.h"

#include <QAction>

#include <filesystem>

namespace tavrel {

void MainWindow::connectHighlighting() {
    urls_ = std::make_unique<UrlHighlighter>();
    if (setup_.launcher != nullptr) {
        urls_->setLauncher(setup_.launcher);
    } else {
        desktopLauncher_ = std::make_unique<DesktopAddressLauncher>();
        urls_->setLauncher(desktopLauncher_.get());
    }
    const auto on = [this](const char* name, auto&& run) {
        connect(menus_.action(name), &QAction::triggered, this,
                platform::guardedSlot(std::forward<decltype(run)>(run)));
    };
    on("Highlightkeywords1", [this] {
        options_.highLight = !options_.highLight;
        refreshKeywords();
    });
    // Recognition, styling and launching go together: the highlighter is attached or not.
    on("LaunchURLs1", [this] {
        options_.launch = !options_.launch;
        attachAddressHighlighter(editor_->highlights(), *urls_, options_);
    });
    on("Edithighlightlist1", [this] { editHighlightList(); });
}

void MainWindow::refreshKeywords() {
    refreshHighlighting(editor_->highlights(), *urls_, options_, keywordFile_);
}

std::string MainWindow::readKeywordList(bool& unreadable) {
    unreadable = false;
    std::string reason;
    std::optional<std::string> bytes = readWholeFile(keywordFile_, nullptr, &reason);
    if (bytes) {
        return std::move(*bytes);
    }
    // No list yet is the usual start, not a fault. One that is there but cannot be read (a
    // folder, no permission) is said, and the dialog opens empty: the text in the main
    // window stays as it is.
    std::error_code code;
    if (std::filesystem::symlink_status(keywordFile_, code).type() !=
        std::filesystem::file_type::not_found) {
        showError(1, keywordFile_, reason);
        unreadable = true;
    }
    return {};
}

void MainWindow::editHighlightList() {
    if (keywordDialog_ == nullptr) {
        FileWriter writer = platform::writeFileAtomically;
        if (setup_.writer) {
            writer = [streamed = setup_.writer](const std::string& path, std::string_view bytes) {
                return streamed(path, [bytes](const ChunkSink& sink) { return sink(bytes); });
            };
        }
        bool unreadable = false;
        std::string list = readKeywordList(unreadable);
        keywordDialog_ =
            new KeywordDialog(this, *editor_, keywordFile_, std::move(list), std::move(writer));
        if (unreadable) {
            keywordDialog_->keepUnreadFileWhileEmpty();
        }
        translateComponent(keywordDialog_, languages_->strings());
        connect(keywordDialog_, &KeywordDialog::closedAndSaved, this, [this](const QString& error) {
            if (!error.isEmpty()) {
                // The list stays in the dialog, so nothing typed is lost; the message says
                // the file was not written, and why.
                showError(2, keywordFile_, error.toStdString());
            }
            refreshKeywords();
        });
    }
    keywordDialog_->showCentred();
}

} // namespace tavrel
