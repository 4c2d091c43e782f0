#pragma once

#include "core/check/CheckReport.h"
#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceDocument.h"
#include "core/print/PrintDocument.h"

namespace velkor::print {

// What the printout takes besides the invoice.
struct PrintSources
{
    const InvoiceLines &lines;       // from buildInvoiceLines: the lines' figures as the list has them
    QString link;                    // the verification link (KOD I)
    QString qrCaption;               // the KSeF number or "OFFLINE"
    QString ksefNumber;              // handed over with the invoice, else empty
    QString separator;               // the decimal separator of the panes
};

// The whole invoice as it is printed: the title block, the parties side by
// side, the lines, the VAT summary and the amount due, the annotations,
// correction, advance, settlement, payment, transaction terms, additional
// descriptions, footer and attachment, each only where the invoice has its
// data, and the verification link with its QR code caption. Reads only.
PrintDocument buildPrintDocument(const InvoiceDocument &document, const PrintSources &sources);

// The printout as the viewer and the register make it: the lines' figures
// as the lines pane has them and the verification link, taken from `linked`
// when the check has already added it (it hashes the whole file), else
// worked out here.
PrintDocument buildInvoicePrintout(const InvoiceDocument &document, const QString &ksefNumber,
                                   const QString &separator, const CheckReport *linked = nullptr);

// The invoice check's report as it is printed from its window: a section
// for each of its parts, a finding a line led by its mark, and the QR code
// of the verification link.
PrintDocument checkReportPrintout(const CheckReport &report);

} // namespace velkor::print
