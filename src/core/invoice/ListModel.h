#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

struct _xmlNode;

namespace velkor {

struct ListColumn
{
    QString header;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// One row of a list pane: its cells (the first is the row's own text), the
// reveal request it carries, and for invoice lines the before/after note.
// The cells are kept in one text, separated by U+001F, a character no XML
// text can hold: ten thousand invoice lines then need ten thousand texts,
// not a hundred and forty thousand.
class ListRow
{
public:
    static constexpr char16_t CellSeparator = 0x1F;

    ListRow() = default;
    explicit ListRow(const QStringList &cells) { setCells(cells); }

    void setCells(const QStringList &cells);
    // Builds the cells in place: append a cell's text, then end the cell.
    QString &cellText() { return m_cells; }
    void endCell() { m_cells += QChar(CellSeparator); }

    int cellCount() const;
    QStringView cellView(int column) const;
    QString cell(int column) const { return cellView(column).toString(); }
    QStringList cells() const;

    QString tag;
    QString changeNote;
    const _xmlNode *source = nullptr; // the invoice line (FaWiersz) of a lines row

private:
    QString m_cells; // every cell followed by the separator
};

// The rows of one report-style list. The columns are fixed at creation.
class ListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ListModel(std::vector<ListColumn> columns, QObject *parent = nullptr);

    const std::vector<ListColumn> &columns() const { return m_columns; }
    QStringList headers() const;
    const std::vector<ListRow> &rows() const { return m_rows; }
    const ListRow &row(int index) const { return m_rows[std::size_t(index)]; }
    bool isEmpty() const { return m_rows.empty(); }

    void clear();
    void setRows(std::vector<ListRow> rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<ListColumn> m_columns;
    std::vector<ListRow> m_rows;
};

// The columns of the four lists.
std::vector<ListColumn> invoiceLineColumns();      // Lista
std::vector<ListColumn> headerFieldColumns();      // ListaS
std::vector<ListColumn> lineDetailColumns();       // ListaE
std::vector<ListColumn> correctedDocumentColumns(); // ListaK

} // namespace velkor
