// What the window tells about the file it loads, with the real message boxes: a file that
// could not be loaded keeps the language text and names the file and the system's reason in
// the informative text.
#include "window_fixture.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>

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

} // namespace
} // namespace tavrel::test
