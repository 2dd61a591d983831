// The Properties dialog the window shows when no file manager answers: names shown as they
// are spelled, never as markup, and the line count of the document being edited.
#include "window_fixture.h"

#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QTimer>

#include <cstdlib>
#include <map>

namespace tavrel::test {
namespace {

using FilePropertiesTest = WindowTest;

// What the shown dialog held, read while it was open.
struct ShownDialog {
    bool seen = false;
    QString title;
    std::map<QString, QString> rows;          // caption -> value
    std::map<QString, Qt::TextFormat> format; // caption -> the value label's format
};

// Opens Properties and reads the modal dialog it shows before closing it.
ShownDialog propertiesShownFor(MainWindow& w) {
    ShownDialog shown;
    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        shown.seen = true;
        shown.title = dialog->windowTitle();
        auto* form = qobject_cast<QFormLayout*>(dialog->layout());
        for (int row = 0; form != nullptr && row < form->rowCount(); ++row) {
            QLayoutItem* caption = form->itemAt(row, QFormLayout::LabelRole);
            QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            auto* captionLabel = caption ? qobject_cast<QLabel*>(caption->widget()) : nullptr;
            auto* value = field ? qobject_cast<QLabel*>(field->widget()) : nullptr;
            if (captionLabel != nullptr && value != nullptr) {
                shown.rows[captionLabel->text()] = value->text();
                shown.format[captionLabel->text()] = value->textFormat();
            }
        }
        dialog->accept();
    });
    w.showProperties();
    QApplication::processEvents();
    return shown;
}

class PropertiesTest : public FilePropertiesTest {
protected:
    void SetUp() override {
        // No file manager: the window's own dialog answers.
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tavrel-test-bus", 1);
    }
};

TEST_F(PropertiesTest, aNameThatLooksLikeMarkupIsShownAsItIsSpelled) {
    MainWindow& w = open();
    ASSERT_TRUE(w.load(file("<b>X.nfo", "art\r\n")));
    ShownDialog shown = propertiesShownFor(w);
    ASSERT_TRUE(shown.seen) << "no dialog was shown";
    ASSERT_EQ(shown.rows.count(QStringLiteral("Name:")), 1U);
    EXPECT_EQ(shown.rows[QStringLiteral("Name:")].toStdString(), "<b>X.nfo");
    EXPECT_EQ(shown.title.toStdString(), "<b>X.nfo");
    // A label guessing the format would render the name bold and drop the tag.
    for (const auto& [caption, format] : shown.format) {
        EXPECT_EQ(format, Qt::PlainText) << caption.toStdString();
    }
}

TEST_F(PropertiesTest, theLineCountIsTheEditedDocumentsNotTheFileOnDisk) {
    MainWindow& w = open();
    ASSERT_TRUE(w.load(file("three.txt", "one\r\ntwo\r\nthree")));
    type(w, "new\r\nlines\r\n"); // five lines now, three still on disk
    ShownDialog shown = propertiesShownFor(w);
    ASSERT_TRUE(shown.seen) << "no dialog was shown";
    EXPECT_EQ(shown.rows[QStringLiteral("Lines:")].toStdString(), "5");
}

} // namespace
} // namespace tavrel::test
