// Focus frames on the main window's buttons: a button the user gave the focus (with Tab, a
// click or its key) shows the style's focus frame; the focus the window gives Exit when it
// starts does not, so that the window then looks as it would without it.
#pragma once

#include <QObject>

class QWidget;

namespace tavrel {

class FocusFrames final : public QObject {
public:
    explicit FocusFrames(QObject* parent = nullptr) : QObject(parent) {}

    // Watches `button`; the frame shows from its first focus by the user on.
    void watch(QWidget* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tavrel
