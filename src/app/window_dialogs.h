// The questions, messages and file dialogs of the main window behind one interface, so that
// tests answer them instead of a person. QtWindowDialogs is the real one.
#pragma once

#include "lang/language_handler.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace tavrel {

enum class SaveAnswer { Yes, No, Cancel };

// What the Open and Save as dialogs start with.
struct FileDialogRequest {
    QString filter;        // in the program's "Text|pattern|Text|pattern" form
    QString initialFolder; // may be empty
    QString fileName;      // may be empty
};

class WindowDialogs : public LanguageHost {
public:
    // AskToSave's question: Yes, No and Cancel with the question icon.
    [[nodiscard]] virtual SaveAnswer askToSave(QWidget* parent, const QString& caption,
                                               const QString& text) = 0;
    // ShowError: the error icon and the error caption. `detail` is the box's informative
    // text (a file's name and the system's reason); the language text stays as it is.
    virtual void showError(QWidget* parent, const QString& caption, const QString& text,
                           const QString& detail = {}) = 0;
    // A plain message box with an OK button.
    virtual void showPlain(QWidget* parent, const QString& caption, const QString& text,
                           const QString& detail = {}) = 0;
    // A yes/no question whose default answer is No.
    [[nodiscard]] virtual bool confirm(QWidget* parent, const QString& caption, const QString& text,
                                       const QString& detail = {}) = 0;
    // The chosen file name, or nothing when the dialog was cancelled.
    [[nodiscard]] virtual std::optional<std::string> openFileName(QWidget* parent,
                                                                  const FileDialogRequest& r) = 0;
    [[nodiscard]] virtual std::optional<std::string> saveFileName(QWidget* parent,
                                                                  const FileDialogRequest& r) = 0;
};

// The program's filter text turned into Qt's: "All files (*.*)|*.*|..." becomes
// "All files (*)" and "Tavrel files (*.diz *.nfo *.txt *.ini)".
[[nodiscard]] QString qtFileFilter(const QString& filter);

class QtWindowDialogs final : public WindowDialogs {
public:
    [[nodiscard]] SaveAnswer askToSave(QWidget* parent, const QString& caption,
                                       const QString& text) override;
    void showError(QWidget* parent, const QString& caption, const QString& text,
                   const QString& detail = {}) override;
    void showPlain(QWidget* parent, const QString& caption, const QString& text,
                   const QString& detail = {}) override;
    [[nodiscard]] bool confirm(QWidget* parent, const QString& caption, const QString& text,
                               const QString& detail = {}) override;
    [[nodiscard]] std::optional<std::string> openFileName(QWidget* parent,
                                                          const FileDialogRequest& r) override;
    [[nodiscard]] std::optional<std::string> saveFileName(QWidget* parent,
                                                          const FileDialogRequest& r) override;
    // LanguageHost
    void showMessage(const std::string& text, const std::string& caption) override;
    // The English language file is missing: nothing can be shown in any language.
    [[noreturn]] void endProgram() override;
};

} // namespace tavrel
