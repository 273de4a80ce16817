#include "t_radio_group.h"

#include <QVBoxLayout>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 2, 4, 2);
    column->setSpacing(0);
}

void TRadioGroup::SetItems(const QStringList& items) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        layout()->addWidget(button);
    }
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = group_->button(index)) button->setChecked(true);
}

QRadioButton* TRadioGroup::Button(int index) const { return static_cast<QRadioButton*>(group_->button(index)); }
