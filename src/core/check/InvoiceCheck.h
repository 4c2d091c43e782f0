#pragma once

#include "core/check/CheckReport.h"
#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceDocument.h"

namespace velkor {

// The invoice check: whether what the invoice states adds up and whether
// its file is one the national system accepts. From the document (with the
// bytes it was read from), the figures of its lines as the lines list has
// them and the KSeF number handed over at start-up, if any, to the
// findings. Amounts are written with `decimalSeparator`. Reads only.
CheckReport checkInvoice(const InvoiceDocument &document, const InvoiceLines &lines, const QString &ksefNumber,
                         const QString &decimalSeparator);

// The report's first section: the VAT summary recomputed from the lines.
constexpr std::size_t VatSummarySection = 0;

// The report of a check that could not be done: the reason as its one
// finding, marked BŁĄD.
CheckReport failedCheck(const QString &reason);

// Adds the verification link (KOD I) and its section to a report: the
// link, the caption of its QR code (the KSeF number or "OFFLINE") and, for a
// pasted invoice, a note that the link matches only a byte-identical file.
// Kept apart because hashing the file is the check's one slow step, and the
// link has no finding the status bar counts.
void addVerificationLink(CheckReport &report, const InvoiceDocument &document, const QString &ksefNumber);

} // namespace velkor
