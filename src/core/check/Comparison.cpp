#include "Comparison.h"

#include "core/invoice/LineFigures.h"
#include "core/tree/XmlNavigation.h"

namespace velkor {

Way figure(const QString &how, const Decimal &value)
{
    return {how, [value] { return std::optional<Decimal>(value); }};
}

void Findings::compare(const QString &label, const QString &field, const std::optional<Decimal> &stated,
                       const std::vector<Way> &ways, const Decimal &allowed, Mark near, const QString &explained)
{
    const Decimal statedValue = stated.value_or(Decimal());
    const QString statedText = stated ? amount(statedValue) : QStringLiteral("brak");
    const Way *nearest = nullptr;
    Decimal nearestValue;
    for (const Way &way : ways) {
        // Beyond the tolerance whatever its value: the mark stays the same.
        if (way.centre && distance(*way.centre, statedValue) - way.reach > allowed)
            continue;
        const std::optional<Decimal> value = way.value();
        if (!value)
            continue;
        if (*value == statedValue) {
            add(Mark::Ok, QStringLiteral("%1: %2 %3 = %4 %5").arg(label, field, statedText, way.how, amount(*value)));
            if (!way.note.isEmpty())
                note(label + QStringLiteral(": ") + way.note);
            return;
        }
        if (!nearest || distance(*value, statedValue) < distance(nearestValue, statedValue)) {
            nearest = &way;
            nearestValue = *value;
        }
    }
    if (!nearest)
        return;
    const Mark mark = distance(statedValue, nearestValue) > allowed ? Mark::Error : near;
    QString text = QStringLiteral("%1: %2 %3 ≠ %4 %5 (różnica %6, tolerancja %7)")
                       .arg(label, field, statedText, nearest->how, amount(nearestValue),
                            amount(statedValue - nearestValue), amount(allowed));
    if (mark == near && !explained.isEmpty())
        text += QStringLiteral("; ") + explained;
    add(mark, text);
}

Decimal grosze(const Decimal &value)
{
    return value.rounded(2, Rounding::HalfAwayFromZero);
}

Decimal distance(const Decimal &a, const Decimal &b)
{
    const Decimal d = a - b;
    return d.isNegative() ? -d : d;
}

std::optional<Decimal> faAmount(const InvoiceDocument &document, const char *path)
{
    const QByteArray full = QByteArrayLiteral("n:Faktura/n:Fa/") + path;
    const xmlNode *node = FaPath(document, full.constData()).selectFirst();
    return node ? std::optional<Decimal>(numberOf(node)) : std::nullopt;
}

Decimal faSum(const InvoiceDocument &document, const char *path)
{
    const QByteArray full = QByteArrayLiteral("n:Faktura/n:Fa/") + path;
    Decimal sum;
    for (const xmlNode *node : FaPath(document, full.constData()).selectAll())
        sum = sum + numberOf(node);
    return sum;
}

} // namespace velkor
