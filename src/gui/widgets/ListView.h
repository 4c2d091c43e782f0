#pragma once

#include <QTableView>

#include <limits>
#include <vector>

namespace velkor {

class ListModel;

// A report-style list: whole-row selection, grid lines, no row headers,
// compact fixed-height rows, columns 100 pixels wide until told otherwise.
class ListView : public QTableView
{
    Q_OBJECT
public:
    ListView(ListModel *model, const QString &name, QWidget *parent);

    ListModel *listModel() const { return m_model; }
    // The current row, or -1.
    int selectedRow() const;
    // Every selected row, in list order.
    QList<int> selectedRows() const;
    // Makes `row` the current and only selected row. Like any selection
    // made by the program, it raises no rowChosen.
    void selectRow(int row);

    // The width a column needs for its widest cell over every row (Qt's own
    // measure stops about a thousand rows past the ones in view).
    int sizeHintForColumn(int column) const override;

    // Widens each of `columns` that is narrower than its widest cell or its
    // header to fit both; never narrows one, and leaves a hidden one (width
    // 0) hidden. Measured by the advances of the cells' characters, fast
    // enough for every load of the largest invoices. None grows past
    // `limit` pixels.
    void widenToFit(const QList<int> &columns, int limit = std::numeric_limits<int>::max());
    // The first column, the fields' names, widens to fit them, up to half
    // of the list's width.
    void fitNamesColumn();
    // The last column takes whatever width the others leave.
    void stretchLastColumn();
    // The width the user gave a column: restored, dragged, fitted with «».
    // It is the one to save: neither widenToFit nor the stretched last
    // column changes it.
    int userColumnWidth(int column) const;
    void setUserColumnWidth(int column, int width);

Q_SIGNALS:
    // The user chose a row: clicked it, or moved to it with the keyboard
    // (arrows, Home, End, the page keys).
    void rowChosen(int row);

protected:
    // Home and End go to the first and last row, as in any list.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    ListModel *m_model;
    std::vector<int> m_userWidths; // -1: as the column is
    bool m_resizingFromCode = false;
    bool m_selectingFromCode = false;
    bool m_mousePressed = false;
};

} // namespace velkor
