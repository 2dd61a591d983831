// The Options menu's colour and font commands, the help, the uninstaller and the About box,
// on an offscreen window with the dialogs answered by the test.
#include "app/about_box.h"
#include "app/help_window.h"
#include "editor/qt/line_gutter.h"
#include "platform/qt_look.h"
#include "window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>

#include <fstream>

namespace tavrel::test {
namespace {

class ScriptedOptionDialogs final : public OptionDialogs {
public:
    std::deque<std::optional<Color>> colours;
    std::deque<std::optional<FontSpec>> fonts;
    std::vector<Color> colourStarts;
    std::vector<FontSpec> fontStarts;

    std::optional<Color> chooseColor(QWidget*, Color initial) override {
        colourStarts.push_back(initial);
        return take(colours);
    }
    std::optional<FontSpec> chooseFont(QWidget*, const FontSpec& initial) override {
        fontStarts.push_back(initial);
        return take(fonts);
    }

private:
    template <typename T>
    static std::optional<T> take(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        auto value = queue.front();
        queue.pop_front();
        return value;
    }
};

FontSpec monospace(int points, Color colour = rgbColor(0xFF, 0xFF, 0)) {
    FontSpec font;
    font.face = "DejaVu Sans Mono";
    font.points = points;
    font.color = colour;
    return font;
}

class OptionsCommands : public WindowTest {
protected:
    ScriptedOptionDialogs options;
    std::vector<std::string> started;
    bool startWorks = true;

