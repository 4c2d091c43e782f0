#include "ListView.h"

#include "core/invoice/ListModel.h"

#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace velkor {

ListView::ListView(ListModel *model, const QString &name, QWidget *parent) : QTableView(parent), m_model(model)
{
    setObjectName(name);
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(100);
    horizontalHeader()->setStretchLastSection(false);

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            Q_EMIT rowChosen(index.row());
    });
}

int ListView::selectedRow() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), {}))
        return current.row();
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

QList<int> ListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ListView::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    m_selectingFromCode = true;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_selectingFromCode = false;
}

int ListView::sizeHintForColumn(int column) const
{
    if (column < 0 || column >= m_model->columnCount() || m_model->isEmpty())
        return QTableView::sizeHintForColumn(column);
    // The cell with the widest text, by the text's advance. Trailing spaces
    // do not count, as they do not when the view measures a cell.
    const QFontMetrics metrics(font());
    int widestRow = 0;
    int widest = -1;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStringView text = m_model->row(row).cellView(column);
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        const int width = metrics.horizontalAdvance(text.toString());
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    // That cell as the view measures any cell, padding and grid line included.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = m_model->index(widestRow, column);
    return itemDelegateForIndex(index)->sizeHint(option, index).width() + (showGrid() ? 1 : 0);
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if ((action == MoveHome || action == MoveEnd) && m_model->rowCount() > 0) {
        const int row = action == MoveHome ? 0 : m_model->rowCount() - 1;
        return m_model->index(row, std::max(currentIndex().column(), 0));
    }
    return QTableView::moveCursor(action, modifiers);
}

void ListView::mousePressEvent(QMouseEvent *event)
{
    // A click changes the current row on press and reports the click on
    // release; the release alone counts as the choice.
    m_mousePressed = true;
    QTableView::mousePressEvent(event);
    m_mousePressed = false;
}

void ListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_selectingFromCode || m_mousePressed || !current.isValid() || current.row() == previous.row())
        return;
    Q_EMIT rowChosen(current.row());
}

} // namespace velkor
