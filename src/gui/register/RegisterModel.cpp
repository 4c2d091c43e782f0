#include "gui/register/RegisterModel.h"

#include "core/register/RegisterSet.h"

#include <algorithm>

namespace velkor {

namespace {

constexpr int FirstTotalColumn = 11;

} // namespace

RegisterModel::RegisterModel(QObject *parent) : QAbstractTableModel(parent), m_columns(registerColumns()) {}

int RegisterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RegisterModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RegisterModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const RegisterRow &row = m_rows[std::size_t(index.row())];
    const int column = index.column();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return registerCell(row, column);
    if (role == Qt::TextAlignmentRole && column >= FirstTotalColumn && column < FirstTotalColumn + int(RegisterTotalCount))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::UserRole)
        return index.row();
    return {};
}

QVariant RegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? QVariant(m_columns.value(section)) : QVariant(section + 1);
}

void RegisterModel::append(std::vector<std::pair<int, RegisterRow>> rows)
{
    if (rows.empty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
    for (auto &[place, row] : rows) {
        m_places.push_back(place);
        m_rows.push_back(std::move(row));
    }
    endInsertRows();
}

std::vector<RegisterRow> RegisterModel::takeInSetOrder()
{
    std::vector<std::size_t> order(m_rows.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) { return m_places[a] < m_places[b]; });
    std::vector<RegisterRow> rows;
    rows.reserve(order.size());
    for (std::size_t k : order)
        rows.push_back(std::move(m_rows[k]));
    return rows;
}

void RegisterModel::replace(std::vector<RegisterRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_places.resize(m_rows.size());
    for (std::size_t k = 0; k < m_places.size(); ++k)
        m_places[k] = int(k);
    endResetModel();
}

void RegisterModel::clear()
{
    replace({});
}

void RegisterFilter::setText(const QString &text)
{
    m_text = text.trimmed();
    invalidateFilter();
}

void RegisterFilter::setMonth(const QString &month)
{
    m_month = month;
    invalidateFilter();
}

std::vector<const RegisterRow *> RegisterFilter::shownRows() const
{
    auto *model = static_cast<RegisterModel *>(sourceModel());
    std::vector<const RegisterRow *> rows;
    for (int k = 0; k < rowCount(); ++k)
        rows.push_back(&model->row(mapToSource(index(k, 0)).row()));
    return rows;
}

bool RegisterFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const RegisterRow &row = static_cast<RegisterModel *>(sourceModel())->row(sourceRow);
    if (!m_month.isEmpty() && !row.issueDate.startsWith(m_month))
        return false;
    if (m_text.isEmpty())
        return true;
    const QStringList cells = registerCells(row);
    return std::any_of(cells.begin(), cells.end(),
                       [this](const QString &cell) { return cell.contains(m_text, Qt::CaseInsensitive); });
}

bool RegisterFilter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    auto *model = static_cast<RegisterModel *>(sourceModel());
    const int column = left.column();
    if (column >= FirstTotalColumn && column < FirstTotalColumn + int(RegisterTotalCount)) {
        const auto &a = model->row(left.row()).totals[std::size_t(column - FirstTotalColumn)];
        const auto &b = model->row(right.row()).totals[std::size_t(column - FirstTotalColumn)];
        if (!a || !b)
            return !a && b;
        return *a < *b;
    }
    return QString::localeAwareCompare(left.data().toString(), right.data().toString()) < 0;
}

} // namespace velkor
