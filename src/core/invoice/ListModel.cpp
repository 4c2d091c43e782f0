#include "ListModel.h"

namespace velkor {

void ListRow::setCells(const QStringList &cells)
{
    m_cells.clear();
    for (const QString &cell : cells) {
        const qsizetype start = m_cells.size();
        m_cells += cell;
        for (qsizetype i = start; i < m_cells.size(); ++i) {
            if (m_cells[i] == QChar(CellSeparator))
                m_cells[i] = QLatin1Char(' '); // never inside a cell
        }
        endCell();
    }
}

int ListRow::cellCount() const
{
    return int(m_cells.count(QChar(CellSeparator)));
}

QStringView ListRow::cellView(int column) const
{
    qsizetype begin = 0;
    for (int skipped = 0; skipped < column; ++skipped) {
        begin = m_cells.indexOf(QChar(CellSeparator), begin);
        if (begin < 0)
            return {};
        ++begin;
    }
    const qsizetype end = m_cells.indexOf(QChar(CellSeparator), begin);
    if (end < 0)
        return {};
    return QStringView(m_cells).mid(begin, end - begin);
}

QStringList ListRow::cells() const
{
    QStringList cells;
    const QStringView all(m_cells);
    qsizetype begin = 0;
    for (qsizetype end = all.indexOf(QChar(CellSeparator)); end >= 0; end = all.indexOf(QChar(CellSeparator), begin)) {
        cells << all.mid(begin, end - begin).toString();
        begin = end + 1;
    }
    return cells;
}

ListModel::ListModel(std::vector<ListColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{
}

QStringList ListModel::headers() const
{
    QStringList headers;
    for (const ListColumn &column : m_columns)
        headers << column.header;
    return headers;
}

void ListModel::clear()
{
    setRows({});
}

void ListModel::setRows(std::vector<ListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_rows[std::size_t(index.row())].cell(index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[std::size_t(index.column())].alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[std::size_t(section)].header;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[std::size_t(section)].alignment | Qt::AlignVCenter);
    return {};
}

std::vector<ListColumn> invoiceLineColumns()
{
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment right = Qt::AlignRight;
    return {{QStringLiteral("Lp"), left},       {QStringLiteral("KodDostawcy"), left},
            {QStringLiteral("Jm"), left},       {QStringLiteral("Ilość"), right},
            {QStringLiteral("Cena"), right},    {QStringLiteral("CenaW"), right},
            {QStringLiteral("Wartość"), right}, {QStringLiteral("WartośćW"), right},
            {QStringLiteral("VAT"), right},     {QStringLiteral("Kurs"), right},
            {QStringLiteral("Nazwa"), left},    {QStringLiteral("EAN"), left},
            {QStringLiteral("GTU"), left},      {QStringLiteral("PKWIU"), left}};
}

std::vector<ListColumn> headerFieldColumns()
{
    return {{QStringLiteral("Pole")}, {QStringLiteral("Zawartość")}};
}

std::vector<ListColumn> lineDetailColumns()
{
    return {{QStringLiteral("Pole")}, {QStringLiteral("Zawartość")}};
}

std::vector<ListColumn> correctedDocumentColumns()
{
    return {{QStringLiteral("Data")}, {QStringLiteral("Dokument")}, {QStringLiteral("KSEF")}};
}

} // namespace velkor
