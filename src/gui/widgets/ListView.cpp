#include "ListView.h"

#include "core/invoice/ListModel.h"

#include <QAbstractItemDelegate>
#include <QHash>
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

    m_userWidths.assign(std::size_t(model->columnCount()), -1);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        const bool stretched = horizontalHeader()->stretchLastSection() && column == m_model->columnCount() - 1;
        if (!m_resizingFromCode && !stretched && column >= 0 && column < int(m_userWidths.size()))
            m_userWidths[std::size_t(column)] = width;
    });
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
    // The cell with the widest text, by its characters' advances, each
    // measured once (figures repeat few characters). Trailing spaces do not
    // count, as they do not when the view measures a cell.
    const auto shownText = [&](int row) {
        QStringView text = m_model->row(row).cellView(column);
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        return text;
    };
    const QFontMetrics metrics(font());
    QHash<char16_t, int> advances;
    int widestRow = 0;
    int widest = -1;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        int width = 0;
        for (const QChar c : shownText(row)) {
            auto advance = advances.find(c.unicode());
            if (advance == advances.end())
                advance = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
            width += *advance;
        }
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
    // That cell as the view measures any cell, padding and grid line
    // included; its text measured whole may come out a little narrower than
    // its characters added up, and the wider of the two is taken.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = m_model->index(widestRow, column);
    const int cell = itemDelegateForIndex(index)->sizeHint(option, index).width() + (showGrid() ? 1 : 0);
    return std::max(cell, cell - metrics.horizontalAdvance(shownText(widestRow).toString()) + widest);
}

void ListView::widenToFit(const QList<int> &columns, int limit)
{
    for (const int column : columns) {
        const int width = columnWidth(column);
        if (width == 0 || column >= int(m_userWidths.size()))
            continue;
        const int needed = std::min(limit, std::max(sizeHintForColumn(column), horizontalHeader()->sectionSizeHint(column)));
        if (width >= needed)
            continue;
        if (m_userWidths[std::size_t(column)] < 0)
            m_userWidths[std::size_t(column)] = width;
        m_resizingFromCode = true;
        setColumnWidth(column, needed);
        m_resizingFromCode = false;
    }
}

void ListView::fitNamesColumn()
{
    widenToFit({0}, viewport()->width() / 2);
}

void ListView::stretchLastColumn()
{
    const int last = m_model->columnCount() - 1;
    if (last >= 0 && m_userWidths[std::size_t(last)] < 0)
        m_userWidths[std::size_t(last)] = columnWidth(last);
    horizontalHeader()->setStretchLastSection(true);
}

int ListView::userColumnWidth(int column) const
{
    const int width = column >= 0 && column < int(m_userWidths.size()) ? m_userWidths[std::size_t(column)] : -1;
    return width >= 0 ? width : columnWidth(column);
}

void ListView::setUserColumnWidth(int column, int width)
{
    if (column >= 0 && column < int(m_userWidths.size()))
        m_userWidths[std::size_t(column)] = width;
    m_resizingFromCode = true;
    setColumnWidth(column, width);
    m_resizingFromCode = false;
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
