// A drop-down list whose change handler runs on a user's choice only, also when
// the same item is chosen again, and never on clear(), on a selection made by
// code or on the first item added to an empty list (which would cut the group
// list and lose the user's groups during a refill).
#pragma once

#include <QComboBox>

#include <functional>

class TComboBox : public QComboBox {
public:
    explicit TComboBox(QWidget* parent = nullptr);

    void Clear();
    void Add(const QString& item);
    int Count() const { return count(); }
    QString Item(int index) const { return itemText(index); }
    int IndexOf(const QString& item) const { return findText(item); }  // exact and case-sensitive

    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);  // no handler runs
    QString Text() const { return currentIndex() < 0 ? QString() : currentText(); }

    std::function<void()> OnChange;
};
