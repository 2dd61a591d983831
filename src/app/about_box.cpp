// The About box, laid out in logical pixels as the program has always laid it out: a
// 391 x 158 client area, a bevelled panel of three centred lines and two buttons below.
#include "app/about_box.h"

#include "app/version.h"
#include "lang/qt/translator.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrel {

namespace {

constexpr int kTitleText = 96;
constexpr int kVisitText = 97;
constexpr int kOkText = 98;
constexpr int kNoticeText = 562;

} // namespace

AboutBox::AboutBox(QWidget* parent, const LanguageStrings& strings,
                   std::function<bool(const std::string&)> openAddress)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AboutForm"));
    setProperty(translationTagProperty, kTitleText);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(391, 158);
    if (parent != nullptr) {
        setFont(parent->font());
    }

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(12, 8, 369, 105);
    auto* lines = new QVBoxLayout(panel);
    auto* product = new QLabel(QStringLiteral("Tavrel"), panel);
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(12);
    product->setFont(bold);
    auto* version = new QLabel(QString::fromLatin1(kFileVersion), panel);
    auto* notice = new QLabel(QStringLiteral("\u00A9 2026 Velmantic. All rights reserved."), panel);
    notice->setProperty(translationTagProperty, kNoticeText);
    for (QLabel* label : {product, version, notice}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        lines->addWidget(label);
    }

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setProperty(translationTagProperty, kOkText);
    ok->setGeometry(228, 121, 153, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* visit = new QPushButton(QStringLiteral("Visit homepage"), this);
    visit->setObjectName(QStringLiteral("Button2"));
    visit->setProperty(translationTagProperty, kVisitText);
    visit->setGeometry(11, 121, 153, 25);
    visit->setVisible(*kHomepageUrl != '\0');
    connect(visit, &QPushButton::clicked, this, [open = std::move(openAddress)] {
        // The box stays open; a desktop that cannot open the page says nothing more here.
        if (open) {
            [[maybe_unused]] const bool opened = open(kHomepageUrl);
        }
    });

    translateComponent(this, strings);
    if (parent != nullptr) {
        move(parent->geometry().center() - rect().center());
    }
}

} // namespace tavrel
