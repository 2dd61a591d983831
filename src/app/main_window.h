// The main window: one text file at a time in the editor, sized to its text, with the file
// commands, the menus and the button bar. Its object name "TavrelF" is how a second start of
// the program finds it.
#pragma once

#include "app/art_file.h"
#include "app/document_title.h"
#include "app/item_enabling.h"
#include "app/main_menus.h"
#include "app/option_dialogs.h"
#include "app/print_setup.h"
#include "app/recent_files.h"
#include "app/save_as_image.h"
#include "app/settings_catalogue.h"
#include "app/startup.h"
#include "app/window_dialogs.h"
#include "app/window_sizing.h"
#include "editor/url_highlighter.h"
#include "lang/language_handler.h"
#include "platform/file_watch.h"
#include "text/unicode_art.h"
#include "textcmd/find_replace.h"

#include <QColor>
#include <QMainWindow>
#include <QRect>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QHBoxLayout;
class QMenu;
class QPrinter;

namespace tavrel::platform {
class FileWatch;
class InstanceServer;
} // namespace tavrel::platform

namespace tavrel {

class AddressLauncher;
class AnsiColourRuns;
class HighlightSource;
class BackgroundLoad;
class ButtonBar;
class FileLoad;
class LoadProgressBar;
class FindDialog;
class FindReplace;
class FindSession;
class KeywordDialog;
class PrintLayout;
class QtPrintDevice;
class LanguageMenu;
class NoticeBar;
class LineGutter;
class TextEditor;

// What the window is given instead of reaching for process-wide state, so that tests can
// hand in their own store, folders, answers and writer.
struct MainWindowSetup {
    ConfigSaver* settings = nullptr;  // the store; it must outlive the window's close
    StorageLocations locations;       // program and settings folders
    std::string commandLineFile;      // the first argument; empty for none
    WindowDialogs* dialogs = nullptr; // null: the real message boxes and file dialogs
    StreamWriter writer;              // empty: the atomic file writer, streamed
    std::function<bool()> starting;   // empty: start-up's starting flag
    std::optional<WorkArea> workArea; // empty: the screen's available geometry
    // Called by the close handler after the settings were written: start-up frees the store.
    std::function<void()> releaseSettings;
    char decimalSeparator = 0;              // 0: the system's
    OptionDialogs* optionDialogs = nullptr; // null: Qt's colour and font dialogs
    // Open a web address and start a program; empty: the desktop's.
    std::function<bool(const std::string&)> openAddress;
    std::function<bool(const std::string&)> startProgram;
    // The running instance's end of the handoff, when this start holds it.
    platform::InstanceServer* handoff = nullptr;
    // Takes the lock for a window that started without it: the end now held, or null while
    // another start holds it. Empty: the window never takes it.
    std::function<platform::InstanceServer*()> takeInstanceLock;
    AddressLauncher* launcher = nullptr; // what clicked addresses go to; null: the desktop
    // Files of this size or more load on a worker thread while the window stays alive;
    // smaller ones take a few milliseconds and load at once.
    std::uint64_t backgroundLoadBytes = std::uint64_t(16) << 20;
    // How long a background load runs before its progress line shows.
    int loadProgressDelayMs = 500;
    // Documents of this size or more are written on a worker thread, with the same progress
    // line, while the window keeps painting and answering.
    std::uint64_t backgroundSaveBytes = std::uint64_t(16) << 20;
};

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kInitialWidth = 704;
    static constexpr int kInitialHeight = 365;
    static constexpr int kGutterWidth = 30;
    // Language texts of this window's own messages: a command that ran out of memory, and
    // where the text of a program ended by a signal was kept.
    static constexpr int kOutOfMemoryText = 420;
    static constexpr int kRecoveredText = 421;
    // The Open and Save as dialogs' filter, as the program writes it.
    static constexpr const char* kFileFilter =
        "All files (*.*)|*.*|Tavrel files (*.diz;*.nfo;*.txt;*.ini)|*.diz;*.nfo;*.txt;*.ini";

