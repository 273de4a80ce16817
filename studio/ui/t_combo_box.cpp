#include "t_combo_box.h"

#include <QSignalBlocker>

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) {
        if (OnChange) OnChange();
    });
}

void TComboBox::Clear() {
    const QSignalBlocker quiet(this);
    clear();
}

void TComboBox::Add(const QString& item) {
    const QSignalBlocker quiet(this);
    const int selected = currentIndex();
    addItem(item);
    // Qt selects the first item added to an empty list; the list keeps no selection until one is made.
    if (selected < 0) setCurrentIndex(-1);
}

void TComboBox::SetItemIndex(int index) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}
