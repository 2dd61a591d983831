// The keys that move through the text still move through it while a button of the main
// window has the focus: the window gives Exit the focus after loading, and PageDown or an
// arrow pressed then is meant for the text, not for the button.
#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace tavrel {

// PageUp, PageDown, the arrows, Home and End, alone or with Ctrl: the keys a reader pages
// and scrolls with. Shift (selecting) and Alt (menus) keep their own meanings.
[[nodiscard]] bool isReadingKey(const QKeyEvent& event);

class ReadingKeysToText final : public QObject {
public:
    // `text` receives the reading keys pressed on the watched buttons.
    explicit ReadingKeysToText(QWidget* text, QObject* parent = nullptr);

    // Watches `button`; Space and Enter still press it, Tab still moves on.
    void watch(QWidget* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* text_;
};

} // namespace tavrel
