#include "LineDetails.h"

#include "core/invoice/LineFigures.h"
#include "core/support/TrimSpaces.h"
#include "core/tree/RevealRequest.h"
#include "core/tree/XmlNavigation.h"

#include <cstring>

namespace velkor {

namespace {

// The element each column of the lines list shows, and the element a price
// or value came from when the net one is absent.
struct ColumnSource
{
    const char *header;
    const char *element;
    const char *alternative;
};

const ColumnSource ColumnSources[] = {
    {"Lp", "NrWierszaFa", nullptr},  {"KodDostawcy", "Indeks", nullptr}, {"Jm", "P_8A", nullptr},
    {"Ilość", "P_8B", nullptr},      {"Cena", "P_9A", "P_9B"},           {"CenaW", "P_9A", "P_9B"},
    {"Wartość", "P_11", "P_11A"},    {"WartośćW", "P_11", "P_11A"},      {"VAT", "P_12", nullptr},
    {"Kurs", "KursWaluty", nullptr}, {"Nazwa", "P_7", nullptr},          {"EAN", "GTIN", nullptr},
    {"GTU", "GTU", nullptr},         {"PKWIU", "PKWIU", nullptr},
};

const ColumnSource *sourceOfColumn(const QString &header)
{
    for (const ColumnSource &source : ColumnSources) {
        if (header.compare(QString::fromUtf8(source.header), Qt::CaseInsensitive) == 0)
            return &source;
    }
    return nullptr;
}

// The first child of the line with that local name, letter case ignored;
// an order line's element of the same meaning.
const xmlNode *lineChild(const InvoiceDocument &document, const xmlNode *line, const char *name)
{
    if (isOrderLine(line))
        name = orderLineName(name);
    for (const xmlNode *child = line ? line->children : nullptr; child; child = child->next) {
        if (document.isFaElement(child) && qstricmp(reinterpret_cast<const char *>(child->name), name) == 0)
            return child;
    }
    return nullptr;
}

class RequestMaker
{
public:
    RequestMaker(const XmlTree &tree, const InvoiceDocument &document) : m_tree(tree), m_document(document) {}

    // The request for an element's own tree node, or an empty text.
    QString forElement(const xmlNode *element) const
    {
        const int node = m_tree.nodeOf(element);
        if (node == XmlTree::NoNode)
            return {};
        return RevealRequest::make(m_tree.fullPath(node), m_tree.occurrenceOf(node));
    }

    QString forField(const xmlNode *line, const ColumnSource &source, const QString &lineRequest) const
    {
        QString request = forElement(lineChild(m_document, line, source.element));
        if (request.isEmpty() && source.alternative)
            request = forElement(lineChild(m_document, line, source.alternative));
        return request.isEmpty() ? lineRequest : request;
    }

private:
    const XmlTree &m_tree;
    const InvoiceDocument &m_document;
};

// Line numbers are whole numbers: "01", " 1 " and "1" name the same line.
bool hasLineNumber(const InvoiceDocument &document, const xmlNode *description, const Decimal &number)
{
    for (const xmlNode *child = description->children; child; child = child->next) {
        if (isFaElement(document, child, "NrWiersza") && numberOf(child) == number)
            return true;
    }
    return false;
}

ListRow detailRow(const QString &label, const QString &value, const QString &tag)
{
    ListRow row;
    row.setCells({label, value});
    row.tag = tag;
    return row;
}

} // namespace

LineDetails buildLineDetails(const InvoiceDocument &document, const XmlTree &tree, const QStringList &headers,
                             const ListRow &line, int position)
{
    const RequestMaker requests(tree, document);
    LineDetails details;
    details.lineRequest = requests.forElement(line.source);
    if (details.lineRequest.isEmpty())
        details.lineRequest = RevealRequest::make(QStringLiteral("Fa / FaWiersz"), position);

    for (int column = 0; column < headers.size(); ++column) {
        const QString value = column == 0 ? line.cell(0) : trimSpaces(line.cellView(column)).toString();
        if (value.isEmpty())
            continue;
        const ColumnSource *source = sourceOfColumn(headers[column]);
        const QString tag = source ? requests.forField(line.source, *source, details.lineRequest) : QString();
        details.rows.push_back(detailRow(headers[column], value, tag));
    }

    const Decimal number = Decimal::read(line.cell(0));
    for (const xmlNode *description : FaPath(document, "n:Faktura/n:Fa/n:DodatkowyOpis").selectAll()) {
        if (!hasLineNumber(document, description, number))
            continue;
        const QString key = NodeText(firstFaChild(document, description, "Klucz"));
        if (key.isEmpty())
            continue;
        QString tag = requests.forElement(description);
        if (tag.isEmpty())
            tag = RevealRequest::make(QStringLiteral("Fa / DodatkowyOpis"), position);
        details.rows.push_back(detailRow(key, NodeText(firstFaChild(document, description, "Wartosc")), tag));
    }

    for (const QString &piece : line.changeNote.split(QStringLiteral("\r\n"))) {
        if (piece.isEmpty())
            continue;
        const QStringList parts = piece.split(u'\t');
        if (parts.size() == 2)
            details.rows.push_back(detailRow(parts[0], parts[1], QString()));
    }
    return details;
}

} // namespace velkor
