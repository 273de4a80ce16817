#include "t_string_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

constexpr int kDefaultRowHeight = 18;

}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    SetDefaultRowHeight(kDefaultRowHeight);
    // The selected row keeps its colour when another control has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

QString TStringGrid::Cells(int col, int row) const {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return {};
    const QTableWidgetItem* cell = item(row, col);
    return cell == nullptr ? QString() : cell->text();
}

void TStringGrid::SetCells(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
    QTableWidgetItem* cell = item(row, col);
    if (cell == nullptr) {
        cell = new QTableWidgetItem(text);
        setItem(row, col, cell);
        if (row < fixed_rows_) style_row(row);
    } else {
        cell->setText(text);
    }
}

void TStringGrid::SetRowCount(int rows) {
    if (rows < 0) rows = 0;
    setRowCount(rows);
    for (int row = 0; row < std::min(fixed_rows_, rows); ++row) style_row(row);
    // A current row cut off by the new count moves to the last row, as the class library's grid does.
    if (row_ >= rows) row_ = rows - 1;
    if (row_ < fixed_rows_) row_ = first_selectable_row();
    show_row(row_);
}

void TStringGrid::SetColCount(int cols) {
    setColumnCount(cols);
    for (int row = 0; row < std::min(fixed_rows_, rowCount()); ++row) style_row(row);
}

void TStringGrid::SetFixedRows(int rows) {
    const int old = fixed_rows_;
    fixed_rows_ = std::max(0, rows);
    for (int row = 0; row < std::max(old, fixed_rows_) && row < rowCount(); ++row) style_row(row);
    if (row_ < fixed_rows_) row_ = first_selectable_row();
    show_row(row_);
}

void TStringGrid::SetColWidth(int col, int width) {
    if (col < 0 || col >= columnCount()) return;
    setColumnHidden(col, width <= 0);
    if (width > 0) setColumnWidth(col, width);
}

int TStringGrid::ColWidth(int col) const { return isColumnHidden(col) ? 0 : columnWidth(col); }

void TStringGrid::SetMarksCurrentRow(bool marks) {
    marks_current_row_ = marks;
    setSelectionMode(marks ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
    setFocusPolicy(marks ? Qt::StrongFocus : Qt::NoFocus);
    show_row(row_);
}

void TStringGrid::SetDefaultRowHeight(int height) {
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(height);
}

int TStringGrid::first_selectable_row() const { return rowCount() > fixed_rows_ ? fixed_rows_ : -1; }

void TStringGrid::style_row(int row) {
    const bool fixed = row < fixed_rows_;
    for (int col = 0; col < columnCount(); ++col) {
        QTableWidgetItem* cell = item(row, col);
        if (cell == nullptr) {
            cell = new QTableWidgetItem();
            setItem(row, col, cell);
        }
        if (fixed) {
            cell->setFlags(Qt::ItemIsEnabled);
            cell->setBackground(palette().button());
        } else {
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setBackground(QBrush());
        }
    }
}

void TStringGrid::show_row(int row) {
    const QSignalBlocker quiet(this);
    if (!marks_current_row_ || row < 0 || row >= rowCount()) {
        clearSelection();
        return;
    }
    int col = 0;
    while (col < columnCount() - 1 && isColumnHidden(col)) ++col;
    setCurrentCell(row, col, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TStringGrid::SetRow(int row) {
    if (row < fixed_rows_ || row >= rowCount()) return;
    if (OnSelectCell) OnSelectCell(0, row);
    row_ = row;
    show_row(row_);
    scrollToItem(item(row_, 0));
}

bool TStringGrid::MouseToCell(const QPoint& point, int& col, int& row) const {
    row = rowAt(point.y());
    col = columnAt(point.x());
    return row >= 0 && col >= 0;
}

QRect TStringGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return {};
    return visualRect(model()->index(row, col)).translated(viewport()->pos());
}

QPoint TStringGrid::ClientOrigin() const { return viewport()->mapToGlobal(QPoint(0, 0)); }

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        int col = 0;
        int row = 0;
        if (MouseToCell(event->position().toPoint(), col, row)) SetRow(row);
    }
    if (OnMouseDown) OnMouseDown(event->button(), event->position().toPoint());
    event->accept();
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    int col = 0;
    int row = 0;
    if (!MouseToCell(event->position().toPoint(), col, row) || row < fixed_rows_) return;
    if (OnDblClick) OnDblClick();
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    const int page = std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
    int target = row_;
    switch (event->key()) {
    case Qt::Key_Up: target = row_ - 1; break;
    case Qt::Key_Down: target = row_ + 1; break;
    case Qt::Key_PageUp: target = std::max(fixed_rows_, row_ - page); break;
    case Qt::Key_PageDown: target = std::min(rowCount() - 1, row_ + page); break;
    case Qt::Key_Home: target = fixed_rows_; break;
    case Qt::Key_End: target = rowCount() - 1; break;
    default: QTableWidget::keyPressEvent(event); return;
    }
    event->accept();
    if (target != row_) SetRow(target);
}
