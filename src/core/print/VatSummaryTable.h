#pragma once

#include "core/check/CheckReport.h"
#include "core/load/InvoiceDocument.h"
#include "core/print/PrintDocument.h"

#include <vector>

namespace velkor::print {

// The VAT summary as the header states it: a row for each rate group with a
// total (net, VAT, in a foreign currency also the VAT in PLN, gross), their
// sum, then the amount due P_15. Where the invoice check found that the
// header disagrees with the lines (its VAT findings marked as remarks or
// errors), a note under the table says so.
std::vector<Item> vatSummaryItems(const InvoiceDocument &document, const QString &separator,
                                  const std::vector<Finding> &vatFindings);

} // namespace velkor::print
