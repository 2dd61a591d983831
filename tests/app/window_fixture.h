// A main window for tests: an in-memory settings store, the built program's language files,
// answers given by the test instead of a person, and a fixed work area.
#pragma once

#include "app/main_window.h"
#include "editor/qt/text_editor.h"
#include "support/temp_folder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tavrel::test {

// Records what the window asked and showed; answers from queues the test fills.
class ScriptedDialogs final : public WindowDialogs {
public:
    std::deque<SaveAnswer> saveAnswers;
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> fileNames;
    std::vector<std::string> log;       // "ask:", "error:", "plain:", "confirm:", "open", "save"
    std::vector<std::string> details;   // the informative text of each error, plain and confirm
    std::vector<std::string> questions; // the text of each confirm
    FileDialogRequest lastRequest;

    SaveAnswer askToSave(QWidget*, const QString&, const QString& text) override {
        log.push_back("ask:" + text.toStdString());
        return take(saveAnswers, SaveAnswer::Cancel);
    }
    void showError(QWidget*, const QString& caption, const QString& text,
                   const QString& detail) override {
        log.push_back("error:" + caption.toStdString() + ":" + text.toStdString());
        details.push_back(detail.toStdString());
    }
    void showPlain(QWidget*, const QString&, const QString& text, const QString& detail) override {
        log.push_back("plain:" + text.toStdString());
        details.push_back(detail.toStdString());
    }
    bool confirm(QWidget*, const QString&, const QString& text, const QString& detail) override {
        log.push_back("confirm");
        questions.push_back(text.toStdString());
        details.push_back(detail.toStdString());
        return take(confirmAnswers, false);
    }
    std::optional<std::string> openFileName(QWidget*, const FileDialogRequest& r) override {
        log.push_back("open");
        lastRequest = r;
        return take(fileNames, std::optional<std::string>());
    }
    std::optional<std::string> saveFileName(QWidget*, const FileDialogRequest& r) override {
        log.push_back("save");
        lastRequest = r;
        return take(fileNames, std::optional<std::string>());
    }
    void showMessage(const std::string& text, const std::string&) override {
        log.push_back("message:" + text);
    }
    void endProgram() override { log.push_back("end"); }

private:
    template <typename T>
    static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

// English texts of the messages, as the shipped language file words them.
inline const std::string kSaveQuestion =
    "The text has been changed. Do you want to save the changes?";
inline const std::string kLoadFailed = "The file could not be loaded.";
inline const std::string kSaveFailed = "The file could not be saved.";

class WindowTest : public ::testing::Test {
protected:
    TempFolder folder;
    ConfigSaver settings{"", "",
                         [](const std::string&, std::string_view) { return WriteStatus{}; }};
    ScriptedDialogs dialogs;
    std::vector<std::pair<std::string, std::string>> written; // what the writer was given
    bool failWrites = false;
    std::unique_ptr<MainWindow> window;

    // The writer used unless a test asks for the real one: records and writes the file
    // plainly, or fails as a full disk would.
    StreamWriter recordingWriter() {
        return [this](const std::string& path, const ChunkSource& source) {
            std::string bytes;
            if (!source([&bytes](std::string_view piece) {
                    bytes.append(piece);
                    return true;
                })) {
                return WriteStatus{path + ": the text could not be produced"};
            }
            written.emplace_back(path, bytes);
            if (failWrites) {
                return WriteStatus{path + ": No space left on device"};
            }
            writeFile(path, bytes);
            return WriteStatus{};
        };
    }

    MainWindowSetup setup(std::string file = {}) {
        MainWindowSetup s;
        s.settings = &settings;
        s.locations.programFolder = TAVREL_BINARY_DIR "/bin/";
        s.locations.settingsFolder = folder.folderText();
        s.commandLineFile = std::move(file);
        s.dialogs = &dialogs;
        s.writer = recordingWriter();
        s.starting = [] { return false; };
        s.workArea = WorkArea{1280, 1000};
        s.decimalSeparator = '.';
        return s;
    }

    MainWindow& open(std::string file = {}) {
        window = std::make_unique<MainWindow>(setup(std::move(file)));
        return *window;
    }

    // A file in the test's folder.
    std::string file(const std::string& name, std::string_view bytes) {
        const std::string path = folder / name;
        writeFile(path, bytes);
        return path;
    }

    static std::string text(const MainWindow& w) { return w.editor().engine().paragraphs().text(); }
    static void type(MainWindow& w, const char* bytes) { w.editor().engine().setSelText(bytes); }
};

} // namespace tavrel::test
