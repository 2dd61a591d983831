// What the window tells about the file it loads, with the real message boxes: a file that
// could not be loaded keeps the language text and names the file and the system's reason in
// the informative text; a text that stopped at a NUL byte says so in a notice that does not
// stop the user.
#include "window_fixture.h"

#include "app/notice_bar.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// The message box a call showed, read while it was open.
struct ShownBox {
    bool seen = false;
    QString text;
    QString informative;
    Qt::TextFormat informativeFormat = Qt::AutoText;
};

template <typename Call>
ShownBox boxShownBy(Call call) {
    ShownBox shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        shown.seen = true;
        shown.text = box->text();
        shown.informative = box->informativeText();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            shown.informativeFormat = label->textFormat();
        }
        box->done(QMessageBox::Ok);
    });
    call();
    return shown;
}

class LoadMessagesTest : public WindowTest {
protected:
    // The window with the real message boxes instead of the scripted answers.
    MainWindow& openWithRealBoxes() {
        MainWindowSetup s = setup();
        s.dialogs = nullptr;
        window = std::make_unique<MainWindow>(std::move(s));
        return *window;
    }
};

TEST_F(LoadMessagesTest, aFailedLoadNamesTheFileAndTheSystemsReasonAsPlainText) {
    MainWindow& w = openWithRealBoxes();
    fs::create_directory(folder / "a folder.nfo");
    const struct {
        std::string name;
        int error;
    } cases[] = {{folder / "<b>gone.nfo", ENOENT}, {folder / "a folder.nfo", EISDIR}};
    for (const bool convert : {true, false}) {
        w.options().convert = convert;
        for (const auto& [name, error] : cases) {
            SCOPED_TRACE(name + (convert ? " with the repair" : " without it"));
            const ShownBox box = boxShownBy([&] { EXPECT_FALSE(w.load(name)); });
            ASSERT_TRUE(box.seen);
            EXPECT_EQ(box.text.toStdString(), kLoadFailed);
            EXPECT_EQ(box.informative.toStdString(), name + "\n" + std::strerror(error));
            EXPECT_EQ(box.informativeFormat, Qt::PlainText);
        }
    }
}

TEST_F(LoadMessagesTest, aNulInTheMiddleIsToldInANoticeWithItsOffsetAndTheBytesNotShown) {
    MainWindow& w = open();
    const std::string bytes = std::string("shown\r\n") + '\0' + "twenty bytes hidden.";
    const std::size_t nul = bytes.find('\0');
    const std::string path = file("nul.nfo", bytes);
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "with the repair" : "without it");
        w.options().convert = convert;
        dialogs.log.clear();
        ASSERT_TRUE(w.load(path));
        EXPECT_EQ(text(w), "shown\r\n");
        QLabel* notice = nullptr;
        for (QLabel* label : w.findChildren<QLabel*>()) {
            if (label->text().contains(QStringLiteral("NUL"))) {
                notice = label;
            }
        }
        ASSERT_NE(notice, nullptr) << "no notice in the window";
        EXPECT_TRUE(notice->isVisibleTo(&w));
        EXPECT_TRUE(notice->window() == &w) << "the notice is part of the window";
        const std::string said = notice->text().toStdString();
        EXPECT_NE(said.find("offset " + std::to_string(nul)), std::string::npos) << said;
        EXPECT_NE(said.find(std::to_string(bytes.size() - nul) + " bytes"), std::string::npos)
            << said;
        EXPECT_TRUE(dialogs.log.empty()) << "nothing modal was shown";

        // The user can put it away; the next load of that file tells it again.
        w.notice().closeButton()->click();
        EXPECT_FALSE(notice->isVisibleTo(&w));
        ASSERT_TRUE(w.load(path));
        EXPECT_TRUE(notice->isVisibleTo(&w));

        // The next file without a NUL, and New, take the notice away.
        ASSERT_TRUE(w.load(file("clean.nfo", "clean")));
        EXPECT_FALSE(notice->isVisibleTo(&w));
        ASSERT_TRUE(w.load(path));
        EXPECT_TRUE(notice->isVisibleTo(&w));
        w.newDocument();
        EXPECT_FALSE(notice->isVisibleTo(&w));

        // Saved over the file with the tail dropped (confirmed): nothing is hidden any more.
        ASSERT_TRUE(w.load(path));
        type(w, ">");
        dialogs.confirmAnswers = {true};
        ASSERT_TRUE(w.save());
        EXPECT_FALSE(notice->isVisibleTo(&w));
        writeFile(path, bytes);
    }
}

} // namespace
} // namespace tavrel::test
