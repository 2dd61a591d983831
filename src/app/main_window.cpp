// The main window's components, its creation and showing sequences, the settings it loads
// and writes, the language, the bounds debounce and the close sequence.
#include "app/main_window.h"
#include "platform/qt_file_names.h"

#include "app/background_load.h"
#include "app/button_bar.h"
#include "app/button_keys.h"
#include "app/find_dialog.h"
#include "app/find_session.h"
#include "app/focus_frames.h"
#include "app/interrupted_save_report.h"
#include "app/load_progress_bar.h"
#include "app/menu_mnemonics.h"
#include "app/message_box.h"
#include "app/notice_bar.h"
#include "app/recovery_file.h"
#include "app/viewer_setup.h"
#include "editor/ansi_colour_runs.h"
#include "editor/qt/line_gutter.h"
#include "editor/qt/text_editor.h"
#include "lang/locale_lang_id.h"
#include "lang/qt/language_menu.h"
#include "lang/qt/translator.h"
#include "platform/atomic_file.h"
#include "platform/command_guard.h"
#include "platform/file_watch.h"
#include "platform/paths.h"
#include "platform/qt_look.h"
#include "platform/stay_on_top.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>

namespace tavrel {

namespace {

// The interface font of the window and the gutter: Tahoma, 11 pixels.
QFont interfaceFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

// The Language menu's first item, which picks the language of the desktop; the Encoding
// menu's "Automatic" says the same.
constexpr int kAutomaticLanguageText = 501;

char systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}

} // namespace

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)),
      recent_(platform::isFile, platform::isSameFile) {
    if (setup_.dialogs == nullptr) {
        ownDialogs_ = std::make_unique<QtWindowDialogs>();
        dialogs_ = ownDialogs_.get();
    } else {
        dialogs_ = setup_.dialogs;
    }
    if (setup_.decimalSeparator == 0) {
        setup_.decimalSeparator = systemDecimalSeparator();
    }
    if (!setup_.writer) {
        setup_.writer = platform::writeFileStreamed;
    }
    const std::uint16_t langId =
        langIdForLocale(QLocale::system().name().toStdString()).value_or(0x0409);
    languages_ = std::make_unique<LanguageHandler>(languageFolders(setup_.locations.programFolder),
                                                   langId, *dialogs_);

    createComponents();
    connectCommands();
    connectOptions();
    connectZoom();
    connectFileWatch();
    connectFind();
    connectEditorHabits();
    connectHighlighting();
    // Before the first translation, which gives the visible items their keys.
    connectAuxiliaryCommands();

    // The creation sequence, in its order.
    helpFile_ = setup_.locations.programFolder + "Tavrel.chm";
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    keywordFile_ = setup_.locations.settingsFolder + kKeywordFileName;
    loadSettings();
    buildLanguageMenu();
    languageChange();
    // The file filter is the class constant kFileFilter, used by Open and Save as.
    if (setup_.workArea) {
        workArea_ = *setup_.workArea;
    } else if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        workArea_ = {area.x() + area.width(), area.y() + area.height(), area.x(), area.y()};
        // Every screen's work area, where stored bounds may put the window.
        for (const QScreen* each : QApplication::screens()) {
            const QRect a = each->availableGeometry();
            screenAreas_.push_back({a.x(), a.y(), a.x() + a.width(), a.y() + a.height()});
        }
    }
    applyViewerHighlighting(*editor_, *urls_, options_, keywordFile_);
    gutter_->setVisible(options_.lineNumbers);
    if (options_.exitFocus) {
        buttonBar_->exitButton()->setFocus();
    }
    // Save is offered only for a modified document with a name; a start without a file
    // has neither.
    applyWindowEnabling();
    const std::string& first = setup_.commandLineFile;
    bool loaded = false;
    if (!first.empty() && platform::isFile(first)) {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(first, error);
        loaded = load(error ? first : full.lexically_normal().string());
    } else if (!first.empty()) {
        // A name that is no file says so, as every load that fails does, instead of an
        // empty window that leaves the user guessing.
        loaded = load(first);
    }
    if (!loaded || isLoading()) { // a file loading in the background sizes the window later
        sizeWindow(std::string(kOtherFileClass), 0);
    }
    if (setup_.settings != nullptr &&
        setup_.settings->readBool(kWindowSection, kMaximizedKey, false)) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    // Always on Top is a window flag here, set before the window first shows.
    applyOnTop();
    // Names that later starts hand over are taken from here on.
    connectHandoff();
    // Once the window is up: the text an earlier run kept when a signal ended it, and the
    // old text of files whose saves a crash cut.
    QTimer::singleShot(0, this, [this] {
        reportRecoveredFiles();
        reportInterruptedSaves(this, dialogs(), languages_->strings(),
                               setup_.locations.settingsFolder);
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::createComponents() {
    setObjectName(QStringLiteral("TavrelF"));
    setFont(interfaceFont());
    resize(kInitialWidth, kInitialHeight);
    setMaximumSize(kMaxWindowWidth, kMaxWindowHeight);
    setAcceptDrops(true);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    editorRow_ = row;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    gutter_ = new LineGutter(central);
    gutter_->setObjectName(QStringLiteral("g"));
    gutter_->setFixedWidth(kGutterWidth);
    gutter_->setFont(interfaceFont());
    gutter_->setTextColor(Qt::white);
    gutter_->setRightBorder(false);
    gutter_->hide();

    editor_ = new TextEditor(central);
    editor_->setObjectName(QStringLiteral("m"));
    editor_->setFrameShape(QFrame::NoFrame);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    // The options every editor of the program has: column blocks (Alt+drag, Alt+Shift+drag,
    // Ctrl+Shift+B), Enter keeps the indentation, Tab aligns with the line above, copying
    // drops the in-text style codes.
    editor_->setOptions(kDefaultEditorOptions | eoAutoIndent | eoBlockSelection | eoPlainClipboard |
                        eoSmartTabs);
    // Undo keeps at most about 100 kB of replaced text: replacing a big file's whole text
    // then leaves nothing to undo instead of a second copy of the file in memory.
    editor_->engine().setUndoMaxSpace(100000);
    // Copying leaves the editor's format bytes behind; only the trimmed copy keeps them.
    editor_->setOptions(editor_->options() | eoPlainClipboard);
    gutter_->setEditor(editor_);

    row->addWidget(gutter_);
    row->addWidget(editor_, 1);
    column->addLayout(row, 1);
    progress_ = new LoadProgressBar(central);
    column->addWidget(progress_);
    notice_ = new NoticeBar(central);
    column->addWidget(notice_);
    buttonBar_ = new ButtonBar(central);
    column->addWidget(buttonBar_);
    auto* frames = new FocusFrames(this);
    auto* readingKeys = new ReadingKeysToText(editor_, this);
    for (QPushButton* button :
         {buttonBar_->copyButton(), buttonBar_->cutButton(), buttonBar_->pasteButton(),
          buttonBar_->saveButton(), buttonBar_->exitButton()}) {
        frames->watch(button);
        readingKeys->watch(button);
    }
    setCentralWidget(central);

    progressDelay_.setSingleShot(true);
    connect(&progressDelay_, &QTimer::timeout, progress_, &QWidget::show);
    // Esc belongs to the load while one runs, and to nobody otherwise.
    cancelLoad_ = new QAction(this);
    cancelLoad_->setShortcut(QKeySequence(Qt::Key_Escape));
    cancelLoad_->setShortcutContext(Qt::WindowShortcut);
    cancelLoad_->setEnabled(false);
    addAction(cancelLoad_);
    connect(cancelLoad_, &QAction::triggered, this,
            platform::guardedSlot([this] { cancelLoading(); }));

    saveBoundsTimer_.setInterval(1000);
    saveBoundsTimer_.setSingleShot(true);
    connect(&saveBoundsTimer_, &QTimer::timeout, this, [this] {
        if (!starting() && !sizing_) {
            saveBounds();
        }
    });

    menus_.build(mainMenuRows(), menuBar(), nullptr, this);
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    popupItems_.build(popupMenuRows(), nullptr, popup_, this);
    connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // A right click on an address opens the address when the button comes up.
        if (!editor_->hasAddressAt(at)) {
            popup_->popup(editor_->viewport()->mapToGlobal(at));
        }
    });
    createFindSession();
}

