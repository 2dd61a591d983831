// The load's progress line: caption, bar and hint in one row.
#include "app/load_progress_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace tavrel {

LoadProgressBar::LoadProgressBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("LoadProgress"));
    setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    caption_ = new QLabel(this);
    caption_->setTextFormat(Qt::PlainText); // a file's name, never markup
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setFormat(QStringLiteral("%p%"));
    bar_->setTextVisible(true);
    hint_ = new QLabel(this);
    hint_->setTextFormat(Qt::PlainText);
    row->addWidget(caption_);
    row->addWidget(bar_, 1);
    row->addWidget(hint_);
    hide();
}

void LoadProgressBar::reset(const QString& caption, const QString& hint) {
    caption_->setText(caption);
    hint_->setText(hint);
    bar_->setValue(0);
}

void LoadProgressBar::setPercent(int percent) {
    bar_->setValue(percent);
}

int LoadProgressBar::percent() const {
    return bar_->value();
}

QString LoadProgressBar::caption() const {
    return caption_->text();
}

} // namespace tavrel
