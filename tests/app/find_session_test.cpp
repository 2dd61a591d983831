// Find and replace as a part of its own, without the main window: an editor, a parent widget,
// five Edit items and the hooks the window would give.
#include "app/find_dialog.h"
#include "app/find_session.h"
#include "editor/qt/widget_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tavrel {
namespace {

struct FindSessionTest : ::testing::Test {
    std::unique_ptr<TextEditor> editor = test::makeEditor("cat dog cat");
    QWidget window;
    std::vector<QAction*> items;
    bool loading = false;
    int stillLoading = 0;
    int notFound = 0;
    int itemsChanged = 0;
    QPoint kept{-1, -1};
    std::unique_ptr<FindSession> session;

    FindSessionTest() {
        for (const char* keys : {"Ctrl+C", "Ctrl+X", "Ctrl+V", "Ctrl+Z", "Ctrl+A"}) {
            auto* item = new QAction(&window);
            item->setShortcut(QKeySequence(QString::fromLatin1(keys)));
            items.push_back(item);
        }
        FindSession::Hooks hooks;
        hooks.refuseChange = [this] {
            stillLoading += loading ? 1 : 0;
            return loading;
        };
        hooks.notFound = [this] { ++notFound; };
        hooks.itemsChanged = [this] { ++itemsChanged; };
        hooks.storedPlace = [] { return QPoint(120, 90); };
        hooks.keepPlace = [this](QPoint place) { kept = place; };
        session = std::make_unique<FindSession>(*editor, &window, items, std::move(hooks));
    }

    FindDialog& ask(const char* what, const char* with = "") {
        session->show();
        FindDialog& dialog = session->dialog();
        dialog.findField()->setEditText(QString::fromLatin1(what));
        dialog.replaceField()->setEditText(QString::fromLatin1(with));
        return dialog;
    }
    [[nodiscard]] std::pair<Pos, Pos> selection() const {
        return {editor->engine().selection().low(), editor->engine().selection().high()};
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(FindSessionTest, findNextSelectsRepeatWalksOnAndAMissTellsTheWindow) {
    FindDialog& dialog = ask("cat");
    dialog.findNextButton()->click();
    EXPECT_EQ(selection(), std::make_pair(Pos{0}, Pos{3}));
    settle();
    EXPECT_FALSE(dialog.isVisible()); // closed after every action
    session->repeat(false);
    EXPECT_EQ(selection(), std::make_pair(Pos{8}, Pos{11}));
    EXPECT_EQ(notFound, 0);
    ask("bird").findNextButton()->click();
    EXPECT_EQ(notFound, 1);
    EXPECT_EQ(itemsChanged, 3);
}

TEST_F(FindSessionTest, replacingWhileALoadRunsChangesNothingAndSaysWhy) {
    loading = true;
    ask("cat", "cow").replaceAllButton()->click();
    EXPECT_EQ(stillLoading, 1);
    EXPECT_EQ(test::textOf(*editor), "cat dog cat");
    loading = false;
    ask("cat", "cow").replaceAllButton()->click();
    EXPECT_EQ(test::textOf(*editor), "cow dog cow");
}

TEST_F(FindSessionTest, theOpenDialogTakesTheEditKeysAndClosingGivesThemBackAndKeepsItsPlace) {
    window.show();
    FindDialog& dialog = ask("cat");
    EXPECT_EQ(dialog.geometry().topLeft(), QPoint(120, 90));
    for (QAction* item : items) {
        EXPECT_TRUE(item->shortcut().isEmpty());
    }
    dialog.move(dialog.pos() + QPoint(30, 20));
    const QPoint left = dialog.geometry().topLeft();
    dialog.cancelButton()->click();
    settle();
    EXPECT_EQ(kept, left);
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    EXPECT_EQ(items[4]->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
}

} // namespace
} // namespace tavrel
