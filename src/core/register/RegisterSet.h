#pragma once

#include "core/register/RegisterRow.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace velkor {

// Marks the duplicates and links the corrections of a register, in place.
// The order of `rows` decides which of two equal files is the first.
// A duplicate has the same bytes (SHA-256), the same KSeF number, or the same
// seller NIP, invoice number and kind as an earlier file; its note names
// that file. A correction names the invoice it corrects (by KSeF number,
// else by the seller's NIP and the invoice number) and its file, or says it
// is not in the set (or, when reading was stopped, not among the files read);
// the corrected invoice names its corrections.
void linkRegisterRows(std::vector<RegisterRow> &rows, bool complete = true);

// The sums of the header totals of valid invoices in one currency, each
// duplicate counted once.
struct CurrencyTotals
{
    QString currency;
    int count = 0;
    std::array<Decimal, RegisterTotalCount> sums{};
    std::array<bool, RegisterTotalCount> present{}; // some invoice states it
};

// By currency, in alphabetical order.
std::vector<CurrencyTotals> registerTotals(const std::vector<const RegisterRow *> &rows);
// One line per currency: "PLN: 3 faktury; P_13_1 300,00; P_15 369,00".
QString totalsText(const std::vector<CurrencyTotals> &totals);

// The header of the CSV export, and the cells of one row in its columns.
QStringList registerColumns();
QStringList registerCells(const RegisterRow &row);
// One of them, by its column.
QString registerCell(const RegisterRow &row, int column);

// The rows as CSV: UTF-8 with a byte-order mark, ";" between fields, CR LF
// after every row, a field quoted when it holds ";", '"' or a line break,
// amounts with a decimal comma and two decimals.
QByteArray registerCsv(const std::vector<const RegisterRow *> &rows);

// A path in `folder` for a new file `base` + `extension` that writes over
// nothing: "name.pdf", else "name (2).pdf", "name (3).pdf", ...
QString freeFilePath(const QString &folder, const QString &base, const QString &extension);

} // namespace velkor
