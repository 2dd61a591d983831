// Translation of a small widget tree and the Language submenu.
#include "lang/qt/language_menu.h"
#include "lang/qt/translator.h"

#include "lang/language_text.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace tavrel {
namespace {

template <typename T>
T* tagged(T* object, int tag) {
    object->setProperty(translationTagProperty, tag);
    return object;
}

LanguageStrings germanFile() {
    // Line n holds text n; line 4 is empty and line 6 lies beyond the end.
    return LanguageStrings(parseLanguageFile("|$0407\r\n|Datei\r\n|&Kopieren\r\n|Fenster\r\n"
                                             "|\r\n|Gr\xF6\xDF"
                                             "e \x80"));
}

TEST(Translator, translatesAWidgetTree) {
    QMainWindow window;
    tagged(&window, 3);
    window.setWindowTitle(QStringLiteral("Built-in"));
    auto* central = new QWidget(&window); // no tag: its children are still reached
    auto* layout = new QVBoxLayout(central);
    auto* label = tagged(new QLabel(QStringLiteral("File"), central), 1);
    auto* button = tagged(new QPushButton(QStringLiteral("&Copy"), central), 2);
    auto* emptyText = tagged(new QPushButton(QStringLiteral("Keep me"), central), 4);
    auto* beyond = tagged(new QLabel(QStringLiteral("Beyond"), central), 6);
    auto* edit = tagged(new QLineEdit(QStringLiteral("Edit"), central), 1);
    auto* untagged = new QLabel(QStringLiteral("Untagged"), central);
    const std::vector<QWidget*> widgets = {label, button, emptyText, beyond, edit, untagged};
    for (QWidget* w : widgets) {
        layout->addWidget(w);
    }
    window.setCentralWidget(central);
    QMenu* fileMenu = tagged(window.menuBar()->addMenu(QStringLiteral("File")), 1);
    QMenu* sub = tagged(fileMenu->addMenu(QStringLiteral("Sub")), 5);
    QAction* copy = tagged(sub->addAction(QStringLiteral("Copy")), 2);
    QAction* keep = tagged(fileMenu->addAction(QStringLiteral("Keep")), 4);

    translateComponent(&window, germanFile());

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Fenster"));
    EXPECT_EQ(label->text(), QStringLiteral("Datei"));
    EXPECT_EQ(button->text(), QStringLiteral("&Kopieren"));
    EXPECT_EQ(emptyText->text(), QStringLiteral("Keep me"));
    EXPECT_EQ(beyond->text(), QStringLiteral("Beyond"));
    EXPECT_EQ(edit->text(), QStringLiteral("Edit"));
    EXPECT_EQ(untagged->text(), QStringLiteral("Untagged"));
    EXPECT_EQ(fileMenu->title(), QStringLiteral("Datei"));
    EXPECT_EQ(sub->title(), QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                              "e \xE2\x82\xAC"));
    EXPECT_EQ(copy->text(), QStringLiteral("&Kopieren"));
    EXPECT_EQ(keep->text(), QStringLiteral("Keep"));
}

TEST(Translator, windowTitleIsSetEvenWhenEmpty) {
    QWidget about;
    about.setWindowTitle(QStringLiteral("About"));
    tagged(&about, 6);
    translateComponent(&about, germanFile());
    EXPECT_EQ(about.windowTitle(), QString());
}

TEST(Translator, charactersOutsideTheCodePageBecomeQuestionMarks) {
    QWidget window;
    auto* label = tagged(new QLabel(QStringLiteral("x"), &window), 1);
    const LanguageStrings strings(parseLanguageFile("\xEF\xBB\xBF|\n|\xE4\xB8\xAD\xE6\x96\x87!"));
    translateComponent(&window, strings);
    EXPECT_EQ(label->text(), QStringLiteral("?"
                                            "?!"));
}

struct MenuFixture {
    MenuFixture()
        : languages(
              new LanguageMenu(&menu, [this](const std::string& n) { chosen.push_back(n); })) {}
    QMenu menu;
    std::vector<std::string> chosen;
    LanguageMenu* languages;
};

TEST(LanguageMenu, listsEntriesThenAnInvisiblePlaceholder) {
    MenuFixture f;
    f.languages->build({"Automatic", "English", "German", "R&D"}, "German");
    const auto actions = f.menu.actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Automatic"));
    EXPECT_EQ(actions[3]->text(), QStringLiteral("R&&D"));
    EXPECT_EQ(actions[4]->text(), QStringLiteral("dummy"));
    EXPECT_FALSE(actions[4]->isVisible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(actions[i]->isCheckable());
        EXPECT_EQ(actions[i]->isChecked(), i == 2) << i;
    }
}

TEST(LanguageMenu, itemsShowTheirCaptionsAndChooseTheirNames) {
    MenuFixture f;
    f.languages->build({"Automatic", "German", "R&D"}, "German", {"", "Deutsch", "F&E"});
    const auto items = f.languages->items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Automatic"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("F&&E"));
    EXPECT_TRUE(items[1]->isChecked());
    items[2]->trigger();
    EXPECT_EQ(f.chosen, std::vector<std::string>{"R&D"});
}

TEST(LanguageMenu, settingMustMatchExactly) {
    MenuFixture f;
    f.languages->build({"Automatic", "English", "German"}, "german");
    for (QAction* item : f.languages->items()) {
        EXPECT_FALSE(item->isChecked());
    }
}

TEST(LanguageMenu, clickingTheCheckedItemDoesNothing) {
    MenuFixture f;
    f.languages->build({"Automatic", "English", "German"}, "English");
    const auto items = f.languages->items();
    items[1]->trigger();
    EXPECT_TRUE(f.chosen.empty());
    EXPECT_TRUE(items[1]->isChecked());

    items[2]->trigger();
    EXPECT_EQ(f.chosen, std::vector<std::string>{"German"});
    EXPECT_TRUE(items[2]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());

    items[2]->trigger();
    items[0]->trigger();
    EXPECT_EQ(f.chosen, (std::vector<std::string>{"German", "Automatic"}));
    EXPECT_TRUE(items[0]->isChecked());
}

} // namespace
} // namespace tavrel
