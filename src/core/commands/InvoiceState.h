#pragma once

#include "core/check/CheckReport.h"
#include "core/load/InvoiceDocument.h"
#include "core/tree/XmlTree.h"

#include <QString>

#include <memory>
#include <optional>

namespace velkor {

// What the main window knows about the invoice it shows, shared by the
// display refresh, the pane events and the commands.
struct InvoiceState
{
    std::unique_ptr<InvoiceDocument> invoiceDoc; // none until the first load
    std::shared_ptr<const XmlTree> tree = std::make_shared<XmlTree>();
    // On while the display refresh fills the panes, and from start-up until
    // the first refresh has finished: list clicks and reveals do nothing then.
    bool refreshing = true;
    QString commonRate; // the exchange rate common to every line, or empty
    QString ksefNumber; // handed over at start-up with the invoice shown, else empty
    std::optional<CheckReport> check; // the invoice check, once the panes are filled
};

} // namespace velkor
