// The button bar along the bottom of the main window: Copy, Cut, Paste, Save and Exit in one
// row, laid out by the panel's width (Copy keeps 85 pixels, the middle three share what is
// left between 40 and 70 pixels each, Exit takes the rest), and never narrower than what
// each button's translated caption needs.
#pragma once

#include <QFrame>
#include <QString>

#include <array>

class QPushButton;

namespace tavrel {

// Left edge and width of the five buttons for a panel of `panelWidth` pixels, in the order
// copy, cut, paste, save, exit.
struct ButtonSlot {
    int left = 0;
    int width = 0;
};
// `least` holds the width each button's caption needs; a button never gets less, even if
// the row then runs past the panel (the window keeps the panel wide enough).
[[nodiscard]] std::array<ButtonSlot, 5>
buttonBarSlots(int panelWidth, const std::array<int, 5>& least = {}) noexcept;
// The narrowest panel that gives every button at least `least`.
[[nodiscard]] int buttonBarMinimumWidth(const std::array<int, 5>& least) noexcept;

// A button caption as it shows: the mnemonic's '&' dropped, "&&" shown as '&'.
[[nodiscard]] QString visibleCaption(const QString& caption);

class ButtonBar final : public QFrame {
public:
    explicit ButtonBar(QWidget* parent = nullptr);

    [[nodiscard]] QPushButton* copyButton() const noexcept { return buttons_[0]; }
    [[nodiscard]] QPushButton* cutButton() const noexcept { return buttons_[1]; }
    [[nodiscard]] QPushButton* pasteButton() const noexcept { return buttons_[2]; }
    [[nodiscard]] QPushButton* saveButton() const noexcept { return buttons_[3]; }
    [[nodiscard]] QPushButton* exitButton() const noexcept { return buttons_[4]; }

    // Measures the captions again (after a language or font change) and sets the bar's
    // minimum width from them.
    void captionsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeButtons(int panelWidth);

    std::array<QPushButton*, 5> buttons_{};
    std::array<int, 5> least_{};
};

} // namespace tavrel