bool MainWindow::starting() const {
    return setup_.starting ? setup_.starting() : startupState().starting;
}

// --- Settings ------------------------------------------------------------------------------

void MainWindow::loadSettings() {
    if (setup_.settings != nullptr) {
        tavrel::loadSettings(*setup_.settings, options_, recent_, setup_.decimalSeparator);
    }
    finder().setFindText(options_.findText);
    finder().setReplaceText(options_.replaceText);
    // Start-up read the one-instance flag before this window existed.
    options_.oneInstance = startupState().oneInstance;
    // A reading chosen in the Encoding menu belongs to the file it was chosen for; every
    // start, like every other file, begins with the automatic one (an older version kept
    // the choice and showed art files as Windows-1252 ever after).
    options_.encoding = static_cast<std::int32_t>(EncodingChoice::Automatic);
    rebuildRecentMenu();
    applySettingsToWidgets();
    measureFont();
}

void MainWindow::applySettingsToWidgets() {
    applyViewerSettings(*editor_, options_);
    // The window's own: exports paint at the font's size and scale their pictures themselves.
    options_.zoom = std::clamp(options_.zoom, 1, TextEditor::kMaxZoom);
    editor_->setZoom(options_.zoom);
    gutter_->setColor(toQColor(options_.backColor));
    gutter_->setTextColor(toQColor(options_.editorFont.color));
    applyDragDrop();
    gutter_->setVisible(options_.lineNumbers);
}

