// The X11 primary selection as the main window offers it: made from the editor's selection
// only when asked for, and keeping the last selection's text once the selection goes.
#pragma once

#include "editor/qt/text_editor.h"
#include "editor/selection.h"
#include "editor/text_engine.h"

#include <QMimeData>
#include <QPointer>
#include <QString>

#include <optional>

namespace tavrel {

// The primary selection as X11 programs offer it: the text is made only when another program
// asks for it, from what the editor has selected then, so that selecting a whole big file
// costs nothing until someone pastes it. As in other X programs, the last selection stays
// offered until a new one is made: when the selection goes away (a click that only places the
// caret) or its text is about to change, the text it had is kept and offered from then on.
class PrimarySelectionData final : public QMimeData, private TextObserver {
public:
    explicit PrimarySelectionData(TextEditor* editor);
    ~PrimarySelectionData() override;
    PrimarySelectionData(const PrimarySelectionData&) = delete;
    PrimarySelectionData& operator=(const PrimarySelectionData&) = delete;

    // Whether it still follows this editor's selection (rather than giving a kept text).
    [[nodiscard]] bool follows(const TextEditor* editor) const;

    [[nodiscard]] QStringList formats() const override;
    [[nodiscard]] bool hasFormat(const QString& mimeType) const override;

protected:
    [[nodiscard]] QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    // The engine tells of a moved selection only afterwards: the last one that held text is
    // remembered, and its text read while the document still is as it was then.
    void selectionChanged() override;
    void textAboutToChange() override;
    void keep();

    QPointer<TextEditor> editor_;
    Selection last_;
    std::optional<QString> kept_;
};

} // namespace tavrel
