#pragma once

#include "core/check/CheckReport.h"
#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceDocument.h"

#include <vector>

namespace velkor {

// The VAT summary recomputed from the lines: for each group of VAT rates
// the lines' net sum against the header's total for it (P_13_x), the
// header's VAT against net times the rate (P_14_x) and, in a foreign
// currency, the VAT in PLN against the VAT times the exchange rate
// (P_14_xW); then the amount due P_15 against the header's totals and VAT
// amounts. A correction compares the lines' differences (after minus
// before); advance and settlement invoices compare their header with
// itself. The lines' figures are those of the lines list (`lines`, from
// buildInvoiceLines). Amounts are written with `decimalSeparator`.
std::vector<Finding> checkVatSummary(const InvoiceDocument &document, const InvoiceLines &lines,
                                     const QString &decimalSeparator);

} // namespace velkor
