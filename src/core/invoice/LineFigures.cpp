#include "LineFigures.h"

#include "core/tree/XmlNavigation.h"

#include <QByteArray>

#include <string_view>
#include <unordered_map>

namespace velkor {

namespace {

// An order line's elements and the invoice line's they stand for.
const char *const OrderLineNames[][2] = {
    {"NrWierszaZam", "NrWierszaFa"}, {"UU_IDZ", "UU_ID"}, {"P_7Z", "P_7"}, {"IndeksZ", "Indeks"},
    {"GTINZ", "GTIN"}, {"PKWiUZ", "PKWiU"}, {"CNZ", "CN"}, {"PKOBZ", "PKOB"}, {"P_8AZ", "P_8A"},
    {"P_8BZ", "P_8B"}, {"P_9AZ", "P_9A"}, {"P_11NettoZ", "P_11"}, {"P_11VatZ", "P_11Vat"}, {"P_12Z", "P_12"},
    {"P_12Z_XII", "P_12_XII"}, {"P_12Z_Zal_15", "P_12_Zal_15"}, {"GTUZ", "GTU"}, {"ProceduraZ", "Procedura"},
    {"KwotaAkcyzyZ", "KwotaAkcyzy"}, {"StanPrzedZ", "StanPrzed"},
};

const char *counterpart(const char *name, int from)
{
    for (const auto &pair : OrderLineNames) {
        if (qstricmp(pair[from], name) == 0)
            return pair[1 - from];
    }
    return name;
}

} // namespace

const char *invoiceLineName(const char *orderLineName)
{
    return counterpart(orderLineName, 0);
}

const char *orderLineName(const char *invoiceLineName)
{
    return counterpart(invoiceLineName, 1);
}

bool isOrderLine(const xmlNode *line)
{
    return line && xmlStrEqual(line->name, reinterpret_cast<const xmlChar *>("ZamowienieWiersz"));
}

LineElements::LineElements(const InvoiceDocument &document, const xmlNode *line) : line(line)
{
    const bool orderLine = isOrderLine(line);
    using Slot = const xmlNode *LineElements::*;
    static const std::unordered_map<std::string_view, Slot> slots{
        {"NrWierszaFa", &LineElements::nrWierszaFa}, {"Indeks", &LineElements::indeks},
        {"P_8A", &LineElements::p8a},   {"P_8B", &LineElements::p8b},   {"P_9A", &LineElements::p9a},
        {"P_9B", &LineElements::p9b},   {"P_11", &LineElements::p11},   {"P_11A", &LineElements::p11a},
        {"P_12", &LineElements::p12},   {"P_12_XII", &LineElements::p12xii},
        {"KursWaluty", &LineElements::kursWaluty},
        {"P_7", &LineElements::p7},     {"GTIN", &LineElements::gtin},  {"GTU", &LineElements::gtu},
        // The schema's element is PKWiU; the column is headed "PKWIU".
        {"PKWiU", &LineElements::pkwiu}};
    for (const xmlNode *child = line->children; child; child = child->next) {
        if (!document.isFaElement(child))
            continue;
        const char *childName = reinterpret_cast<const char *>(child->name);
        const std::string_view name(orderLine ? invoiceLineName(childName) : childName);
        if (name == "StanPrzed") {
            hasStanPrzed = true;
            beforeState = beforeState || isYes(NodeText(child));
            continue;
        }
        const auto slot = slots.find(name);
        if (slot != slots.end() && !(this->*(slot->second)))
            this->*(slot->second) = child;
    }
}

Decimal numberOf(const xmlNode *element)
{
    if (const xmlChar *text = soleText(element))
        return Decimal::readUtf8(reinterpret_cast<const char *>(text));
    return Decimal::read(NodeText(element));
}

namespace {

// A net figure as stated, or the gross one over the VAT factor.
ExactFigure netFigure(const xmlNode *net, const xmlNode *gross, const Decimal &vatFactor)
{
    Decimal amount = numberOf(net);
    if (!amount.isZero())
        return amount;
    return ExactFigure::quotient(numberOf(gross), vatFactor);
}

} // namespace

LineFigures figuresOf(const LineElements &line)
{
    const Decimal one = Decimal::fromInt(1);
    LineFigures figures;
    figures.rate = numberOf(line.kursWaluty);
    if (figures.rate.isZero())
        figures.rate = one;
    // A line under the OSS procedure gives its rate in P_12_XII instead.
    const Decimal vatFactor = one + numberOf(line.p12 ? line.p12 : line.p12xii) * Decimal::fromScaled(1, 2);
    figures.quantity = numberOf(line.p8b);
    figures.price = netFigure(line.p9a, line.p9b, vatFactor);
    figures.value = netFigure(line.p11, line.p11a, vatFactor);
    return figures;
}

} // namespace velkor
