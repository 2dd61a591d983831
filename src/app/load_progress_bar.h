// The line above the button bar that shows a long load: what is being loaded, a bar with the
// percentage, and that Esc cancels. The window shows it only once a load has taken half a
// second, so that short loads do not flicker.
#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QProgressBar;

namespace tavrel {

class LoadProgressBar final : public QFrame {
public:
    explicit LoadProgressBar(QWidget* parent = nullptr);

    // The caption ("Loading NAME ...") and the hint, as spelled; the bar starts at 0.
    void reset(const QString& caption, const QString& hint);
    void setPercent(int percent);
    [[nodiscard]] int percent() const;
    [[nodiscard]] QString caption() const;

private:
    QLabel* caption_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* hint_ = nullptr;
};

} // namespace tavrel
