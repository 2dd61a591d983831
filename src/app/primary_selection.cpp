// The primary selection's data: following the editor's selection, and the text kept when the
// selection goes or its text changes.
#include "app/primary_selection.h"

namespace tavrel {

PrimarySelectionData::PrimarySelectionData(TextEditor* editor)
    : editor_(editor), last_(editor->engine().selection()) {
    editor->engine().addObserver(this);
}

PrimarySelectionData::~PrimarySelectionData() {
    if (!editor_.isNull()) {
        editor_->engine().removeObserver(this);
    }
}

bool PrimarySelectionData::follows(const TextEditor* editor) const {
    return !kept_ && editor_ == editor;
}

QStringList PrimarySelectionData::formats() const {
    return {QStringLiteral("text/plain")};
}

bool PrimarySelectionData::hasFormat(const QString& mimeType) const {
    return mimeType == QLatin1String("text/plain");
}

QVariant PrimarySelectionData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (!hasFormat(mimeType)) {
        return {};
    }
    QString text;
    if (kept_) {
        text = *kept_;
    } else if (!editor_.isNull() && editor_->engine().selection().length() != 0) {
        text = editor_->clipboardText(editor_->engine().selText());
    } else {
        return {};
    }
    if (type.id() == QMetaType::QByteArray) {
        return text.toUtf8();
    }
    return text;
}

void PrimarySelectionData::selectionChanged() {
    if (kept_ || editor_.isNull()) {
        return;
    }
    if (editor_->engine().selection().length() == 0) {
        keep();
    } else {
        last_ = editor_->engine().selection();
    }
}

void PrimarySelectionData::textAboutToChange() {
    if (!kept_ && !editor_.isNull()) {
        keep();
    }
}

void PrimarySelectionData::keep() {
    kept_ = editor_->clipboardText(editor_->engine().textOf(last_));
}

} // namespace tavrel