    MainWindow& openWithOptions(std::string file = {}, std::string programFolder = {}) {
        MainWindowSetup s = setup(std::move(file));
        s.optionDialogs = &options;
        if (!programFolder.empty()) {
            s.locations.programFolder = programFolder;
        }
        s.startProgram = [this](const std::string& path) {
            started.push_back(path);
            return startWorks;
        };
        window = std::make_unique<MainWindow>(std::move(s));
        return *window;
    }
};

TEST_F(OptionsCommands, backgroundColourGoesToEditorAndGutterAndCancelKeepsIt) {
    MainWindow& w = openWithOptions();
    const Color before = w.options().backColor;
    options.colours = {rgbColor(0x12, 0x34, 0x56), std::nullopt};
    w.action("Setcolor1")->trigger();
    EXPECT_EQ(options.colourStarts.front(), before);
    EXPECT_EQ(w.editor().color(), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(w.gutter().color(), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(w.options().backColor, rgbColor(0x12, 0x34, 0x56));

    w.action("Setcolor1")->trigger(); // Cancel
    EXPECT_EQ(w.options().backColor, rgbColor(0x12, 0x34, 0x56));
    EXPECT_EQ(w.editor().color(), QColor(0x12, 0x34, 0x56));
}

TEST_F(OptionsCommands, aFontChangeSetsLineHeightAndResizesOnlyWithTheSizeOptions) {
    const std::string wide = file("wide.txt", std::string(60, 'W') + "\r\nshort\r\n");
    MainWindow& w = openWithOptions(wide);
    w.options().autoWidth = true;
    w.options().autoHeight = false;
    options.fonts = {monospace(20), monospace(8)};
    const int widthBefore = w.width();

    w.action("SetFont1")->trigger();
    const int bigLine = w.editor().lineHeight();
    EXPECT_EQ(w.options().editorFont, monospace(20));
    EXPECT_GT(w.width(), widthBefore) << "a 20 pt font makes 60 characters wider";
    EXPECT_EQ(w.gutter().textColor(), QColor(0xFF, 0xFF, 0));
    EXPECT_EQ(w.editor().textColor(), QColor(0xFF, 0xFF, 0));

    // A smaller font gives a smaller line; with both size options off the window stays.
    w.options().autoWidth = false;
    const int widthBig = w.width();
    w.action("SetFont1")->trigger();
    EXPECT_LT(w.editor().lineHeight(), bigLine);
    EXPECT_EQ(w.width(), widthBig);

    w.action("SetFont1")->trigger(); // Cancel
    EXPECT_EQ(w.options().editorFont, monospace(8));
}

TEST_F(OptionsCommands, thePrintFontIsKeptForPrintingAndTheScreenKeepsItsFont) {
    MainWindow& w = openWithOptions();
    const FontSpec screen = w.options().editorFont;
    const int line = w.editor().lineHeight();
    options.fonts = {monospace(30, 0)};
    w.action("SetPrintFont1")->trigger();
    EXPECT_EQ(options.fontStarts.front(), AppSettings().printFont);
    EXPECT_EQ(w.options().printFont, monospace(30, 0));
    EXPECT_EQ(w.options().editorFont, screen);
    EXPECT_EQ(w.editor().lineHeight(), line);
}

TEST_F(OptionsCommands, uninstallAsksToSaveThenStartsTheUninstallerAndCloses) {
    TempFolder program;
    std::filesystem::copy(TAVREL_BINARY_DIR "/bin/languages", program / "languages");
    const std::string uninstaller = program / "uninstall";
    writeFile(uninstaller, "#!/bin/sh\n");
    std::filesystem::permissions(uninstaller, std::filesystem::perms::owner_all);
    MainWindow& w = openWithOptions({}, program.folderText());
    w.show();
    EXPECT_TRUE(w.action("UninstallTavrel1")->isVisible());
    type(w, "unsaved");
    dialogs.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};

    // Cancel in the save question keeps the window (and its text) after the start.
    w.action("UninstallTavrel1")->trigger();
    EXPECT_EQ(started, std::vector<std::string>{uninstaller});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(dialogs.log.front(), "ask:" + kSaveQuestion);

    w.action("UninstallTavrel1")->trigger();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(OptionsCommands, anUninstallerThatCannotStartIsReportedAndTheWindowStays) {
    TempFolder program;
    std::filesystem::copy(TAVREL_BINARY_DIR "/bin/languages", program / "languages");
    const std::string uninstaller = program / "uninstall";
    writeFile(uninstaller, "#!/bin/sh\n");
    std::filesystem::permissions(uninstaller, std::filesystem::perms::owner_all);
    startWorks = false;
    MainWindow& w = openWithOptions({}, program.folderText());
    w.show();
    w.action("UninstallTavrel1")->trigger();
    EXPECT_TRUE(w.isVisible());
    ASSERT_FALSE(dialogs.log.empty());
    EXPECT_EQ(dialogs.log.back(), "error:Error:The uninstaller could not be started.");
}

TEST_F(OptionsCommands, withoutAnUninstallerBesideTheProgramTheItemIsHidden) {
    TempFolder program;
    MainWindow& w = openWithOptions({}, program.folderText());
    EXPECT_FALSE(w.action("UninstallTavrel1")->isVisible());
}

// The help shipped with the program, in each language, names every Options command by the
// caption that language gives it, so a user finds each one there; Help > Contents opens the
// one of the menus' language. The expected title is read from the help file itself.
TEST_F(OptionsCommands, theHelpOpensAtItsContentsInTheMenusLanguageAndDescribesEveryOption) {
    MainWindow& w = openWithOptions();
    for (const char* language : {"English", "German"}) {
        SCOPED_TRACE(language);
        w.options().language = language;
        w.languageChange();
        const QString index = helpIndex(TAVREL_BINARY_DIR "/bin/", language);
        ASSERT_FALSE(index.isEmpty());
        QFile html(index);
        ASSERT_TRUE(html.open(QIODevice::ReadOnly));
        const QString text =
            QString::fromUtf8(html.readAll()).replace(QStringLiteral("&amp;"), "&");
        for (QAction* action : w.menu("Options1")->actions()) {
            QString caption = action->text();
            caption.remove(QLatin1Char('&'));
            if (caption.isEmpty() || action->isSeparator()) {
                continue;
            }
            const QString shown = caption == QStringLiteral("Drag  Drop") ? "Drag & Drop" : caption;
            EXPECT_TRUE(text.contains(shown)) << shown.toStdString() << " is not in the help";
        }
        const qsizetype title = text.indexOf(QStringLiteral("<title>")) + 7;
        const QString expectedTitle =
            text.mid(title, text.indexOf(QStringLiteral("</title>")) - title);

        w.action("Contents1")->trigger();
        auto* help = w.findChild<QDialog*>(QStringLiteral("HelpWindow"));
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), expectedTitle);
    }
    EXPECT_NE(helpIndex(TAVREL_BINARY_DIR "/bin/", "German"),
              helpIndex(TAVREL_BINARY_DIR "/bin/", "English"));
    // A language without a help of its own, and a name that would lead out of the folder,
    // read the English one.
    for (const char* language : {"Klingon", "../German", ""}) {
        EXPECT_EQ(helpIndex(TAVREL_BINARY_DIR "/bin/", language),
                  helpIndex(TAVREL_BINARY_DIR "/bin/", "English"))
            << language;
    }
}

// Each language is listed by its own name, whatever the menus' language; "Automatic" speaks
// the menus' language. The item still chooses the language's file.
TEST_F(OptionsCommands, theLanguageMenuListsEachLanguageByItsOwnName) {
    MainWindow& w = openWithOptions();
    const auto captions = [&] {
        QStringList shown;
        for (QAction* item : w.menu("options_language")->actions()) {
            if (item->isVisible()) {
                shown << item->text().remove(QLatin1Char('&'));
            }
        }
        return shown.join(QStringLiteral(", ")).toStdString();
    };
    EXPECT_EQ(captions(), "Automatic, Deutsch, English");
    w.menu("options_language")->actions()[1]->trigger();
    EXPECT_EQ(w.options().language, "German");
    EXPECT_EQ(w.menuBar()->actions().front()->text().remove(u'&'), "Datei");
    EXPECT_EQ(captions(), "Automatisch, Deutsch, English");
}

// The German texts come straight from the shipped language file: texts 96 to 98 (the first
// line is the file's header, so text n stands on line n + 1).
TEST_F(OptionsCommands, theAboutBoxSpeaksTheCurrentLanguage) {
    MainWindow& w = openWithOptions();
    w.options().language = "German";
    w.languageChange();
    std::ifstream german(TAVREL_SOURCE_DIR "/languages/German.olf", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(german, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line.substr(line.find('|') + 1));
    }
    ASSERT_GT(lines.size(), 99u);

    AboutBox box(&w, w.languages().strings(), {});
    EXPECT_EQ(box.windowTitle().toStdString(), lines[96]);
    const auto buttons = box.findChildren<QPushButton*>();
    std::vector<std::string> captions;
    for (QPushButton* button : buttons) {
        captions.push_back(button->text().toStdString());
    }
    EXPECT_NE(std::find(captions.begin(), captions.end(), lines[98]), captions.end()) << "Ok";
    EXPECT_NE(std::find(captions.begin(), captions.end(), lines[97]), captions.end())
        << "Visit homepage";
    EXPECT_EQ(box.size(), QSize(391, 158));
    ASSERT_GT(lines.size(), 562u);
    bool noticeShown = false;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        noticeShown = noticeShown || label->text().toStdString() == lines[562];
    }
    EXPECT_TRUE(noticeShown) << lines[562];
    bool versionShown = false;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        versionShown = versionShown || label->text() == QStringLiteral("4.5.0.0");
    }
    EXPECT_TRUE(versionShown);
}

} // namespace
} // namespace tavrel::test

namespace tavrel::test {
namespace {

// The highlight colour commands refresh the keywords from their file also after Cancel, so
// a list edited outside the program shows at once.
TEST_F(OptionsCommands, highlightColourCommandsRefreshTheKeywordsEvenAfterCancel) {
    file("highlight.dat", "art\r\n");
    MainWindow& w = openWithOptions(file("a.nfo", "art and more"));
    const auto firstRunLength = [&w] {
        const auto runs = w.editor().highlights().paragraphRuns(0);
        return runs.empty() ? Pos(-1) : runs.front().length;
    };
    ASSERT_EQ(firstRunLength(), 3);
    file("highlight.dat", "more\r\n");

    w.action("SetHighlightColor1")->trigger(); // Cancel
    EXPECT_EQ(firstRunLength(), 4) << "the edited list was not reloaded";
    const Color foreground = w.options().highlightColor;
    EXPECT_EQ(options.colourStarts.back(), foreground);

    options.colours = {rgbColor(1, 2, 3)};
    w.action("SetHighlightBackgroundColor1")->trigger();
    EXPECT_EQ(w.options().highlightBackground, rgbColor(1, 2, 3));
    EXPECT_EQ(w.options().highlightColor, foreground);
}

} // namespace
} // namespace tavrel::test
