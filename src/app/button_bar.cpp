// The button bar's buttons and its layout rule.
#include "app/button_bar.h"

#include "lang/qt/translator.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
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

std::array<ButtonSlot, 5> buttonBarSlots(int panelWidth, const std::array<int, 5>& least) noexcept {
    const int middle = std::min(70, std::max(40, panelWidth - 215));
    std::array<ButtonSlot, 5> slots{};
    slots[0].width = std::max(kCopyWidth, least[0]);
    for (std::size_t i = 1; i < 4; ++i) {
        slots[i].width = std::max(middle, least[i]);
    }
    const auto exitRoom = [&] {
        return panelWidth - (slots[0].width + slots[1].width + slots[2].width + slots[3].width) - 4;
    };
    // Between 285 and 299 pixels the rule above leaves Exit nothing (or less): the middle
    // three give up width, one pixel each in turn, down to 40 or their captions' need.
    for (bool gave = true; exitRoom() < least[4] && gave;) {
        gave = false;
        for (std::size_t i = 3; i >= 1 && exitRoom() < least[4]; --i) {
            if (slots[i].width > std::max(40, least[i])) {
                --slots[i].width;
                gave = true;
            }
        }
    }
    slots[4].width = std::max(exitRoom(), least[4]);
    for (std::size_t i = 1; i < slots.size(); ++i) {
        slots[i].left = slots[i - 1].left + slots[i - 1].width + 1;
    }
    return slots;
}

int buttonBarMinimumWidth(const std::array<int, 5>& least) noexcept {
    // Copy keeps at least 85 and the middle three at least 40 whatever their captions.
    int width = std::max(kCopyWidth, least[0]) + least[4] + 4;
    for (std::size_t i = 1; i < 4; ++i) {
        width += std::max(40, least[i]);
    }
    return width;
}

QString visibleCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                shown += u'&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return shown;
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
    captionsChanged();
}

void ButtonBar::captionsChanged() {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const QPushButton* button = buttons_[i];
        // The caption and the room the style keeps around it inside the button's frame.
        const QStyle* look = button->style();
        const int padding = look->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                            2 * look->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        least_[i] = QFontMetrics(button->font()).horizontalAdvance(visibleCaption(button->text())) +
                    padding;
    }
    setMinimumWidth(buttonBarMinimumWidth(least_));
    placeButtons(width());
}

void ButtonBar::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        captionsChanged();
    }
}

void ButtonBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeButtons(event->size().width());
}

void ButtonBar::placeButtons(int panelWidth) {
    const auto slots = buttonBarSlots(panelWidth, least_);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setGeometry(slots[i].left, 1, slots[i].width, kButtonHeight);
    }
}

} // namespace tavrel
