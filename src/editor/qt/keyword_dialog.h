// The keyword list's editing window: one editor over "highlight.dat", modeless and on top,
// that writes the file back every time it closes and then tells its owner, who refreshes
// the highlighting. It is made once and kept, so reopening shows the text as it was left.
#pragma once

#include <QDialog>

#include <string>

#include "settings/config_saver.h"

namespace tavrel {

class TextEditor;

class KeywordDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 453;
    static constexpr int kClientHeight = 272;
    static constexpr int kCaptionTag = 93;

    // Loads `keywordFile` when it exists (any line ends) and puts the caret at the end;
    // takes its colours from the main editor. `writer` writes the file on close.
    KeywordDialog(QWidget* owner, const TextEditor& mainEditor, std::string keywordFile,
                  FileWriter writer);

    [[nodiscard]] TextEditor& editor() noexcept { return *editor_; }
    // Shows it centred on its owner, or brings the open one to the front.
    void showCentred();

Q_SIGNALS:
    // After each close, once the file was written (`error` empty) or could not be.
    void closedAndSaved(const QString& error);

protected:
    void done(int result) override;

private:
    TextEditor* editor_ = nullptr;
    std::string file_;
    FileWriter writer_;
};

} // namespace tavrel
