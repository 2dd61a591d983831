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

    // Shows `keywordText` (the list as read from `keywordFile`, any line ends) with the caret
    // at the end; takes its colours from the main editor. `writer` writes the file on close.
    // The owner reads the file, so that a file it cannot read is reported in its own message
    // box rather than found out here.
    KeywordDialog(QWidget* owner, const TextEditor& mainEditor, std::string keywordFile,
                  std::string keywordText, FileWriter writer);

    [[nodiscard]] TextEditor& editor() noexcept { return *editor_; }
    // The file is there but could not be read: while the list stays empty, closing leaves the
    // file as it is instead of writing an empty list over keywords the user may yet get back
    // (by giving read permission, say).
    void keepUnreadFileWhileEmpty() noexcept { keepUnreadFile_ = true; }
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
    bool keepUnreadFile_ = false;
};

} // namespace tavrel
