// "Save as GIF image...": the proposed name, what the dialog is given, the image of the
// viewport as shown, and the one error box for every failure, with nothing written then or
// when the dialog is cancelled.
#include "app/save_as_image.h"

#include "editor/qt/text_editor.h"
#include "editor/qt/widget_test_support.h"
#include "export_test_support.h"
#include "support/gif_decoder.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <filesystem>

#include <optional>
#include <string>
#include <vector>

namespace tavrel {
namespace {

TEST(ProposedGifName, cutsAtTheLastFullStopOrFallsBackToTheDefault) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"readme.1st.nfo", "readme.1st.gif"},
        {"/home/ann/files/readme.1st.nfo", "readme.1st.gif"},
        {"C:\\files\\readme.1st.nfo", "readme.1st.gif"},
        {"a.diz", "a.gif"},
        {"/art/no-extension", "no-extension.gif"},
        {"/art.d/file", "file.gif"},
        {"", "TavrelImage.gif"},
        {".nfo", "TavrelImage.gif"},
        {"/art/.nfo", "TavrelImage.gif"},
        {"trailing.", "trailing.gif"},
    };
    for (const auto& [document, expected] : cases) {
        EXPECT_EQ(proposedGifName(document), expected) << document;
    }
}

// Records what the command asked and showed.
struct Answers {
    std::optional<std::string> fileName;
    std::vector<ImageSaveRequest> requests;
    std::vector<std::pair<QString, QString>> boxes; // caption, text
    std::vector<std::string> boxDetails;            // the informative text of each box

    ImageSaveCommand command(const std::string& document, const std::string& lastFolder) {
        ImageSaveCommand c;
        c.currentFileName = document;
        c.lastSaveFolder = lastFolder;
        c.askFileName = [this](const ImageSaveRequest& r) {
            requests.push_back(r);
            return fileName;
        };
        c.text = [](int number) { return QStringLiteral("text %1").arg(number); };
        c.showError = [this](const QString& caption, const QString& text, const QString& details) {
            boxes.emplace_back(caption, text);
            boxDetails.push_back(details.toStdString());
        };
        return c;
    }
};

std::string manyLines(int lines, int width) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text +=
            "line " + std::to_string(i) + " " + std::string(static_cast<std::size_t>(width), '#');
        text += "\r\n";
    }
    return text;
}

TEST(SaveAsGif, writesTheViewportAsShownWithoutScrollBars) {
    test::ScratchFolder folder;
    // Long and wide lines: both scroll bars show, and the view is scrolled to the middle.
    auto editor = test::makeEditor(manyLines(200, 150), {.width = 420, .height = 300});
    editor->setColor(QColor(0, 0, 0x4A));
    editor->setVerticalOffset(100 * editor->lineHeight());
    QApplication::processEvents();
    ASSERT_TRUE(editor->verticalScrollBar()->isVisible());
    ASSERT_TRUE(editor->horizontalScrollBar()->isVisible());
    const QImage shown = editor->renderViewport();

    Answers answers;
    answers.fileName = folder.file("shot.gif");
    EXPECT_EQ(saveAsGif(*editor, answers.command("/art/a.diz", folder.path().string())),
              ImageSaveResult::Saved);
    EXPECT_TRUE(answers.boxes.empty());
    ASSERT_EQ(answers.requests.size(), 1u);
    EXPECT_EQ(answers.requests[0].filter,
              QStringLiteral("GIF graphic (*.gif)|*.gif|All files (*.*)|*.*"));
    EXPECT_EQ(answers.requests[0].qtFilter, QStringLiteral("GIF graphic (*.gif);;All files (*)"));
    EXPECT_EQ(answers.requests[0].initialFolder, QString::fromStdString(folder.path().string()));
    EXPECT_EQ(answers.requests[0].proposedName, QStringLiteral("a.gif"));

    const std::vector<std::uint8_t> gif = test::fileBytes(folder.file("shot.gif"));
    const QImage decoded = test::decodeWithQt(gif);
    EXPECT_EQ(decoded.size(), editor->viewport()->size());
    EXPECT_LT(decoded.width(), editor->width());
    EXPECT_LT(decoded.height(), editor->height());
    EXPECT_EQ(test::firstDifference(decoded, test::webSafe(shown)), "");

    // The background is the most used colour: entry 0 of the sorted global table.
    const gif_check::File file = gif_check::decode(gif);
    EXPECT_EQ(file.version, "GIF87a");
    EXPECT_EQ(file.background, 0);
    ASSERT_FALSE(file.globalTable.empty());
    EXPECT_EQ(file.globalTable[0], (gif_check::Rgb{0, 0, 51}));
}

