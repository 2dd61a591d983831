// An editor ready for a widget test: a known font, a known size, shown offscreen, with
// the given text loaded; and helpers to read it back.
#pragma once

#include <QApplication>
#include <QTest>

#include <memory>
#include <string>

#include "editor/qt/display_font.h"
#include "editor/qt/text_editor.h"

namespace tavrel::test {

// A fixed-pitch family that is installed here (Terminus from the set-up script, else
// DejaVu Sans Mono).
inline QFont testFont(int pixelSize = 16) {
    QFont font(resolveDisplayFamily(QStringLiteral("Terminus")));
    font.setPixelSize(pixelSize);
    return font;
}

struct EditorOptionsForTest {
    bool wordWrap = false;
    EditorOptions options = kDefaultEditorOptions;
    int width = 700;
    int height = 500;
};

inline std::unique_ptr<TextEditor> makeEditor(const std::string& text,
                                              const EditorOptionsForTest& o = {}) {
    auto editor = std::make_unique<TextEditor>();
    editor->setEditorFont(testFont());
    editor->setOptions(o.options);
    editor->setWordWrap(o.wordWrap);
    editor->resize(o.width, o.height);
    editor->show();
    editor->setFocus();
    editor->engine().loadBytes(std::string(text));
    QApplication::processEvents();
    return editor;
}

inline std::string textOf(const TextEditor& editor) {
    return editor.engine().document().text();
}

inline void type(TextEditor& editor, const char* text) {
    QTest::keyClicks(&editor, QString::fromLatin1(text));
}

inline void key(TextEditor& editor, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&editor, k, modifiers);
}

// Runs the event loop until background formatting is done (or a few seconds passed).
inline void finishFormatting(TextEditor& editor) {
    for (int i = 0; i < 2000 && editor.layout().hasPendingWork(); ++i) {
        QTest::qWait(1);
    }
}

} // namespace tavrel::test
