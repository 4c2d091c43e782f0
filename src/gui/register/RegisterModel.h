#pragma once

#include "core/register/RegisterRow.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <utility>
#include <vector>

namespace velkor {

// The register's rows as a table, in the columns of the CSV export.
class RegisterModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RegisterModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Room for the rows of a set about to be read, so they are not moved as it grows.
    void reserve(int rows) { m_rows.reserve(std::size_t(rows)); m_places.reserve(std::size_t(rows)); }
    // Rows as they are read, each with its place in the set.
    void append(std::vector<std::pair<int, RegisterRow>> rows);
    // Every row at once, in the set's order, with its notes linked.
    void replace(std::vector<RegisterRow> rows);
    // The rows in the set's order, for linking once reading has ended.
    std::vector<RegisterRow> takeInSetOrder();
    const RegisterRow &row(int index) const { return m_rows[std::size_t(index)]; }
    void clear();

private:
    std::vector<RegisterRow> m_rows;
    std::vector<int> m_places;
    QStringList m_columns;
};

// Sorts by any column (amounts and dates as such) and shows only the rows
// matching the filter text in any column and the month of issue.
class RegisterFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setText(const QString &text);
    // "yyyy-MM", or empty for every month.
    void setMonth(const QString &month);
    // The rows shown, in the order shown.
    std::vector<const RegisterRow *> shownRows() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString m_text;
    QString m_month;
};

} // namespace velkor
