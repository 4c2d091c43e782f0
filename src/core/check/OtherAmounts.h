#pragma once

#include "core/check/CheckReport.h"
#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceDocument.h"

#include <vector>

namespace velkor {

// The other sums the schema's documentation states between fields: the
// settlement's charges and deductions and the amount left to pay
// (Rozliczenie), the payments an advance is made of (ZaliczkaCzesciowa),
// the partial payments of an invoice marked paid in parts, the order's
// value and VAT (Zamowienie), the shares of additional buyers (Udzial) and
// the amount above which the split payment must be marked (P_18A). Only
// what the invoice has; amounts are written with `decimalSeparator`.
std::vector<Finding> checkOtherAmounts(const InvoiceDocument &document, const InvoiceLines &lines,
                                       const QString &decimalSeparator);

} // namespace velkor
