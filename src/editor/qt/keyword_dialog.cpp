// The keyword dialog: its editor, loading and saving the keyword file, placement.
#include "editor/qt/keyword_dialog.h"

#include <QVBoxLayout>

#include "editor/qt/display_font.h"
#include "editor/qt/text_editor.h"

namespace tavrel {

namespace {

// The dialog's console font; another fixed-pitch family draws where it is not installed.
constexpr char kDialogFontFamily[] = "MSI Console";
constexpr int kDialogFontPixels = 12;

} // namespace

KeywordDialog::KeywordDialog(QWidget* owner, const TextEditor& mainEditor, std::string keywordFile,
                             std::string keywordText, FileWriter writer)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      file_(std::move(keywordFile)), writer_(std::move(writer)) {
    setObjectName(QStringLiteral("f3"));
    setProperty("tag", kCaptionTag);
    setWindowTitle(QStringLiteral("Highlighted keywords (one keyword per line)"));
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    editor_ = new TextEditor(this);
    editor_->setObjectName(QStringLiteral("m"));
    layout->addWidget(editor_);
    QFont font(QString::fromLatin1(kDialogFontFamily));
    font.setPixelSize(kDialogFontPixels);
    editor_->setEditorFont(font);
    editor_->setOptions(eoWrapCaret | eoInsertKeyActive | eoWideOverwriteCaret | eoAutoScrollBars |
                        eoBlockSelection);
    editor_->setHighlightSource(nullptr); // the list itself is shown plain
    editor_->setColor(mainEditor.color());
    editor_->setTextColor(mainEditor.textColor());

    editor_->engine().loadBytes(std::move(keywordText));
    editor_->engine().setSelStart(editor_->engine().charCount());
}

void KeywordDialog::showCentred() {
    if (!isVisible() && parentWidget() != nullptr) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
    editor_->setFocus();
}

void KeywordDialog::done(int result) {
    QDialog::done(result);
    if (keepUnreadFile_ && editor_->engine().charCount() == 0) {
        Q_EMIT closedAndSaved({});
        return;
    }
    // Written on every close, changed or not: the file then always matches what was shown.
    // The lines are the editor's paragraphs, each ended by CR LF.
    std::string bytes;
    TextEngine& engine = editor_->engine();
    for (Pos p = 0; p < engine.paragraphs().count(); ++p) {
        bytes += engine.paragraphs().at(p);
        bytes += "\r\n";
    }
    const WriteStatus status = writer_ ? writer_(file_, bytes) : WriteStatus{"no writer"};
    if (status.error.empty()) {
        keepUnreadFile_ = false; // the file now holds the list shown
    }
    Q_EMIT closedAndSaved(QString::fromStdString(status.error));
}

} // namespace tavrel
