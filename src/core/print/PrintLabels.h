#pragma once

#include "core/load/InvoiceDocument.h"

#include <QString>

namespace velkor {
class Decimal;
}

namespace velkor::print {

// How the text of an element is written on paper.
enum class ValueKind {
    Text,     // as written
    Amount,   // a sum of money: two decimals
    Number,   // a quantity, price or rate: the decimals written, at least `minDecimals`
    Percent,  // "50" as "50%"
    VatRate,  // "23" as "23%"; "zw", "0 KR", "np I" as written
    Flag,     // "1" as "tak"; any other value is not printed (it states an absence)
    Hidden,   // never printed by itself (the printout says the same otherwise)
    Code,     // a code of the schema's list, with its name
    // Elements with elements inside:
    Bundle,  // its fields are printed in its place, without a heading
    Group,   // its label as a heading, then its fields (the default)
    Rows,    // one row of a table that its siblings of the same name share
    Address, // an address, printed as one value of several lines
    Joined,  // its fields' values in one line ("14 dni od wystawienia")
};

// The one table of printed labels: the label of an FA(3) element (by its
// local name), how its value is written and, for codes, their names. The
// labels are the common Polish terms or short forms of the schema's own
// documentation.
struct ElementLabel
{
    const char *element;
    const char *label;
    ValueKind kind;
    int minDecimals = 0;
};

// The entry of an element, or nullptr for an element the table does not know.
const ElementLabel *elementLabel(const char *localName);

// The label of an element: the table's, else the element's own name, so that
// nothing the table misses is lost.
QString labelOf(const char *localName);
QString labelOf(const xmlNode *element);
// The same, where the figure means another thing on another kind of invoice
// (P_15, P_6, P_15ZK by RodzajFaktury) or in another place (KodKraju).
QString labelIn(const InvoiceDocument &document, const xmlNode *element);

// The element's text as printed, numbers with `separator`; empty when the
// element is not printed by itself.
QString printedValue(const xmlNode *element, const QString &separator);

// A number as written, with at least `minDecimals` decimals: 2.561 stays
// 2,561, 10.5000 stays 10,5000.
QString writtenNumber(const xmlNode *element, int minDecimals, const QString &separator);
// A figure with every significant decimal (trailing zeros dropped), at
// least `minDecimals`: -0.0610 is -0,061, 1.5 is 1,50.
QString significantText(const Decimal &number, int minDecimals, const QString &separator);

// The names of the codes of a few lists, "" for a code outside the list.
QString invoiceKindName(const QString &code); // RodzajFaktury, as the title says it
// The title of the invoice: its kind, a correction of a period's supplies
// (OkresFaKorygowanej) called collective.
QString invoiceTitle(const InvoiceDocument &document);
QString codeName(const char *localName, const QString &code);

} // namespace velkor::print
