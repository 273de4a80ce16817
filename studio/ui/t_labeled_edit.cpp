#include "t_labeled_edit.h"

#include <QKeyEvent>
#include <QMouseEvent>

TLabeledEdit::TLabeledEdit(QWidget* parent) : QLineEdit(parent), label_(new QLabel(parent)) {
    label_->setTextFormat(Qt::PlainText);
    label_->setBuddy(this);
}

void TLabeledEdit::SetLabelCaption(const QString& caption) {
    label_->setText(caption);
    label_->adjustSize();
    SetBounds(geometry());
}

void TLabeledEdit::SetBounds(const QRect& bounds) {
    setGeometry(bounds);
    label_->adjustSize();
    label_->move(bounds.left(), bounds.top() - label_->height() - 3);
}

void TLabeledEdit::keyPressEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) pressed_key_ = event->key();
    QLineEdit::keyPressEvent(event);
}

void TLabeledEdit::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat() || event->key() != pressed_key_) return;
    pressed_key_ = 0;
    if (OnKeyUp) OnKeyUp(event->key());
}

void TLabeledEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && OnClick) OnClick();
}

void TLabeledEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) label_->setEnabled(isEnabled());
}

void TLabeledEdit::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    label_->setVisible(true);
}

void TLabeledEdit::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    if (!isHidden()) return;  // hidden with its window, not on its own
    label_->setVisible(false);
}