TEST(SaveAsGif, cancellingWritesNothingAndTheNameIsProposedAgain) {
    test::ScratchFolder folder;
    auto editor = test::makeEditor("some art");
    Answers answers; // no file name: the dialog is cancelled
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(saveAsGif(*editor, answers.command("readme.1st.nfo", "")),
                  ImageSaveResult::Cancelled);
    }
    ASSERT_EQ(answers.requests.size(), 2u);
    EXPECT_EQ(answers.requests[1].proposedName, QStringLiteral("readme.1st.gif"));
    EXPECT_EQ(answers.requests[1].initialFolder, QString());
    EXPECT_TRUE(answers.boxes.empty());
    EXPECT_EQ(folder.entries(), 0u);
}

TEST(SaveAsGif, aFailedWriteShowsTheErrorBoxAndLeavesNoFile) {
    test::ScratchFolder folder;
    auto editor = test::makeEditor("some art");
    Answers answers;
    answers.fileName = folder.file("missing folder/shot.gif");
    EXPECT_EQ(saveAsGif(*editor, answers.command("", "")), ImageSaveResult::Failed);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].first, QStringLiteral("text 102"));
    EXPECT_EQ(answers.boxes[0].second, QStringLiteral("text 104"));
    // The file's name and the system's reason are the box's informative text.
    ASSERT_EQ(answers.boxDetails.size(), 1u);
    EXPECT_EQ(answers.boxDetails[0], *answers.fileName + ": " + std::strerror(ENOENT));
    EXPECT_EQ(folder.entries(), 0u);
}

TEST(SaveAsGif, anExistingImageIsReplacedWhole) {
    test::ScratchFolder folder;
    const std::string target = folder.file("old.gif");
    test::writeBytes(target, std::string(100000, 'x'));
    auto editor = test::makeEditor("some art", {.width = 60, .height = 40});
    Answers answers;
    answers.fileName = target;
    ASSERT_EQ(saveAsGif(*editor, answers.command("", "")), ImageSaveResult::Saved);
    const QImage decoded = test::decodeWithQt(test::fileBytes(target));
    EXPECT_EQ(decoded.size(), editor->viewport()->size());
    EXPECT_EQ(folder.entries(), 1u);
}

TEST(SaveAsGif, aTargetThatCannotBeReplacedKeepsItsContents) {
    test::ScratchFolder folder;
    const std::string target = folder.file("taken.gif");
    std::filesystem::create_directory(target);
    test::writeBytes(target + "/inside.txt", "kept");
    auto editor = test::makeEditor("some art", {.width = 60, .height = 40});
    Answers answers;
    answers.fileName = target;
    EXPECT_EQ(saveAsGif(*editor, answers.command("", "")), ImageSaveResult::Failed);
    ASSERT_EQ(answers.boxDetails.size(), 1u);
    EXPECT_NE(answers.boxDetails[0].find(target), std::string::npos) << answers.boxDetails[0];
    EXPECT_EQ(test::fileBytes(target + "/inside.txt"),
              (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
    EXPECT_EQ(folder.entries(), 1u) << "no temporary file may stay behind";
}

TEST(SaveAsGif, anEmptyViewportShowsTheErrorBoxBeforeAnyDialog) {
    test::ScratchFolder folder;
    auto editor = test::makeEditor("some art", {.width = 0, .height = 200});
    ASSERT_EQ(editor->viewport()->width(), 0);
    Answers answers;
    answers.fileName = folder.file("never.gif");
    EXPECT_EQ(saveAsGif(*editor, answers.command("a.nfo", "")), ImageSaveResult::Failed);
    EXPECT_TRUE(answers.requests.empty());
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0],
              std::make_pair(QStringLiteral("text 102"), QStringLiteral("text 104")));
    EXPECT_EQ(folder.entries(), 0u);
}

} // namespace
} // namespace tavrel
