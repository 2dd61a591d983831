// The notice line: a plain-text label and a button that hides it.
#include "app/notice_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace tavrel {

NoticeBar::NoticeBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("notice"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 2, 2);
    label_ = new QLabel(this);
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    close_ = new QToolButton(this);
    close_->setText(QStringLiteral("\u00d7"));
    close_->setAutoRaise(true);
    close_->setFocusPolicy(Qt::NoFocus); // the keyboard stays with the text
    row->addWidget(label_, 1);
    row->addWidget(close_);
    connect(close_, &QToolButton::clicked, this, &QWidget::hide);
    hide();
}

void NoticeBar::showNotice(const QString& text) {
    label_->setText(text);
    show();
}

QString NoticeBar::text() const {
    return label_->text();
}

} // namespace tavrel
