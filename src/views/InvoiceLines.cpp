#include "InvoiceLines.h"

#include "support/Decimal.h"
#include "support/Parallel.h"
#include "views/XmlNavigation.h"

#include <QHash>

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace velkor {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString TAB = QStringLiteral("\t");

// The children of one FaWiersz that the list reads, found in one pass over
// its children; each is the first of its name, as a selection would give.
struct LineElements
{
    const xmlNode *nrWierszaFa = nullptr;
    const xmlNode *indeks = nullptr, *p8a = nullptr, *p8b = nullptr, *p9a = nullptr, *p9b = nullptr;
    const xmlNode *p11 = nullptr, *p11a = nullptr, *p12 = nullptr, *kursWaluty = nullptr;
    const xmlNode *p7 = nullptr, *gtin = nullptr, *gtu = nullptr, *pkwiu = nullptr;
    bool hasStanPrzed = false; // not(n:StanPrzed) fails
    bool beforeState = false;  // n:StanPrzed='1': some StanPrzed reads exactly "1"

    LineElements() = default;
    LineElements(const InvoiceDocument &document, const xmlNode *line)
    {
        using Slot = const xmlNode *LineElements::*;
        static const std::unordered_map<std::string_view, Slot> slots{
            {"NrWierszaFa", &LineElements::nrWierszaFa}, {"Indeks", &LineElements::indeks},
            {"P_8A", &LineElements::p8a},   {"P_8B", &LineElements::p8b},   {"P_9A", &LineElements::p9a},
            {"P_9B", &LineElements::p9b},   {"P_11", &LineElements::p11},   {"P_11A", &LineElements::p11a},
            {"P_12", &LineElements::p12},   {"KursWaluty", &LineElements::kursWaluty},
            {"P_7", &LineElements::p7},     {"GTIN", &LineElements::gtin},  {"GTU", &LineElements::gtu},
            // The schema's element is PKWiU; the column is headed "PKWIU".
            {"PKWiU", &LineElements::pkwiu}};
        for (const xmlNode *child = line->children; child; child = child->next) {
            if (!document.isFaElement(child))
                continue;
            const std::string_view name(reinterpret_cast<const char *>(child->name));
            if (name == "StanPrzed") {
                hasStanPrzed = true;
                beforeState = beforeState || NodeText(child) == u"1";
                continue;
            }
            const auto slot = slots.find(name);
            if (slot != slots.end() && !(this->*(slot->second)))
                this->*(slot->second) = child;
        }
    }
};

// The first before-state line of each line-number text, in document order:
// the lookup n:FaWiersz[n:StanPrzed='1' and n:NrWierszaFa='D'] done once for
// all lines. The text must equal D exactly, so 01 does not pair with 1.
QHash<QString, std::size_t> indexBeforeStateLines(const InvoiceDocument &document,
                                                  const std::vector<xmlNode *> &lines,
                                                  const std::vector<LineElements> &elements)
{
    QHash<QString, std::size_t> index;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!elements[i].beforeState)
            continue;
        for (const xmlNode *child = lines[i]->children; child; child = child->next) {
            if (isFaElement(document, child, "NrWierszaFa")) {
                const QString number = NodeText(child);
                if (!index.contains(number))
                    index.insert(number, i);
            }
        }
    }
    return index;
}

Decimal readNumber(const xmlNode *node, int decimals = Decimal::ReadDecimals)
{
    if (const xmlChar *text = soleText(node))
        return Decimal::readUtf8(reinterpret_cast<const char *>(text), decimals);
    return Decimal::read(NodeText(node), u".", decimals);
}

// A price or value: the net figure, or the gross one divided by the VAT factor.
Decimal netAmount(const xmlNode *net, const xmlNode *gross, const Decimal &vatFactor)
{
    const Decimal amount = RoundAmount(readNumber(net));
    if (!amount.isZero())
        return amount;
    return RoundAmount(readNumber(gross)).dividedBy(vatFactor, 2, Rounding::HalfAwayFromZero);
}

class LineBuilder
{
public:
    explicit LineBuilder(const QString &separator) : m_separator(separator) {}