    explicit MainWindow(MainWindowSetup setup, QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete; // a window is one object on screen
    MainWindow& operator=(const MainWindow&) = delete;

    // --- Loading and sizing ------------------------------------------------------------
    // Loads a file and makes it the current one; false (and nothing changed) when it could
    // not be read. A large file loads in the background: load() then answers true at once,
    // the old document stays (read-only) until the new one is complete, and isLoading()
    // tells; its first paragraphs show in its place meanwhile once they are known. Esc or
    // cancelLoading() brings back the old document as it was.
    bool load(const std::string& name);
    [[nodiscard]] bool isLoading() const noexcept { return loading_ != nullptr; }
    [[nodiscard]] bool isSaving() const noexcept { return saving_; }
    void cancelLoading();
    [[nodiscard]] LoadProgressBar& loadProgress() const noexcept { return *progress_; }
    // While a large file loads: the read-only editor that shows its first paragraphs in place
    // of the old document, once they are known; null before and after.
    [[nodiscard]] TextEditor* firstPieceEditor() const noexcept { return firstPieceEditor_; }
    void updateTitle();
    void measureFont();
    void sizeToContent();
    void sizeWindow(const std::string& fileClass, int desiredWidth);
    void saveBounds();
    // The text at `factor` times the font's size (clamped to 1..8), stored as "Zoom"; the
    // window is sized to the text again when a size option is on.
    void setZoom(int factor);
    [[nodiscard]] int zoom() const noexcept;

    // --- File commands -----------------------------------------------------------------
    // True when the user cancelled.
    [[nodiscard]] bool askToSave();
    void addRecent(const std::string& name);
    bool save();
    bool saveAs();
    void saveAsGif();
    void saveAsPng();
    void print();
    void printPreview();
    // The print dialog and the preview window; tests put answers of their own here.
    std::function<bool(QPrinter& printer, QWidget* parent)> askPrinter;
    std::function<void(PrintLayout& layout, QtPrintDevice& device, QWidget* parent,
                       const QColor& textColor)>
        showPreview;
    void newDocument();
    void open();
    void openRecent(const std::string& caption);
    // Names as the file system spells them, in bytes.
    void dropFiles(const std::vector<std::string>& names);
    void showProperties();
    // A name another start handed over: the window comes to the front and, unless the
    // name is empty or the user cancels the save question, loads it. Names that arrive
    // while one is being taken wait their turn.
    void takeHandedName(const std::string& name);

    // --- Settings ----------------------------------------------------------------------
    void loadSettings();
    // Writes the catalogue between start-up's version mark and flush.
    void writeSettings(ConfigSaver& settings);
    // The close sequence's settings step on its own, for an end that cannot wait for the
    // close (a signal while a dialog is open); failures go to standard error.
    void writeSettingsNow();
    void languageChange();

    // --- State, for the commands of later parts and for tests --------------------------
    [[nodiscard]] TextEditor& editor() const noexcept { return *editor_; }
    [[nodiscard]] LineGutter& gutter() const noexcept { return *gutter_; }
    [[nodiscard]] ButtonBar& buttonBar() const noexcept { return *buttonBar_; }
    [[nodiscard]] const std::string& fileName() const noexcept { return fileName_; }
    [[nodiscard]] const StorageLocations& locations() const noexcept { return setup_.locations; }
    [[nodiscard]] const std::string& fileClass() const noexcept { return fileClass_; }
    [[nodiscard]] bool isModified() const noexcept { return modified_; }
    // How the shown file was written: its own bytes, or Unicode art decoded for the display.
    [[nodiscard]] const UnicodeForm& textForm() const noexcept { return textForm_; }
    // The shown file's SAUCE record and the bytes kept with it; its drawn screen when it is
    // shown as ANSI art (read-only, in its own colours).
    [[nodiscard]] const ArtFile& art() const noexcept { return art_; }
    [[nodiscard]] AppSettings& options() noexcept { return options_; }
    [[nodiscard]] const RecentFiles& recentFiles() const noexcept { return recent_; }
    [[nodiscard]] QAction* action(const std::string& name) const { return menus_.action(name); }
    [[nodiscard]] QMenu* menu(const std::string& name) const { return menus_.menu(name); }
    [[nodiscard]] QMenu* popupMenu() const noexcept { return popup_; }
    [[nodiscard]] QAction* popupAction(const std::string& name) const {
        return popupItems_.action(name);
    }
    [[nodiscard]] QTimer& saveBoundsTimer() noexcept { return saveBoundsTimer_; }
    [[nodiscard]] QTimer& handoffTimer() noexcept { return handoffTimer_; }
    [[nodiscard]] const WorkArea& workArea() const noexcept { return workArea_; }
    [[nodiscard]] int averageCharWidth() const noexcept { return averageCharWidth_; }
    [[nodiscard]] int maxCharWidth() const noexcept { return maxCharWidth_; }
    [[nodiscard]] const LanguageHandler& languages() const noexcept { return *languages_; }
    // The help file beside the program and the keyword list in the settings folder.
    [[nodiscard]] const std::string& helpFile() const noexcept { return helpFile_; }
    [[nodiscard]] const std::string& keywordFile() const noexcept { return keywordFile_; }

    // --- Find and replace, the copy routine ----------------------------------------------
    [[nodiscard]] FindDialog& findDialog() const noexcept;
    [[nodiscard]] FindReplace& finder() const noexcept;
    // Copy with the trim option applied; nothing without a selection.
    void copySelection();

    // The address highlighter of the window's editor (attached while "Launch URLs on click"
    // is on), and the keyword dialog once "Edit Highlight List..." made it.
    [[nodiscard]] UrlHighlighter& addressHighlighter() noexcept { return *urls_; }
    [[nodiscard]] KeywordDialog* keywordDialog() const noexcept { return keywordDialog_; }
    // Reloads the keyword list and gives the highlight colours to the address styles: after
    // the keyword dialog closes, the toggle, and either highlight colour command.
    void refreshKeywords();

    // Language texts by number, for the messages of the commands.
    [[nodiscard]] QString langText(int number) const;
    // A text of the program's own block; `english` while a language file lacks it.
    [[nodiscard]] QString langText(int number, const QString& english) const;
    // ShowError: kind 1 shows text 103, kind 2 text 104; a file's name and the system's
    // reason, when given, go into the box's informative text.
    void showError(int kind, const std::string& file = {}, const std::string& reason = {});
    // The notice line above the button bar (a file not readable in the chosen encoding, for
    // one).
    [[nodiscard]] NoticeBar& notice() const noexcept { return *notice_; }
    // A command ran out of memory: says so (text 420) over the window, naming the file
    // when there is one. The command left the document and the edit as they were.
    void showOutOfMemory(const std::string& file = {});
    // Tells where the text of an earlier run, ended by a signal during a question, was
    // kept (text 421, the files' paths as details); each recovery file is reported once.
    void reportRecoveredFiles();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The work of the handlers above, inside the out-of-memory guard (platform/command_guard.h).
    void handleClose(QCloseEvent* event);
    void handleDrop(QDropEvent* event);
    bool filterEditorEvent(QObject* watched, QEvent* event);
    void createComponents();
    void connectHandoff();
    void listenForHandedNames();
    void takeFreeInstanceLock();
    void connectAuxiliaryCommands();
    void chooseBackgroundColor();
    void chooseEditorFont();
    void choosePrintFont();
    void chooseHighlightColor(Color& setting);
    void uninstall();
    void showAbout();
    [[nodiscard]] bool openAddress(const std::string& address) const;
    void takeNextHandedName();
    void bringToFront();
    void connectCommands();
    void connectOptions();
    void connectZoom();
    // Changes of the shown file on disk (main_window_reload.cpp).
    void connectFileWatch();
    void shownFileChanged();
    void shownFileVanished();
    void shownFileWritten();
    void connectHighlighting();
    void editHighlightList();
    // The keyword file's bytes for the dialog; empty, after a message, when it is there but
    // cannot be read (`unreadable`).
    [[nodiscard]] std::string readKeywordList(bool& unreadable);
    void applySettingsToWidgets();
    void applyDragDrop();
    void buildLanguageMenu();
    void rebuildRecentMenu();
    void updateOptionsMenu();
    // The enabling rules (item_enabling.h) applied to the rows of one group; the rows
    // that follow the window's state are applied after each change of it.
    void applyEnabling(ItemGroup group);
    void applyWindowEnabling() { applyEnabling(ItemGroup::Window); }
    // What the rules need to know; the clipboard and the file system are asked only for
    // the groups whose rules read them.
    [[nodiscard]] WindowState enablingState(ItemGroup group) const;
    void reenableGuardedItems();
    // Connects a main-menu item whose shortcut must meet its enabling rule.
    void guard(const char* item, ItemGroup group, std::function<void()> run);
    void editorChanged();
    // Find and replace (main_window_find.cpp).
    void createFindSession();
    void connectFind();
    void updateFindItems();
    void takeDialogShortcuts();
    void giveBackDialogShortcuts();
    // Clipboard habits of the editor (main_window_edit.cpp).
    void connectEditorHabits();
    void offerPrimarySelection();
    void pastePrimarySelection(const QPoint& viewportPoint);
    void focusAfterLoad();
    // Makes a finished load the current document, or reports why it failed.
    bool finishLoad(FileLoad& load);
    // Answers true while the load runs, or the outcome when no thread could be started.
    bool startBackgroundLoad(std::unique_ptr<FileLoad> load);
    // The progress line hidden and the editor writable again.
    void endLoadingLook();
    // Tells in the notice line that nothing changes the document while a file loads.
    void noticeStillLoading();
    // The first screen of a file still loading (main_window_first_piece.cpp): shown in an
    // editor of its own, dropped again with where the user had moved in it, and that place
    // (or a reload's kept offset) given to the whole document once it is shown.
    void showFirstPiece(FileLoad& load);
    void dropFirstPiece();
    void forgetLoadView() noexcept;
    void applyLoadView();
    void applyOnTop();
    void boundsMoved();
    void saveBounds(ConfigSaver& settings);
    // The bounds SaveBounds writes: the window's own area without the frame the window
    // system adds, whose size is known only once the window is shown.
    [[nodiscard]] QRect currentBounds() const;
    [[nodiscard]] bool writeDocument(const std::string& path);
    // Writes the document through the writer, on a worker thread with the progress line when
    // it is long.
    [[nodiscard]] WriteStatus streamDocument(const std::string& path);
    [[nodiscard]] ImageSaveCommand imageSaveCommand();
    // The load message (text 103) for a file that could not be read, and why.
    void reportLoadFailure(const std::string& name, const std::string& reason);
    // Tells that the file could not be read as the UTF-8 or UTF-16 the user chose.
    void noticeUnreadableEncoding();
    // The form the shown document is saved in; the editor types in it too.
    void setTextForm(const UnicodeForm& form);
    // Tells that typed characters were left out: the Unicode art file could not hold them.
    void noticeTypingRefused(const QString& characters);
    // ANSI art (main_window_art.cpp): shown drawn and read-only, or as text again.
    void setArt(ArtFile art);
    void noticeAnsiReadOnly();
    // The colours of the shown ANSI art, for printing; null for any other text.
    [[nodiscard]] HighlightSource* ansiColours() const noexcept;
    // The Encoding submenu: redraws a file shown as its bytes in the other glyphs, reloads
    // any other file the chosen way (asking first to save edits).
    void chooseEncoding(EncodingChoice choice);
    [[nodiscard]] WindowDialogs& dialogs() const noexcept { return *dialogs_; }
    [[nodiscard]] bool starting() const;
    [[nodiscard]] int editorHeight();
    [[nodiscard]] FrameExtents frameExtents() const;

    MainWindowSetup setup_;
    std::unique_ptr<QtWindowDialogs> ownDialogs_;
    std::unique_ptr<QtOptionDialogs> ownOptionDialogs_;
    WindowDialogs* dialogs_ = nullptr;
    std::unique_ptr<LanguageHandler> languages_;
    LanguageMenu* languageMenu_ = nullptr;

    // The window's parts: the line numbers, the text, the buttons and the lines below it.
    LineGutter* gutter_ = nullptr;
    TextEditor* editor_ = nullptr;
    ButtonBar* buttonBar_ = nullptr;
    NoticeBar* notice_ = nullptr;
    LoadProgressBar* progress_ = nullptr;
    std::unique_ptr<BackgroundLoad> loading_; // the load running for the window, if any
    QTimer progressDelay_;                    // shows the progress line of a long load
    QAction* cancelLoad_ = nullptr;           // Esc while a load runs
    // A long save runs (background_save.h): drops and handed names wait, and a close asked
    // for meanwhile comes once the file is written.
    bool saving_ = false;
    bool closeAfterSave_ = false;
    bool readOnlyBeforeLoad_ = false;
    bool editedWhileLoading_ = false; // the old document changed after the load began
    // The loading file as it was when its load began: a change before the load ends is
    // reported once the document is shown.
    std::optional<platform::FileStamp> loadStamp_;
    QHBoxLayout* editorRow_ = nullptr; // the gutter and the editor
    TextEditor* firstPieceEditor_ = nullptr;
    Pos firstPieceShownTop_ = 0; // the text position the first piece was shown from
    // Where the user had moved in the first piece, once it was dropped for the whole: the
    // selection and the text position at the view's top (pixels would move while the lines
    // above are still being wrapped).
    struct LoadView {
        Pos anchor = 0;
        Pos caret = 0;
        Pos top = 0;
        bool scrolled = false;
    };
    std::optional<LoadView> firstPieceView_;
    // A reload's view offset, kept until the new document is shown.
    std::optional<std::int64_t> keptOffset_;
    QTimer handoffTimer_; // takes handed names outside the socket's signal
    std::deque<std::string> handedNames_;
    bool takingHandedName_ = false; // the save question may run an event loop
    QTimer saveBoundsTimer_;        // writes the bounds 1000 ms after the last move or resize
    MenuSet menus_;
    MenuSet popupItems_;
    QMenu* popup_ = nullptr;
    std::vector<QAction*> guarded_;
    std::unique_ptr<FindSession> find_;
    QTimer primaryTimer_; // offers the selection as the primary selection once it settles

    AppSettings options_;
    PrintChoices printChoices_; // the preview's columns and line numbers, for this run only
    RecentFiles recent_;
    std::string fileName_;
    std::string fileClass_{kOtherFileClass};
    bool modified_ = false;
    bool sizing_ = true;
    bool shownOnce_ = false;
    WorkArea workArea_;
    std::vector<AreaRect> screenAreas_; // empty: the work area alone
    QRect placedBounds_;                // the bounds SizeWindow set or SaveBounds wrote last
    int averageCharWidth_ = 8;
    int maxCharWidth_ = 8;
    std::string helpFile_;
    std::string keywordFile_;
    std::unique_ptr<UrlHighlighter> urls_;
    std::unique_ptr<AddressLauncher> desktopLauncher_;
    KeywordDialog* keywordDialog_ = nullptr;
    UnicodeForm textForm_;
    ArtFile art_;
    std::unique_ptr<AnsiColourRuns> ansiColours_;    // the editor's highlight source for ANSI art
    std::unique_ptr<platform::FileWatch> fileWatch_; // the shown file, while there is one
    bool askingReload_ = false;
    // The shown file vanished (its notice is up), and no edit was made since: the text is
    // still the file's own, so a file that comes back replaces it without a question.
    bool fileGone_ = false;
    bool goneUnedited_ = false;
};

} // namespace tavrel
