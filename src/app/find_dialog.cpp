// The Find/Replace dialog's widgets, its history lists and its signals.
#include "app/find_dialog.h"

#include "editor/qt/text_editor.h"
#include "lang/qt/translator.h"
#include "textcmd/find_replace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QVariant>

namespace tavrel {

namespace {

// The translation keys of the dialog's own texts.
constexpr int kCaptionText = 460;
constexpr int kFindLabelText = 461;
constexpr int kReplaceLabelText = 462;
constexpr int kWholeWordText = 463;
constexpr int kMatchCaseText = 464;
constexpr int kFindNextText = 465;
constexpr int kReplaceText = 466;
constexpr int kReplaceAllText = 467;
constexpr int kCancelText = 468;

// Lists longer than this lose their oldest entries.
constexpr int kHistoryLength = 20;

template <typename W>
W* tagged(W* widget, int tag, const char* name) {
    widget->setProperty(translationTagProperty, tag);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* textField(QWidget* parent, const char* name) {
    auto* field = new QComboBox(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert); // the history is kept by remember()
    field->setMaxCount(kHistoryLength);
    field->lineEdit()->setMaxLength(static_cast<int>(FindReplace::kMaxTextLength));
    field->setMinimumContentsLength(28);
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return field;
}

} // namespace

FindDialog::FindDialog(const TextEditor& editor, QWidget* parent)
    : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setProperty(translationTagProperty, kCaptionText);
    setWindowTitle(QStringLiteral("Replace"));
    setModal(false);

    find_ = textField(this, "findField");
    replace_ = textField(this, "replaceField");
    auto* findLabel =
        tagged(new QLabel(QStringLiteral("Fi&nd what:"), this), kFindLabelText, "findLabel");
    findLabel->setBuddy(find_);
    auto* replaceLabel = tagged(new QLabel(QStringLiteral("Re&place with:"), this),
                                kReplaceLabelText, "replaceLabel");
    replaceLabel->setBuddy(replace_);
    wholeWord_ = tagged(new QCheckBox(QStringLiteral("Match &whole word only"), this),
                        kWholeWordText, "wholeWord");
    matchCase_ =
        tagged(new QCheckBox(QStringLiteral("Match &case"), this), kMatchCaseText, "matchCase");

    findNext_ =
        tagged(new QPushButton(QStringLiteral("&Find Next"), this), kFindNextText, "findNext");
    replaceOne_ =
        tagged(new QPushButton(QStringLiteral("&Replace"), this), kReplaceText, "replace");
    replaceAll_ = tagged(new QPushButton(QStringLiteral("Replace &All"), this), kReplaceAllText,
                         "replaceAll");
    cancel_ = tagged(new QPushButton(QStringLiteral("Cancel"), this), kCancelText, "cancel");
    // Enter anywhere in the dialog is Find Next; Esc is Cancel (QDialog's reject).
    findNext_->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(find_, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(replace_, 1, 1);
    grid->addWidget(wholeWord_, 2, 0, 1, 2);
    grid->addWidget(matchCase_, 3, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {findNext_, replaceOne_, replaceAll_, cancel_}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 5, 1);
    grid->setRowStretch(4, 1);

    connect(findNext_, &QPushButton::clicked, this, [this] {
        remember(find_);
        Q_EMIT findNextRequested();
    });
    connect(replaceOne_, &QPushButton::clicked, this, [this] {
        remember(find_);
        remember(replace_);
        Q_EMIT replaceRequested(false);
    });
    connect(replaceAll_, &QPushButton::clicked, this, [this] {
        remember(find_);
        remember(replace_);
        Q_EMIT replaceRequested(true);
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FindDialog::remember(QComboBox* field) {
    const QString text = field->currentText();
    if (text.isEmpty()) {
        return;
    }
    const int old = field->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (old == 0) {
        return;
    }
    if (old > 0) {
        field->removeItem(old);
    }
    field->insertItem(0, text);
    field->setCurrentIndex(0);
}

void FindDialog::setFindText(const std::string& text) {
    find_->setEditText(
        editor_.clipboardText(text).left(static_cast<int>(FindReplace::kMaxTextLength)));
}

void FindDialog::setReplaceText(const std::string& text) {
    replace_->setEditText(
        editor_.clipboardText(text).left(static_cast<int>(FindReplace::kMaxTextLength)));
}

std::string FindDialog::findText() const {
    return editor_.clipboardBytes(find_->currentText());
}

std::string FindDialog::replaceText() const {
    return editor_.clipboardBytes(replace_->currentText());
}

bool FindDialog::matchCase() const {
    return matchCase_->isChecked();
}

bool FindDialog::wholeWord() const {
    return wholeWord_->isChecked();
}

void FindDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        find_->lineEdit()->selectAll();
        find_->setFocus();
        Q_EMIT opened();
    }
}

void FindDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        Q_EMIT closed();
    }
}

} // namespace tavrel
