#pragma once

#include "core/invoice/ListModel.h"
#include "core/load/InvoiceDocument.h"
#include "core/tree/XmlTree.h"

#include <QStringList>

#include <vector>

namespace velkor {

struct LineDetails
{
    QString lineRequest;       // reveals the line's own FaWiersz
    std::vector<ListRow> rows; // fields, additional descriptions, before/after figures
};

// Every non-blank field of one row of the lines list, its additional
// descriptions and its change note. `headers` are the lines list's column
// headers; `position` is the row's 1-based place in the list, used only when
// the row carries no element of its own. The reveal requests carry each
// element's own occurrence in the tree, so they land on this line's
// elements whatever comes before it.
LineDetails buildLineDetails(const InvoiceDocument &document, const XmlTree &tree, const QStringList &headers,
                             const ListRow &line, int position);

} // namespace velkor
