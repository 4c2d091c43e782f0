#pragma once

#include "core/invoice/ListModel.h"
#include "core/load/InvoiceDocument.h"
#include "core/support/Failure.h"

#include <optional>
#include <vector>

namespace velkor {

struct CorrectedDocuments
{
    std::vector<ListRow> rows;      // date, number, KSeF number, reveal request
    std::optional<Failure> failure; // what stopped the fill, if anything
};

// The invoices a correcting invoice corrects, one row per DaneFaKorygowanej.
CorrectedDocuments buildCorrectedDocuments(const InvoiceDocument &document);

} // namespace velkor
