#pragma once

#include "core/load/InvoiceDocument.h"
#include "core/print/PrintDocument.h"

#include <vector>

namespace velkor::print {

// The VAT summary as the header states it: a row for each rate group with a
// total (net, VAT, in a foreign currency also the VAT in PLN, gross), their
// sum, then the amount due P_15: what the seller issued, whatever the
// invoice check thinks of it.
std::vector<Item> vatSummaryItems(const InvoiceDocument &document, const QString &separator);

} // namespace velkor::print
