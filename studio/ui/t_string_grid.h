// A string grid with the semantics the forms rely on: cells addressed as
// (column, row) that read "" outside the grid and ignore writes there; RowCount
// counting the fixed header row, which is a real row of cells (its texts are
// read as data) drawn as a header; width 0 hiding a column whose cells stay
// readable; whole-row selection; a current Row that code can set, with the
// select-cell handler run for the row being selected whether the user or code
// moves it; a right click that does not move the current row; a double click
// on the fixed row that does nothing.
#pragma once

#include <QTableWidget>

#include <functional>

class TStringGrid : public QTableWidget {
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    int RowCount() const { return rowCount(); }
    void SetRowCount(int rows);
    int ColCount() const { return columnCount(); }
    void SetColCount(int cols);
    int FixedRows() const { return fixed_rows_; }
    void SetFixedRows(int rows);
    void SetColWidth(int col, int width);
    int ColWidth(int col) const;
    void SetDefaultRowHeight(int height);
    // A grid that only shows a table (the I/O settings) marks no current row.
    void SetMarksCurrentRow(bool marks);

    // The current row; -1 only while the grid has no row below its fixed rows.
    int Row() const { return row_; }
    // Selects the row as a user's click does: the select-cell handler runs for it first.
    void SetRow(int row);

    // The cell under a point of the grid's client area; false when there is none.
    bool MouseToCell(const QPoint& point, int& col, int& row) const;
    // A cell's rectangle in the grid's client coordinates.
    QRect CellRect(int col, int row) const;
    // The grid's client origin on the screen.
    QPoint ClientOrigin() const;

    std::function<void(int col, int row)> OnSelectCell;
    std::function<void()> OnDblClick;
    std::function<void(Qt::MouseButton button, const QPoint& point)> OnMouseDown;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void style_row(int row);
    void show_row(int row);
    int first_selectable_row() const;

    bool marks_current_row_ = true;
    int fixed_rows_ = 1;
    int row_ = -1;
};
