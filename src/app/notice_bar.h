// A line above the button bar that tells the user something about the document without
// stopping them (the window's non-modal notice): it stays until the next load or New, or
// until its close button is pressed.
#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QToolButton;

namespace tavrel {

class NoticeBar final : public QFrame {
public:
    explicit NoticeBar(QWidget* parent = nullptr);

    // Shows the text as it is spelled (never as markup).
    void showNotice(const QString& text);
    [[nodiscard]] QString text() const;
    [[nodiscard]] QToolButton* closeButton() const noexcept { return close_; }

private:
    QLabel* label_ = nullptr;
    QToolButton* close_ = nullptr;
};

} // namespace tavrel
