#include "VatSummaryTable.h"

#include "core/check/RateGroups.h"
#include "core/invoice/LineFigures.h"
#include "core/print/PrintLabels.h"
#include "core/support/Decimal.h"
#include "core/tree/XmlNavigation.h"

#include <QSet>

#include <optional>

namespace velkor::print {

namespace {

std::optional<Decimal> headerAmount(const InvoiceDocument &document, const char *field)
{
    if (!field)
        return std::nullopt;
    const QByteArray path = QByteArrayLiteral("n:Faktura/n:Fa/n:") + field;
    const xmlNode *node = FaPath(document, path.constData()).selectFirst();
    return node ? std::optional<Decimal>(numberOf(node)) : std::nullopt;
}

bool isStated(const std::optional<Decimal> &amount)
{
    return amount && !amount->isZero();
}

// A group named by the rates its lines use ("23%"), or by all it stands for
// ("23% lub 22%") when no line tells.
QString groupLabel(const RateGroup &group, const QSet<QString> &lineCodes)
{
    QStringList used;
    for (const char *code : group.codes) {
        const QString text = QString::fromUtf8(code);
        if (lineCodes.contains(text))
            used << (text.back().isDigit() ? text + u'%' : text);
    }
    return used.isEmpty() ? QString::fromUtf8(group.label) : used.join(QStringLiteral(" i "));
}

} // namespace

std::vector<Item> vatSummaryItems(const InvoiceDocument &document, const QString &separator)
{
    const QString currency = NodeText(FaPath(document, "n:Faktura/n:Fa/n:KodWaluty").selectFirst()).trimmed();
    const bool foreign = currency.compare(QStringLiteral("PLN"), Qt::CaseInsensitive) != 0;
    const QString inCurrency = foreign ? u' ' + currency : QString();

    struct Row
    {
        const RateGroup *group;
        Decimal net, vat, vatPln;
    };
    std::vector<Row> rows;
    bool anyVatPln = false;
    for (const RateGroup &group : rateGroups()) {
        const std::optional<Decimal> net = headerAmount(document, group.netField);
        const std::optional<Decimal> vat = headerAmount(document, group.vatField);
        const std::optional<Decimal> vatPln = headerAmount(document, group.vatPlnField);
        if (!isStated(net) && !isStated(vat) && !isStated(vatPln))
            continue;
        anyVatPln = anyVatPln || vatPln;
        rows.push_back({&group, net.value_or(Decimal()), vat.value_or(Decimal()), vatPln.value_or(Decimal())});
    }

    QSet<QString> lineCodes;
    for (const xmlNode *code : FaPath(document, "n:Faktura/n:Fa/n:FaWiersz/n:P_12").selectAll())
        lineCodes.insert(NodeText(code).trimmed());

    std::vector<Item> items;
    if (!rows.empty()) {
        const bool plnColumn = foreign && anyVatPln;
        Table table;
        table.header << QStringLiteral("Stawka VAT") << QStringLiteral("Wartość netto") + inCurrency
                     << QStringLiteral("Kwota VAT") + inCurrency;
        if (plnColumn)
            table.header << QStringLiteral("Kwota VAT PLN");
        table.header << QStringLiteral("Wartość brutto") + inCurrency;
        table.align.assign(std::size_t(table.header.size()), Align::Right);
        table.align[0] = Align::Left;
        Row total{nullptr, {}, {}, {}};
        const auto add = [&](const QString &label, const Row &row, RowKind kind) {
            TableRow cells;
            cells.kind = kind;
            cells.cells << label << row.net.format(2, separator) << row.vat.format(2, separator);
            if (plnColumn)
                cells.cells << row.vatPln.format(2, separator);
            cells.cells << (row.net + row.vat).format(2, separator);
            table.rows.push_back(std::move(cells));
        };
        for (const Row &row : rows) {
            add(groupLabel(*row.group, lineCodes), row, RowKind::Plain);
            total.net = total.net + row.net;
            total.vat = total.vat + row.vat;
            total.vatPln = total.vatPln + row.vatPln;
        }
        add(QStringLiteral("Razem"), total, RowKind::Total);
        items.emplace_back(std::move(table));
    }

    if (const xmlNode *due = FaPath(document, "n:Faktura/n:Fa/n:P_15").selectFirst())
        items.emplace_back(Fields{{labelIn(document, due), printedValue(due, separator) + u' ' + currency}});
    return items;
}

} // namespace velkor::print
