#pragma once

#include "core/invoice/LineFigures.h"
#include "core/invoice/ListModel.h"
#include "core/load/InvoiceDocument.h"
#include "core/support/Failure.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace velkor {

// The rows of the invoice-lines list: one per after-state FaWiersz, with the
// change of quantity, price and value against its before-state line.
struct InvoiceLines
{
    std::vector<ListRow> rows;        // cells "Lp" to "PKWIU", change note
    QString commonRate;               // column "Kurs" when every line has the same, else empty
    std::optional<Failure> failure;   // what stopped the fill, if anything; rows so far stay

    // Every FaWiersz in document order, before-state lines included, with
    // the figures its rows were computed from (none where they could not be
    // read): the invoice check adds up the same figures the list shows.
    std::vector<LineElements> elements;
    std::vector<std::optional<LineFigures>> figures;
};

// The invoice's lines, and an advance invoice's order lines.
extern const char *const InvoiceLinesPath; // n:Faktura/n:Fa/n:FaWiersz
extern const char *const OrderLinesPath;   // n:Faktura/n:Fa/n:Zamowienie/n:ZamowienieWiersz

// Numbers are written with `decimalSeparator`, the user's regional one.
// The rows of an order's lines (`linesPath` OrderLinesPath) are figured as
// invoice lines are, from the elements of the same meaning; their notes
// add the line's VAT amount ("Kwota VAT").
InvoiceLines buildInvoiceLines(const InvoiceDocument &document, const QString &decimalSeparator,
                               const char *linesPath = InvoiceLinesPath);

// The lines' elements and figures alone, without the rows and their texts:
// what the invoice check adds up, as buildInvoiceLines reads them.
InvoiceLines readLineFigures(const InvoiceDocument &document, const char *linesPath = InvoiceLinesPath);

// The before-state line a corrected line is compared with: the first
// before-state line of each line number, in document order, as an index into
// `elements`. Line numbers are whole numbers, so "01", " 1 " and "1" are the
// same line.
std::map<Decimal, std::size_t> beforeStateLines(const std::vector<LineElements> &elements);

} // namespace velkor