void MainWindow::applyDragDrop() {
    EditorOptions editorOptions = editor_->options();
    if (options_.dragDrop) {
        editorOptions &= ~EditorOptions{eoNoDragnDrop};
    } else {
        editorOptions |= eoNoDragnDrop;
    }
    editor_->setOptions(editorOptions);
}

void MainWindow::writeSettings(ConfigSaver& settings) {
    options_.wordWrap = editor_->wordWrap();
    options_.findText = finder().findText();
    options_.replaceText = finder().replaceText();
    find_->keepOpenDialogPlace();
    AppSettings kept = options_;
    kept.encoding = static_cast<std::int32_t>(EncodingChoice::Automatic); // see loadSettings
    tavrel::saveSettings(settings, kept, recent_, setup_.decimalSeparator,
                         [this](ConfigSaver& store) { saveBounds(store); });
}

void MainWindow::saveBounds() {
    if (setup_.settings != nullptr) {
        saveBounds(*setup_.settings);
    }
}

QRect MainWindow::currentBounds() const {
    return geometry();
}

void MainWindow::saveBounds(ConfigSaver& settings) {
    const QRect bounds = currentBounds();
    placedBounds_ = bounds;
    tavrel::saveBounds(settings,
                       {isMaximized(), bounds.x(), bounds.y(), bounds.width(), bounds.height()},
                       fileClass_, options_.sameDim);
}

// --- Language ------------------------------------------------------------------------------

