#pragma once

#include "core/register/RegisterReading.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace velkor {

// What the national system's export says of one invoice (its model
// InvoiceMetadata, in the package's _metadata.json).
struct InvoiceMetadata
{
    QString ksefNumber;
    QString invoiceNumber;
    QString sellerNip;
    std::optional<Decimal> grossAmount;
    QByteArray invoiceHash; // SHA-256, decoded from base64
};

// The entries of _metadata.json: an array of InvoiceMetadata, or an object
// holding it under "invoices". Empty with the reason when the file is corrupt.
std::vector<InvoiceMetadata> parseInvoiceMetadata(const QByteArray &json, QString &reason);

// Compares what the metadata and the rows say: each row is matched by its KSeF
// number (from the file name), else by its SHA-256; matched rows take the
// metadata's KSeF number and note each disagreement; rows without metadata
// and metadata without a file are noted (the latter as rows of their own,
// unless `listMissing` is false: the set was not read to its end).
void compareWithMetadata(std::vector<RegisterRow> &rows, const std::vector<InvoiceMetadata> &metadata,
                         bool listMissing = true);

// A ZIP package as the national system's export delivers it, read in memory
// and never extracted: an entry named with an absolute path or "..", an
// entry over the single-file limit and everything beyond the package's
// inflated-size limit get a row with the reason instead of being read.
// The inflated size a package may have in all.
constexpr qint64 MaxPackageInflated = qint64(2) * 1024 * 1024 * 1024;
std::unique_ptr<RegisterSource> packageSource(const QString &zipFile, qint64 inflatedLimit = MaxPackageInflated);

} // namespace velkor
