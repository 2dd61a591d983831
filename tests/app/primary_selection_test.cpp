// The primary selection's data on its own: it follows the editor's selection, and once the
// selection goes or its text is changed it keeps offering the text that was selected.
#include "app/primary_selection.h"

#include <gtest/gtest.h>

#include <functional>

namespace tavrel::test {
namespace {

TEST(PrimarySelection, theLastSelectedTextStaysOfferedUntilANewSelection) {
    struct Case {
        const char* what;
        std::function<void(TextEngine&)> act;
        QString offered;
    };
    const Case cases[] = {
        {"a click places the caret", [](TextEngine& e) { e.setSelStart(9); }, "beta"},
        {"typing replaces it", [](TextEngine& e) { e.setSelText("x"); }, "beta"},
        {"a load replaces everything", [](TextEngine& e) { e.loadBytes("other"); }, "beta"},
        {"a new selection", [](TextEngine& e) { e.select(0, 5); }, "alpha"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TextEditor editor;
        editor.engine().loadBytes("alpha beta gamma");
        editor.engine().select(6, 10);
        const PrimarySelectionData offer(&editor);
        c.act(editor.engine());
        EXPECT_EQ(offer.text(), c.offered);
    }
}

} // namespace
} // namespace tavrel::test
