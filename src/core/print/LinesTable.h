#pragma once

#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceDocument.h"
#include "core/print/PrintDocument.h"
#include "core/support/Decimal.h"

#include <map>
#include <optional>
#include <vector>

namespace velkor::print {

// The additional descriptions (DodatkowyOpis) that name a line by its
// number: they are printed under that line's name, once.
class LineDescriptions
{
public:
    explicit LineDescriptions(const InvoiceDocument &document);

    // "Klucz: Wartość" of every description of line `number` not printed yet.
    QStringList take(const Decimal &number);
    // The descriptions printed with no line, in document order.
    std::vector<const xmlNode *> remaining() const;

private:
    const InvoiceDocument &m_document;
    std::vector<const xmlNode *> m_all;
    std::vector<bool> m_taken;
    std::map<Decimal, std::vector<std::size_t>> m_byLine;
};

// The exchange rate of every line, before and after a correction, when they
// all have the same one (1 for lines without a rate); none when they differ
// or a line's figures could not be read.
std::optional<Decimal> rateOfEveryLine(const InvoiceLines &lines);

// The invoice lines as one table: a column for every field any line has,
// the name with the line's codes and descriptions under it. A corrected
// line is printed in its state before and after the correction and their
// difference, figured as the lines list figures it (`lines`, from
// buildInvoiceLines). Where the lines' rates differ (a correction of the
// rate among them), each line shows its rate and its net price and value in
// PLN, and a corrected line their change.
Table invoiceLinesTable(const InvoiceDocument &document, const InvoiceLines &lines, const QString &separator,
                        LineDescriptions &descriptions);

// The lines of the order an advance invoice is for (ZamowienieWiersz).
Table orderLinesTable(const InvoiceDocument &document, const std::vector<xmlNode *> &orderLines,
                      const QString &separator, LineDescriptions &descriptions);

} // namespace velkor::print
