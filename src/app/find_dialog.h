// The modeless Find/Replace dialog of the main window: a find field and a replace field that
// remember their texts for the run, Match whole word only and Match case, and the buttons
// Find Next (Enter), Replace, Replace All and Cancel (Esc). It only collects what the user
// asks for; the main window searches and closes it after every action.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace tavrel {

class TextEditor;

class FindDialog final : public QDialog {
    Q_OBJECT

public:
    // The texts go between characters and bytes as `editor` maps its clipboard, so that text
    // copied from the document (glyphs included) finds the bytes it was copied from.
    explicit FindDialog(const TextEditor& editor, QWidget* parent = nullptr);

    // The texts as bytes of the document, at most 255 characters each.
    void setFindText(const std::string& text);
    void setReplaceText(const std::string& text);
    [[nodiscard]] std::string findText() const;
    [[nodiscard]] std::string replaceText() const;
    [[nodiscard]] bool matchCase() const;
    [[nodiscard]] bool wholeWord() const;

    [[nodiscard]] QComboBox* findField() const noexcept { return find_; }
    [[nodiscard]] QComboBox* replaceField() const noexcept { return replace_; }
    [[nodiscard]] QPushButton* findNextButton() const noexcept { return findNext_; }
    [[nodiscard]] QPushButton* replaceButton() const noexcept { return replaceOne_; }
    [[nodiscard]] QPushButton* replaceAllButton() const noexcept { return replaceAll_; }
    [[nodiscard]] QPushButton* cancelButton() const noexcept { return cancel_; }

Q_SIGNALS:
    void findNextRequested();
    // all: Replace All rather than Replace.
    void replaceRequested(bool all);
    void opened();
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Puts the field's text at the top of its list, so that it is offered again.
    static void remember(QComboBox* field);

    const TextEditor& editor_;
    QComboBox* find_ = nullptr;
    QComboBox* replace_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* replaceOne_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace tavrel