void MainWindow::buildLanguageMenu() {
    languageMenu_ =
        new LanguageMenu(menus_.menu("options_language"), [this](const std::string& name) {
            options_.language = name;
            languageChange();
        });
    std::vector<std::string> entries;
    if (!languages_->listLanguages(entries)) {
        return;
    }
    // Each language by its own name, so that a reader finds theirs whatever language the menu
    // shows; sorted by those names below "Automatic", which follows the menu's language.
    std::vector<std::pair<QString, std::string>> named;
    for (const std::string& entry : entries) {
        if (entry != automaticLanguage) {
            const std::u16string own = languages_->ownName(entry);
            named.emplace_back(own.empty() ? QString::fromStdString(entry)
                                           : QString::fromStdU16String(own),
                               entry);
        }
    }
    std::stable_sort(named.begin(), named.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    std::vector<std::string> sorted{std::string(automaticLanguage)};
    std::vector<QString> captions{
        QString::fromLatin1(automaticLanguage.data(), qsizetype(automaticLanguage.size()))};
    for (auto& [caption, entry] : named) {
        sorted.push_back(std::move(entry));
        captions.push_back(caption);
    }
    languageMenu_->build(sorted, options_.language, captions);
    languageMenu_->items().front()->setProperty(translationTagProperty, kAutomaticLanguageText);
}

void MainWindow::languageChange() {
    options_.language = languages_->loadLanguage(options_.language);
    translateComponent(this, languages_->strings());
    // The language files give few menu captions a mnemonic; Alt and a letter should reach
    // every item, so the others get one here (the files stay as they are).
    assignMenuMnemonics(menuBar(), menus_.menu("file_recentfiles"),
                        {buttonBar_->copyButton(), buttonBar_->cutButton(),
                         buttonBar_->pasteButton(), buttonBar_->saveButton(),
                         buttonBar_->exitButton()});
    assignMenuMnemonics(popup_);
    // Translated captions may be longer than the built-in ones: the buttons keep room for
    // them, and the window never gets narrower than the bar that holds them.
    buttonBar_->captionsChanged();
    setMinimumWidth(buttonBar_->minimumWidth());
}

QString MainWindow::langText(int number) const {
    return tavrel::langText(languages_->strings(), number);
}

QString MainWindow::langText(int number, const QString& english) const {
    return tavrel::langText(languages_->strings(), number, english);
}

void MainWindow::showError(int kind, const std::string& file, const std::string& reason) {
    dialogs().showError(this, langText(102), langText(kind == 1 ? 103 : 104),
                        file.empty() ? QString() : fileReasonText(file, reason));
}

void MainWindow::reportRecoveredFiles() {
    // Wherever an ended program could keep the text: beside the settings, else in the
    // user's own state folder.
    std::vector<std::string> files = takeRecoveryNote(setup_.locations.settingsFolder);
    if (!setup_.locations.recoveryFolder.empty()) {
        for (std::string& file : takeRecoveryNote(setup_.locations.recoveryFolder)) {
            files.push_back(std::move(file));
        }
    }
    if (files.empty()) {
        return;
    }
    QString paths;
    for (const std::string& file : files) {
        paths += (paths.isEmpty() ? QString() : QStringLiteral("\n")) + platform::qtFileName(file);
    }
    dialogs().showPlain(this, QString::fromLatin1(kApplicationTitle),
                        tavrel::langText(languages_->strings(), kRecoveredText,
                                         QStringLiteral("The program was ended while a question "
                                                        "was open. Your text was saved to:")),
                        paths);
}

void MainWindow::showOutOfMemory(const std::string& file) {
    // The box itself needs a little memory; when even that is gone, standard error is left.
    try {
        dialogs().showError(
            this, langText(102),
            langText(kOutOfMemoryText, QStringLiteral("There is not enough memory for this "
                                                      "command. The text was kept as it was.")),
            file.empty() ? QString() : fileReasonText(file, std::strerror(ENOMEM)));
    } catch (const std::bad_alloc&) {
        std::fputs("tavrel: not enough memory; the text was kept as it was\n", stderr);
    }
}

// --- Font and sizing ------------------------------------------------------------------------

void MainWindow::measureFont() {
    const GlyphMetrics& metrics = editor_->glyphMetrics();
    // The width of "x" stands for the average, as fonts report it; in a fixed-pitch font it
    // equals the widest glyph, and only then is the window sized by its text.
    averageCharWidth_ = metrics.advance('x');
    maxCharWidth_ = metrics.maxAdvance();
}

void MainWindow::sizeToContent() {
    const Document& document = editor_->engine().document();
    ContentWidthInput input;
    // ANSI art is drawn for a screen of its own width: the window takes it whole.
    input.autoWidth = options_.autoWidth || art_.isAnsi();
    input.averageCharWidth = averageCharWidth_;
    input.maxCharWidth = maxCharWidth_;
    input.lineCount = editor_->engine().paragraphs().count();
    input.lineNumbers = options_.lineNumbers;
    input.gutterWidth = gutter_->width();
    if (art_.isAnsi()) {
        input.widestChars = art_.screen->width();
    } else if (input.autoWidth && input.lineCount > 0) {
        // Every paragraph but the last is followed by a break.
        input.widestChars = widestLineChars(document.paragraphCount() - 1,
                                            [&](Pos p) { return document.paragraphLength(p); });
    }
    sizeWindow(fileClass_, contentWidth(input));
}

int MainWindow::editorHeight() {
    // Before the window is first shown no layout has placed anything: the editor still has
    // a new widget's default height (about 30 pixels), and the window's chrome would count
    // everything else. Lay the window out top-down now, as showing it would.
    // The menu bar's height, too, is only right once the style has polished it.
    if (!isVisible()) {
        ensurePolished();
        for (QLayout* each :
             {layout(), centralWidget() != nullptr ? centralWidget()->layout() : nullptr}) {
            if (each != nullptr) {
                each->invalidate();
                each->activate();
            }
        }
    }
    return editor_->height();
}

void MainWindow::sizeWindow(const std::string& fileClass, int desiredWidth) {
    if (isMaximized() || setup_.settings == nullptr) {
        return;
    }
    sizing_ = true;
    SizeWindowInput input;
    input.fileClass = fileClass;
    input.desiredWidth = desiredWidth;
    input.sameDim = options_.sameDim;
    input.autoHeight = options_.autoHeight || art_.isAnsi();
    input.lineCount = editor_->engine().paragraphs().count();
    input.lineHeight = editor_->lineHeight();
    input.windowTop = geometry().y();
    input.windowHeight = height();
    input.editorHeight = editorHeight();
    input.workArea = workArea_;
    WindowPlacement place = placeWindow(input, *setup_.settings);
    // Stored bounds may come from another screen set-up or a hand-edited file.
    std::vector<AreaRect> screens = screenAreas_;
    if (screens.empty()) {
        screens.push_back({workArea_.left, workArea_.top, workArea_.right, workArea_.bottom});
    }
    keepReachable(place, screens, frameExtents());
    options_.findLeft = place.findLeft;
    options_.findTop = place.findTop;
    find_->placeDialog();
    setGeometry(place.left, place.top, place.width, place.height);
    placedBounds_ = currentBounds();
    sizing_ = false;
}

FrameExtents MainWindow::frameExtents() const {
    if (isVisible()) {
        const QRect outer = frameGeometry();
        const QRect inner = geometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    }
    // Not yet framed by the window manager: allow for a title bar of the usual height and
    // a border as wide as window managers draw them.
    constexpr int border = 4;
    return {border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border};
}

// --- Showing, moving, closing ---------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_ || event->spontaneous()) {
        return;
    }
    shownOnce_ = true;
    modified_ = false;
    applyWindowEnabling();
    sizing_ = false;
}

