#pragma once

#include "load/InvoiceDocument.h"
#include "support/Failure.h"
#include "views/ListModel.h"

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
