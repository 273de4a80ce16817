// A captioned group of radio buttons, one per item, with the selected item's index.
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>

class TRadioGroup : public QGroupBox {
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;

private:
    QButtonGroup* group_;
};