void MainWindow::applyOnTop() {
    platform::setStaysOnTop(*this, options_.onTop);
}

void MainWindow::boundsMoved() {
    if (starting() || sizing_) {
        return;
    }
    // The window system reports the bounds this window gave itself once more when it maps
    // the window; only a real move or resize is the user's choice.
    if (currentBounds() == placedBounds_) {
        return;
    }
    saveBoundsTimer_.start(); // restarts: the bounds are written after 1000 ms of quiet
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    boundsMoved();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    boundsMoved();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A close that ran out of memory is refused: its question may not have been answered,
    // its save not made.
    if (!platform::runGuarded([&] { handleClose(event); })) {
        event->ignore();
    }
}

void MainWindow::handleClose(QCloseEvent* event) {
    if (saving_) {
        // The window manager's close or a signal: the file is written whole first.
        closeAfterSave_ = true;
        event->ignore();
        return;
    }
    if (askToSave()) {
        event->ignore();
        return;
    }
    saveBoundsTimer_.stop();
    cancelLoading(); // the worker stops reading; the window waits for it only when destroyed
    // The keyword-list editor is freed here once it exists.
    if (setup_.settings != nullptr) {
        saveSettingsAtClose(*setup_.settings, messageBoxReporter(this),
                            [this](ConfigSaver& settings) { writeSettings(settings); });
        setup_.settings = nullptr;
        if (setup_.releaseSettings) {
            setup_.releaseSettings();
        }
    }
    event->accept();
}

void MainWindow::writeSettingsNow() {
    if (setup_.settings == nullptr) {
        return;
    }
    saveSettingsAtClose(
        *setup_.settings,
        [](const std::string& message) { std::fprintf(stderr, "tavrel: %s\n", message.c_str()); },
        [this](ConfigSaver& settings) { writeSettings(settings); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!saving_ && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    platform::runGuarded([&] { handleDrop(event); });
}

void MainWindow::handleDrop(QDropEvent* event) {
    if (saving_) {
        return; // the document is being written: it is not replaced under the writer
    }
    std::vector<std::string> names;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) {
            names.emplace_back();
            continue;
        }
#ifdef _WIN32
        names.push_back(platform::fileNameOf(url.toLocalFile()));
#else
        // The path's own bytes: a name that is not UTF-8 (Latin-1 names from old archives)
        // arrives percent-encoded, and decoding it to text would give a name of no file.
        names.push_back(
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
#endif
    }
    event->acceptProposedAction();
    dropFiles(names);
}

} // namespace tavrel
