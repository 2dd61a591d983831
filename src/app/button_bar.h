// The button bar along the bottom of the main window: Copy, Cut, Paste, Save and Exit in one
// row, laid out by the panel's width (Copy keeps 85 pixels, the middle three share what is
// left between 40 and 70 pixels each, Exit takes the rest).
#pragma once

#include <QFrame>

#include <array>

class QPushButton;

namespace tavrel {

// Left edge and width of the five buttons for a panel of `panelWidth` pixels, in the order
// copy, cut, paste, save, exit.
struct ButtonSlot {
    int left = 0;
    int width = 0;
};
[[nodiscard]] std::array<ButtonSlot, 5> buttonBarSlots(int panelWidth) noexcept;

class ButtonBar final : public QFrame {
public:
    explicit ButtonBar(QWidget* parent = nullptr);

    [[nodiscard]] QPushButton* copyButton() const noexcept { return buttons_[0]; }
    [[nodiscard]] QPushButton* cutButton() const noexcept { return buttons_[1]; }
    [[nodiscard]] QPushButton* pasteButton() const noexcept { return buttons_[2]; }
    [[nodiscard]] QPushButton* saveButton() const noexcept { return buttons_[3]; }
    [[nodiscard]] QPushButton* exitButton() const noexcept { return buttons_[4]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeButtons(int panelWidth);

    std::array<QPushButton*, 5> buttons_{};
};

} // namespace tavrel
