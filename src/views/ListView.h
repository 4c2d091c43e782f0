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
    // Makes `row` the current and only selected row without any click handling.
    void selectRow(int row);

private:
    ListModel *m_model;
};

} // namespace velkor