    // `number` is the line number as a whole number; `before` the matching
    // before-state line, if any.
    ListRow build(const LineElements &line, const QString &number, const LineElements *before)
    {
        // The rate keeps six decimals (it is held as 100 x rate with four);
        // a missing or zero rate means 1, and only a rate other than 1 applies.
        Decimal r = readNumber(line.kursWaluty, 6);
        if (r.isZero())
            r = Decimal::fromInt(1);
        const bool rateApplies = r != Decimal::fromInt(1);

        Decimal vatFactor = Decimal::fromInt(1);
        const Decimal vat = readNumber(line.p12);
        if (!vat.isZero())
            vatFactor = Decimal::fromInt(1) + vat.dividedBy(Decimal::fromInt(100), 4, Rounding::HalfEven);

        QString note;
        const auto append = [&note](const QString &label, const QString &value) {
            note += CRLF + label + TAB + value;
        };
        const auto converted = [&](const Decimal &amount) { return rateApplies ? r * amount : amount; };

        Decimal quantity = readNumber(line.p8b);
        if (before) {
            append(QStringLiteral("Ilość po"), amountText(quantity));
            const Decimal quantityBefore = readNumber(before->p8b);
            if (quantity != quantityBefore)
                quantity = quantity - quantityBefore;
            append(QStringLiteral("Ilość przed"), amountText(quantityBefore));
        }

        Decimal price = netAmount(line.p9a, line.p9b, vatFactor);
        if (before) {
            append(QStringLiteral("Cena po"), amountText(converted(price)));
            if (rateApplies)
                append(QStringLiteral("CenaW po"), amountText(price));
            const Decimal priceBefore = netAmount(before->p9a, before->p9b, vatFactor);
            append(QStringLiteral("Cena przed"), amountText(converted(priceBefore)));
            if (rateApplies)
                append(QStringLiteral("CenaW przed"), amountText(priceBefore));
            if (price != priceBefore)
                price = price - priceBefore;
        }

        Decimal value = netAmount(line.p11, line.p11a, vatFactor);
        if (before) {
            const Decimal valueBefore = netAmount(before->p11, before->p11a, vatFactor);
            if (value != valueBefore)
                value = value - valueBefore;
        }

        ListRow row;
        QString &cells = row.cellText();
        cells.reserve(160);
        const auto amount = [&](const Decimal &figure) {
            figure.appendFormatted(cells, 2, m_separator);
            row.endCell();
        };
        const auto text = [&](const xmlNode *node) {
            appendNodeText(cells, node);
            row.endCell();
        };
        cells += number;
        row.endCell();
        text(line.indeks);
        text(line.p8a);
        amount(quantity);
        amount(converted(price));
        if (rateApplies)
            amount(price);
        else
            cells += u' ', row.endCell();
        amount(converted(value));
        if (rateApplies)
            amount(value);
        else
            row.endCell();
        text(line.p12);
        if (rateApplies)
            r.appendFormatted(cells, 6, m_separator);
        row.endCell();
        text(line.p7);
        text(line.gtin);
        text(line.gtu);
        text(line.pkwiu);
        row.changeNote = note;
        return row;
    }

private:
    QString amountText(const Decimal &amount) const { return amount.format(2, m_separator); }

    QString m_separator;
};

QString commonRateOf(const std::vector<ListRow> &rows)
{
    if (rows.empty())
        return {};
    const QStringView first = rows.front().cellView(9);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].cellView(9).compare(first, Qt::CaseInsensitive) != 0)
            return {};
    }
    return first.toString();
}

} // namespace

InvoiceLines buildInvoiceLines(const InvoiceDocument &document, const QString &decimalSeparator)
{
    InvoiceLines result;
    std::vector<xmlNode *> lines;
    std::vector<LineElements> elements;
    QHash<QString, std::size_t> beforeState;
    try {
        lines = FaPath(document, "n:Faktura/n:Fa/n:FaWiersz").selectAll();
        elements.resize(lines.size());
        // Lines are independent of each other, so the largest invoices are
        // read on two threads; the document is only read.
        inTwoHalves(lines.size(), [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i)
                elements[i] = LineElements(document, lines[i]);
        });
        beforeState = indexBeforeStateLines(document, lines, elements);
    } catch (...) {
        result.failure = failureFromCurrentException();
        return result;
    }

    // Each half remembers where it failed; the rows before the first failure
    // in document order stay, as if the lines had been read one by one.
    std::vector<std::optional<ListRow>> rows(lines.size());
    struct Stop
    {
        std::size_t at = SIZE_MAX;
        std::optional<Failure> failure;
    } stops[2];
    inTwoHalves(lines.size(), [&](std::size_t begin, std::size_t end) {
        Stop &stop = stops[begin == 0 ? 0 : 1];
        LineBuilder builder(decimalSeparator);
        for (std::size_t i = begin; i < end; ++i) {
            const LineElements &line = elements[i];
            if (line.hasStanPrzed)
                continue;
            try {
                if (!line.nrWierszaFa)
                    throw Failure(0, QStringLiteral("Pozycja faktury bez elementu NrWierszaFa."));
                const QString number = readNumber(line.nrWierszaFa).wholeText();
                const auto before = beforeState.constFind(number);
                rows[i] = builder.build(line, number, before == beforeState.constEnd() ? nullptr : &elements[*before]);
                rows[i]->source = lines[i];
            } catch (...) {
                stop.at = i;
                stop.failure = failureFromCurrentException();
                return;
            }
        }
    });
    const Stop &first = stops[0].at <= stops[1].at ? stops[0] : stops[1];
    result.rows.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size() && i < first.at; ++i) {
        if (rows[i])
            result.rows.push_back(std::move(*rows[i]));
    }
    if (first.failure) {
        result.failure = first.failure;
        return result;
    }
    result.commonRate = commonRateOf(result.rows);
    return result;
}

} // namespace velkor
