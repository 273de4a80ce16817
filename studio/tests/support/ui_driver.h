// Driving the forms as a user does: clicks, double clicks (a click first),
// right clicks, page tabs, menu items, keys and the choice of a list item.
#pragma once

#include "t_combo_box.h"
#include "t_string_grid.h"

#include <QAbstractButton>
#include <QAction>
#include <QString>
#include <QTabWidget>
#include <QWidget>

void click(QAbstractButton* button);
void click_cell(TStringGrid* grid, int col, int row);
void double_click_cell(TStringGrid* grid, int col, int row);  // a click, then a double click
void right_click_cell(TStringGrid* grid, int col, int row);
// Clicks the tab of the page (a tab bar that is disabled ignores it).
void click_tab(QTabWidget* pages, QWidget* page);
// Chooses the item as a user does in the drop-down list (the change handler runs, also for the same item).
void choose(TComboBox* combo, const QString& item);
// Triggers a menu item when it is enabled; false when it is disabled.
bool choose_menu_item(QAction* item);
// Types text into the focused edit, or presses one key (press and release).
void type_text(QWidget* edit, const QString& text);
void press_key(QWidget* widget, Qt::Key key);
// The menu that is showing, if any.
QWidget* visible_menu();
// Closes every menu that is showing.
void close_menus();
