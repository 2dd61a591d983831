// Focus frames on the main window's buttons: a button with the keyboard focus shows the
// style's focus frame, whether the user gave it the focus (with Tab, a click or its key) or
// the window gave it to Exit after loading, since Space and Enter then press it.
#pragma once

#include <QObject>

class QWidget;

namespace tavrel {

class FocusFrames final : public QObject {
public:
    explicit FocusFrames(QObject* parent = nullptr) : QObject(parent) {}

    // Watches `button`; the frame shows whenever it has the focus.
    void watch(QWidget* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tavrel
