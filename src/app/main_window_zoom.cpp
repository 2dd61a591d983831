// The main window's zoom: the View keys and Ctrl+wheel step the text by whole multiples of the
// font's size, the window follows the text's size when the size options are on, and the step
// is kept in the settings.
#include "app/main_window.h"

#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"

#include <QAction>
#include <QKeySequence>

#include <algorithm>

namespace tavrel {

void MainWindow::connectZoom() {
    // Ctrl+Plus needs Shift on most keyboards; Ctrl+= is the same key without it.
    menus_.action("ZoomIn1")->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    connect(menus_.action("ZoomIn1"), &QAction::triggered, this,
            platform::guardedSlot([this] { setZoom(zoom() + 1); }));
    connect(menus_.action("ZoomOut1"), &QAction::triggered, this,
            platform::guardedSlot([this] { setZoom(zoom() - 1); }));
    connect(menus_.action("ZoomNormal1"), &QAction::triggered, this,
            platform::guardedSlot([this] { setZoom(1); }));
    connect(editor_, &TextEditor::zoomWheel, this, [this](int steps) { setZoom(zoom() + steps); });
}

int MainWindow::zoom() const noexcept {
    return editor_->zoom();
}

void MainWindow::setZoom(int factor) {
    factor = std::clamp(factor, 1, TextEditor::kMaxZoom);
    options_.zoom = factor;
    if (factor == editor_->zoom()) {
        return;
    }
    editor_->setZoom(factor);
    measureFont();
    if (options_.autoWidth || options_.autoHeight || art_.isAnsi()) {
        sizeToContent();
    }
}

} // namespace tavrel
