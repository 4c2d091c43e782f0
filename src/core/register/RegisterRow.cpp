#include "core/register/RegisterRow.h"

#include "core/check/CheckReport.h"
#include "core/check/Identifiers.h"
#include "core/check/InvoiceCheck.h"
#include "core/invoice/InvoiceLines.h"
#include "core/load/InvoiceLoader.h"
#include "core/load/InvoiceParser.h"
#include "core/support/Sha256.h"
#include "core/tree/XmlNavigation.h"

#include <QFileInfo>

namespace velkor {

namespace {

QString textAt(const InvoiceDocument &document, const char *path, xmlNode *context = nullptr)
{
    return NodeText(FaPath(document, path).selectFirst(context)).trimmed();
}

void countFindings(RegisterRow &row, const CheckReport &report)
{
    for (const CheckSection &section : report.sections) {
        for (const Finding &finding : section.findings) {
            if (finding.mark == Mark::Error)
                ++row.errors;
            else if (finding.mark == Mark::Remark)
                ++row.remarks;
        }
    }
}

QString childText(const InvoiceDocument &document, const xmlNode *parent, const char *name)
{
    return NodeText(firstFaChild(document, parent, name)).trimmed();
}

void readFields(RegisterRow &row, const InvoiceDocument &document)
{
    // The schema allows one Fa, one Podmiot1 and one Podmiot2, each with one
    // DaneIdentyfikacyjne: each is found once.
    const xmlNode *invoice = document.root();
    xmlNode *fa = firstFaChild(document, invoice, "Fa");
    const xmlNode *seller = firstFaChild(document, firstFaChild(document, invoice, "Podmiot1"), "DaneIdentyfikacyjne");
    const xmlNode *buyer = firstFaChild(document, firstFaChild(document, invoice, "Podmiot2"), "DaneIdentyfikacyjne");
    row.kind = childText(document, fa, "RodzajFaktury");
    row.number = childText(document, fa, "P_2");
    row.issueDate = childText(document, fa, "P_1");
    row.deliveryDate = childText(document, fa, "P_6");
    row.sellerNip = childText(document, seller, "NIP");
    row.seller = childText(document, seller, "Nazwa");
    row.buyerNip = childText(document, buyer, "NIP");
    row.buyer = childText(document, buyer, "Nazwa");
    row.currency = childText(document, fa, "KodWaluty");
    for (std::size_t k = 0; k < RegisterTotalCount; ++k) {
        if (xmlNode *node = firstFaChild(document, fa, RegisterTotalNames[k]))
            row.totals[k] = Decimal::read(NodeText(node).trimmed());
    }
    for (xmlNode *corrected : FaPath(document, "n:Faktura/n:Fa/n:DaneFaKorygowanej").selectAll()) {
        row.corrects.push_back({textAt(document, "n:NrKSeFFaKorygowanej", corrected),
                                textAt(document, "n:NrFaKorygowanej", corrected)});
    }
}

} // namespace

QString checkCountText(int errors, int remarks)
{
    if (errors == 0 && remarks == 0)
        return QStringLiteral("bez uwag");
    QStringList parts;
    if (errors > 0)
        parts << countOf(errors, "błąd", "błędy", "błędów");
    if (remarks > 0)
        parts << countOf(remarks, "uwaga", "uwagi", "uwag");
    return parts.join(QStringLiteral(", "));
}

QString RegisterRow::checkText() const
{
    if (!valid)
        return {};
    return checked ? checkCountText(errors, remarks) : QStringLiteral("nie wykonano");
}

QString RegisterRow::notes() const
{
    return (ownNotes + linkNotes).join(QStringLiteral("; "));
}

QString ksefNumberFromFileName(const QString &file)
{
    const QString base = QFileInfo(file).completeBaseName();
    return ksefNumberProblem(base).isEmpty() ? base : QString();
}

RegisterRow unreadableRow(const QString &file, const QString &reason)
{
    RegisterRow row;
    row.file = file;
    row.ksefNumber = ksefNumberFromFileName(file);
    row.ownNotes << reason;
    return row;
}

RegisterRow readRegisterRow(const QString &file, const QByteArray &bytes, const InvoiceSchema &schema)
{
    FileValidator validator(schema);
    return readRegisterRow(file, bytes, validator);
}

RegisterRow readRegisterRow(const QString &file, const QByteArray &bytes, FileValidator &validator)
{
    RegisterRow row;
    row.file = file;
    row.ksefNumber = ksefNumberFromFileName(file);
    row.sha256 = sha256(bytes);
    try {
        ParseOutcome outcome = validator.parse(bytes);
        if (!outcome.document) {
            // The reason in Polish; libxml2's own words, on the lines after
            // it, are for a message box, not for a note in a table.
            row.ownNotes << QStringLiteral("Błąd walidacji FA3: %1 (linia %2)")
                                .arg(outcome.reason.trimmed().split(u'\n').constFirst().trimmed())
                                .arg(outcome.line);
            return row;
        }
        const InvoiceDocument &document = *outcome.document;
        if (!CheckInvoiceHeader(document)) {
            row.ownNotes << QStringLiteral("Błąd walidacji FA3: nagłówek nie wskazuje FA (3) w wersji 1-0E");
            return row;
        }
        row.valid = true;
        readFields(row, document);
        try {
            // The check adds up the lines' figures; the rows' texts are not shown.
            const InvoiceLines lines = readLineFigures(document);
            countFindings(row, checkInvoice(document, lines, QString(), QStringLiteral(",")));
            row.checked = true;
        } catch (...) {
            // The row stands without the check, as the main window does.
        }
    } catch (...) {
        row.valid = false;
        row.ownNotes << QStringLiteral("Nie można odczytać faktury.");
    }
    return row;
}

} // namespace velkor
