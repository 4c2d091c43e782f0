#pragma once

#include "core/invoice/ListModel.h"
#include "core/load/InvoiceDocument.h"
#include "core/support/Failure.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace velkor {

struct HeaderFields
{
    std::vector<ListRow> rows;      // label, value, reveal request
    std::optional<Failure> failure; // what stopped the fill, if anything
};

// The header fields: seller, customer number, invoice kind, number and dates,
// currency and rate, totals by VAT rate, payment, correction data, footer,
// third party. `commonRate` is the lines list's common rate text, written
// with `decimalSeparator` like every amount here.
HeaderFields buildHeaderFields(const InvoiceDocument &document, const QString &commonRate,
                               const QString &decimalSeparator);

// The name of a Podmiot3 role code; empty for codes outside 1 to 11.
QString RoleName(std::int32_t code);
// The name of a payment form code 1 to 7; empty otherwise.
QString paymentFormName(std::int32_t code);

} // namespace velkor
