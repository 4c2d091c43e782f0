#include "InvoiceLines.h"

#include "support/Decimal.h"
#include "views/XmlNavigation.h"

#include <QHash>

#include <cstring>

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

    LineElements(const xmlNode *line, const QByteArray &faNamespace)
    {
        const struct
        {
            const char *name;
            const xmlNode **slot;
        } wanted[] = {{"NrWierszaFa", &nrWierszaFa}, {"Indeks", &indeks}, {"P_8A", &p8a},
                      {"P_8B", &p8b},   {"P_9A", &p9a},   {"P_9B", &p9b},   {"P_11", &p11},
                      {"P_11A", &p11a}, {"P_12", &p12},   {"KursWaluty", &kursWaluty},
                      {"P_7", &p7},     {"GTIN", &gtin},  {"GTU", &gtu},
                      // The schema's element is PKWiU; the column is headed "PKWIU".
                      {"PKWiU", &pkwiu}};
        for (const xmlNode *child = line->children; child; child = child->next) {
            if (child->type != XML_ELEMENT_NODE || !child->ns || faNamespace != reinterpret_cast<const char *>(child->ns->href))
                continue;
            for (const auto &w : wanted) {
                if (!*w.slot && std::strcmp(reinterpret_cast<const char *>(child->name), w.name) == 0) {
                    *w.slot = child;
                    break;
                }
            }
        }
    }
};

bool hasFaChild(const xmlNode *parent, const QByteArray &faNamespace, const char *name)
{
    return firstFaChild(parent, faNamespace, name) != nullptr;
}

// n:StanPrzed='1': some StanPrzed child whose text is exactly "1".
bool isBeforeState(const xmlNode *line, const QByteArray &faNamespace)
{
    for (const xmlNode *child = line->children; child; child = child->next) {
        if (isFaElement(child, faNamespace, "StanPrzed") && NodeText(child) == u"1")
            return true;
    }
    return false;
}

// The first before-state line of each line-number text, in document order:
// the lookup n:FaWiersz[n:StanPrzed='1' and n:NrWierszaFa='D'] done once for
// all lines. The text must equal D exactly, so 01 does not pair with 1.
QHash<QString, const xmlNode *> indexBeforeStateLines(const std::vector<xmlNode *> &lines,
                                                      const QByteArray &faNamespace)
{
    QHash<QString, const xmlNode *> index;
    for (const xmlNode *line : lines) {
        if (!isBeforeState(line, faNamespace))
            continue;
        for (const xmlNode *child = line->children; child; child = child->next) {
            if (isFaElement(child, faNamespace, "NrWierszaFa"))
                index.insert(NodeText(child), line); // keeps the first
        }
    }
    return index;
}

Decimal readNumber(const xmlNode *node)
{
    return Decimal::read(NodeText(node));
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
        Decimal r = Decimal::read(NodeText(line.kursWaluty), u".", 6);
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
        row.cells = QStringList{number,
                                NodeText(line.indeks),
                                NodeText(line.p8a),
                                amountText(quantity),
                                amountText(converted(price)),
                                rateApplies ? amountText(price) : QStringLiteral(" "),
                                amountText(converted(value)),
                                rateApplies ? amountText(value) : QString(),
                                NodeText(line.p12),
                                rateApplies ? r.format(6, m_separator) : QString(),
                                NodeText(line.p7),
                                NodeText(line.gtin),
                                NodeText(line.gtu),
                                NodeText(line.pkwiu)};
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
    const QString first = rows.front().cell(9);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (rows[i].cell(9).compare(first, Qt::CaseInsensitive) != 0)
            return {};
    }
    return first;
}

} // namespace

InvoiceLines buildInvoiceLines(const InvoiceDocument &document, const QString &decimalSeparator)
{
    InvoiceLines result;
    try {
        const QByteArray &ns = document.faNamespaceUtf8();
        const std::vector<xmlNode *> lines = FaPath(document, "n:Faktura/n:Fa/n:FaWiersz").selectAll();
        const QHash<QString, const xmlNode *> beforeState = indexBeforeStateLines(lines, ns);
        LineBuilder builder(decimalSeparator);
        for (const xmlNode *line : lines) {
            if (hasFaChild(line, ns, "StanPrzed"))
                continue;
            const LineElements elements(line, ns);
            if (!elements.nrWierszaFa)
                throw Failure(0, QStringLiteral("Pozycja faktury bez elementu NrWierszaFa."));
            const QString number = readNumber(elements.nrWierszaFa).wholeText();
            const xmlNode *before = beforeState.value(number, nullptr);
            if (before) {
                const LineElements beforeElements(before, ns);
                result.rows.push_back(builder.build(elements, number, &beforeElements));
            } else {
                result.rows.push_back(builder.build(elements, number, nullptr));
            }
            result.rows.back().source = line;
        }
    } catch (...) {
        result.failure = failureFromCurrentException();
        return result;
    }
    result.commonRate = commonRateOf(result.rows);
    return result;
}

} // namespace velkor
