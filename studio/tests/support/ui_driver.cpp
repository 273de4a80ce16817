#include "ui_driver.h"

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QPoint cell_centre(TStringGrid* grid, int col, int row) {
    grid->scrollToItem(grid->item(row, col) != nullptr ? grid->item(row, col) : grid->item(row, 0));
    QRect cell = grid->CellRect(col, row);
    EXPECT_TRUE(cell.isValid()) << "no cell " << col << "," << row;
    cell.translate(-grid->viewport()->pos());
    return cell.center();
}

}  // namespace

void click(QAbstractButton* button) {
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString() << " is disabled";
    ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString() << " is not visible";
    QTest::mouseClick(button, Qt::LeftButton);
}

void click_cell(TStringGrid* grid, int col, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell_centre(grid, col, row));
}

void double_click_cell(TStringGrid* grid, int col, int row) {
    const QPoint at = cell_centre(grid, col, row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    // The test library's double click is a second press only: the button stays down for it, and later pointer
    // moves would be drags that no control sees enter. A user lets go of the button.
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void right_click_cell(TStringGrid* grid, int col, int row) {
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, cell_centre(grid, col, row));
}

void click_tab(QTabWidget* pages, QWidget* page) {
    const int index = pages->indexOf(page);
    ASSERT_GE(index, 0) << page->objectName().toStdString() << " is no page of " << pages->objectName().toStdString();
    QTabBar* tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

void choose(TComboBox* combo, const QString& item) {
    const int index = combo->IndexOf(item);
    ASSERT_GE(index, 0) << combo->objectName().toStdString() << " has no item " << item.toStdString();
    ASSERT_TRUE(combo->isEnabled()) << combo->objectName().toStdString() << " is disabled";
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

bool choose_menu_item(QAction* item) {
    if (!item->isEnabled()) return false;
    item->trigger();
    close_menus();
    return true;
}

void type_text(QWidget* edit, const QString& text) { QTest::keyClicks(edit, text); }

void press_key(QWidget* widget, Qt::Key key) { QTest::keyClick(widget, key); }

QWidget* visible_menu() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMenu*>(widget) != nullptr && widget->isVisible()) return widget;
    }
    return nullptr;
}

void close_menus() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible()) menu->close();
    }
}
