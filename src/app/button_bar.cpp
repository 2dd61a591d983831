// The button bar's buttons and its layout rule.
#include "app/button_bar.h"

#include "lang/qt/translator.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QVariant>

#include <algorithm>

namespace tavrel {

namespace {

inline constexpr int kBarHeight = 26;
inline constexpr int kButtonHeight = 25;
inline constexpr int kCopyWidth = 85;

struct ButtonDesign {
    const char* objectName;
    const char* caption;
    int tag;
};

constexpr std::array<ButtonDesign, 5> kButtons{{
    {"buttoncopy", "&Copy", 10},
    {"buttoncut", "C&ut", 11},
    {"buttonpaste", "&Paste", 12},
    {"buttonsave", "&Save", 21},
    {"buttonexit", "E&xit", 13},
}};

} // namespace

std::array<ButtonSlot, 5> buttonBarSlots(int panelWidth) noexcept {
    const int middle = std::min(70, std::max(40, panelWidth - 215));
    std::array<ButtonSlot, 5> slots{};
    slots[0].width = kCopyWidth;
    slots[1].width = slots[2].width = slots[3].width = middle;
    slots[4].width = panelWidth - (kCopyWidth + 3 * middle) - 4;
    for (std::size_t i = 1; i < slots.size(); ++i) {
        slots[i].left = slots[i - 1].left + slots[i - 1].width + 1;
    }
    return slots;
}

ButtonBar::ButtonBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("p"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(kBarHeight);
    QFont bold(QStringLiteral("Tahoma"));
    bold.setPixelSize(11);
    bold.setBold(true);
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kButtons[i].caption), this);
        button->setObjectName(QString::fromLatin1(kButtons[i].objectName));
        button->setProperty(translationTagProperty, kButtons[i].tag);
        button->setFont(bold);
        button->setAutoDefault(false);
        // Tab moves between the editor and Exit only; the other buttons are for the mouse
        // and their own accelerators.
        button->setFocusPolicy(i + 1 == kButtons.size() ? Qt::StrongFocus : Qt::ClickFocus);
        buttons_[i] = button;
    }
    placeButtons(width());
}

void ButtonBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeButtons(event->size().width());
}

void ButtonBar::placeButtons(int panelWidth) {
    const auto slots = buttonBarSlots(panelWidth);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setGeometry(slots[i].left, 1, slots[i].width, kButtonHeight);
    }
}

} // namespace tavrel
