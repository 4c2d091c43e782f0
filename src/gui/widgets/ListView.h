#pragma once

#include <QTableView>

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
    bool m_selectingFromCode = false;
    bool m_mousePressed = false;
};

} // namespace velkor
