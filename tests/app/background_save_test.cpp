// A long save on a worker thread, offscreen: the window's event loop runs while the file is
// written, the progress line tells what is saved, and a close, a drop or a handed name asked
// for meanwhile waits until the file is whole.
#include "window_fixture.h"

#include "app/background_save.h"
#include "app/load_progress_bar.h"

#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace tavrel::test {
namespace {

class BackgroundSaveWindow : public WindowTest {};

TEST_F(BackgroundSaveWindow, theWindowAnswersDuringTheSaveAndWhatWasAskedMeanwhileWaits) {
    const std::string path = file("doc.nfo", "old\r\n");
    const std::string other = file("other.nfo", "other\r\n");
    MainWindowSetup s = setup();
    s.backgroundSaveBytes = 0;
    s.loadProgressDelayMs = 0;
    // The writer holds the save until the window's own loop has run: without a worker thread
    // it gives up after a while and the checks below find the loop never ran meanwhile.
    std::atomic<bool> release{false};
    const StreamWriter recording = recordingWriter();
    s.writer = [&release, recording](const std::string& name, const ChunkSource& source) {
        for (int waited = 0; !release && waited < 5000; waited += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return recording(name, source);
    };
    window = std::make_unique<MainWindow>(std::move(s));
    MainWindow& w = *window;
    w.show();
    ASSERT_TRUE(w.load(path));
    type(w, "new ");

    bool ranDuringSave = false;
    QString caption;
    QTimer::singleShot(50, &w, [&] {
        ranDuringSave = w.isSaving();
        caption = w.loadProgress().isVisible() ? w.loadProgress().caption() : QString();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &drop);
        w.takeHandedName(other);
        release = true;
    });
    ASSERT_TRUE(w.save());

    EXPECT_TRUE(ranDuringSave) << "the event loop did not run while the file was written";
    EXPECT_EQ(caption, QStringLiteral("Saving doc.nfo ..."));
    EXPECT_EQ(readFile(path), "new old\r\n");
    EXPECT_EQ(w.fileName(), path) << "a drop or a handed name replaced the document being written";
    EXPECT_FALSE(w.loadProgress().isVisible());
    // Afterwards the handed name is taken.
    for (int waited = 0; w.fileName() != other && waited < 10000; waited += 50) {
        QTest::qWait(50);
    }
    EXPECT_EQ(w.fileName(), other);

    // A close asked for during a save (the window manager's, a signal's) comes after it.
    type(w, "more ");
    release = false;
    bool closedAtOnce = true;
    QTimer::singleShot(50, &w, [&] {
        closedAtOnce = w.close();
        release = true;
    });
    ASSERT_TRUE(w.save());
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(readFile(other), "more other\r\n");
    for (int waited = 0; w.isVisible() && waited < 10000; waited += 50) {
        QTest::qWait(50);
    }
    EXPECT_FALSE(w.isVisible()) << "the close asked for during the save never came";
}

TEST(BackgroundSave, givesTheWritersResultOrRethrowsWhatItThrew) {
    int ticks = 0;
    const WriteStatus status = writeWhileWindowAnswers(
        [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return WriteStatus{"x: No space left on device"};
        },
        [&ticks] { ++ticks; }, 20);
    EXPECT_EQ(status.error, "x: No space left on device");
    EXPECT_GT(ticks, 0);
    EXPECT_THROW(
        writeWhileWindowAnswers([]() -> WriteStatus { throw std::runtime_error("disk gone"); }, {}),
        std::runtime_error);
}

} // namespace
} // namespace tavrel::test
