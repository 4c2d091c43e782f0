#include "LinesTable.h"

#include "core/invoice/LineFigures.h"
#include "core/print/PrintLabels.h"
#include "core/tree/XmlNavigation.h"

#include <array>
#include <set>
#include <string_view>
#include <unordered_map>

namespace velkor::print {

namespace {

// An element of an invoice line and its counterpart in an order line.
struct Names
{
    const char *line;
    const char *order;
};

// The table's columns, in order; a column no line fills is left out.
enum Column { Number, Name, Unit, Quantity, NetPrice, GrossPrice, Discount, NetValue, GrossValue, Vat, Rate,
              ExchangeRate, NetPricePln, NetValuePln, ColumnCount };
const Names ColumnElements[ColumnCount] = {
    {"NrWierszaFa", "NrWierszaZam"}, {"P_7", "P_7Z"},   {"P_8A", "P_8AZ"},         {"P_8B", "P_8BZ"},
    {"P_9A", "P_9AZ"},               {"P_9B", nullptr}, {"P_10", nullptr},         {"P_11", "P_11NettoZ"},
    {"P_11A", nullptr},              {"P_11Vat", "P_11VatZ"}, {"P_12", "P_12Z"},   {"KursWaluty", nullptr},
    {nullptr, nullptr},              {nullptr, nullptr}, // figured, in PLN
};
// Printed under the name, each with its label.
const Names CodeElements[] = {
    {"Indeks", "IndeksZ"}, {"GTIN", "GTINZ"},           {"PKWiU", "PKWiUZ"},           {"CN", "CNZ"},
    {"PKOB", "PKOBZ"},     {"GTU", "GTUZ"},             {"Procedura", "ProceduraZ"},   {"UU_ID", "UU_IDZ"},
    {"P_6A", nullptr},     {"KwotaAkcyzy", "KwotaAkcyzyZ"}, {"P_12_Zal_15", "P_12Z_Zal_15"},
};
constexpr int CodeCount = int(std::size(CodeElements));
// Slots after the columns and the codes: the OSS rate and the before-state mark.
constexpr int OssSlot = ColumnCount + CodeCount;
constexpr int StateSlot = OssSlot + 1;
constexpr int SlotCount = StateSlot + 1;
const Names OssRate{"P_12_XII", "P_12Z_XII"};
const Names StateMark{"StanPrzed", "StanPrzedZ"};

using Slots = std::array<const xmlNode *, SlotCount>;
// The most decimals a unit price is written with.
constexpr int PriceDecimals = 8;

// Reads the children of a line into their slots in one pass.
class LineReader
{
public:
    LineReader(const InvoiceDocument &document, bool orderLines) : m_document(document)
    {
        const auto add = [&](const Names &names, int slot) {
            if (const char *name = orderLines ? names.order : names.line)
                m_slots.emplace(name, slot);
        };
        for (int c = 0; c < ColumnCount; ++c)
            add(ColumnElements[c], c);
        for (int c = 0; c < CodeCount; ++c)
            add(CodeElements[c], ColumnCount + c);
        add(OssRate, OssSlot);
        add(StateMark, StateSlot);
    }

    Slots read(const xmlNode *line) const
    {
        Slots slots{};
        for (const xmlNode *child = line->children; child; child = child->next) {
            if (!m_document.isFaElement(child))
                continue;
            const auto slot = m_slots.find(reinterpret_cast<const char *>(child->name));
            if (slot != m_slots.end() && !slots[std::size_t(slot->second)])
                slots[std::size_t(slot->second)] = child;
        }
        return slots;
    }

private:
    const InvoiceDocument &m_document;
    std::unordered_map<std::string_view, int> m_slots;
};

QString stateText(RowKind kind)
{
    switch (kind) {
    case RowKind::Before: return QStringLiteral("przed");
    case RowKind::After: return QStringLiteral("po");
    case RowKind::Change: return QStringLiteral("zmiana");
    default: return {};
    }
}

class TableBuilder
{
public:
    TableBuilder(const InvoiceDocument &document, bool orderLines, const QString &separator)
        : m_reader(document, orderLines), m_separator(separator)
        , m_margin(isYes(NodeText(FaPath(document, "n:Faktura/n:Fa/n:Adnotacje/n:PMarzy/n:P_PMarzy").selectFirst())))
    {
        for (const Names &names : ColumnElements) {
            if (names.line)
                m_headers << labelOf(names.line);
        }
        m_headers << labelOf("P_9A") + QStringLiteral(" PLN") << labelOf("P_11") + QStringLiteral(" PLN");
    }

    // Each line's net price and value in PLN at its own rate.
    void showPln() { m_pln = true; }

    // One line as it is written; `descriptions` go under its name.
    void addLine(const xmlNode *line, RowKind kind, const QStringList &descriptions,
                 const std::optional<LineFigures> &figures = std::nullopt)
    {
        const Slots slots = m_reader.read(line);
        TableRow row;
        row.kind = kind;
        for (int c = 0; c < ColumnCount; ++c)
            row.cells << (slots[std::size_t(c)] ? printedValue(slots[std::size_t(c)], m_separator) : QString());
        if (m_pln && figures) {
            row.cells[NetPricePln] = figures->pricePln().format(2, m_separator);
            row.cells[NetValuePln] = figures->valuePln().format(2, m_separator);
        }
        QStringList codes;
        for (int c = 0; c < CodeCount; ++c) {
            if (const xmlNode *code = slots[std::size_t(ColumnCount + c)]) {
                const QString value = printedValue(code, m_separator);
                if (!value.isEmpty())
                    codes << labelOf(code) + QStringLiteral(": ") + value;
            }
        }
        QString &name = row.cells[Name];
        if (!codes.isEmpty())
            name += (name.isEmpty() ? QString() : QStringLiteral("\n")) + codes.join(QStringLiteral("; "));
        for (const QString &description : descriptions)
            name += (name.isEmpty() ? QString() : QStringLiteral("\n")) + description;
        if (const xmlNode *oss = slots[OssSlot])
            row.cells[Rate] = printedValue(oss, m_separator) + QStringLiteral(" OSS");
        // A line of the margin scheme has no rate of its own.
        if (m_margin && row.cells[Rate].isEmpty())
            row.cells[Rate] = QStringLiteral("marża");
        m_rows.push_back(std::move(row));
    }

    // What the correction changed, in the invoice's currency: the net
    // figures, as the lines list takes them; a quantity and a price with
    // every significant decimal they can be written with (6 and 8).
    void addChange(const LineFigures &before, const LineFigures &after)
    {
        TableRow row;
        row.kind = RowKind::Change;
        for (int c = 0; c < ColumnCount; ++c)
            row.cells << QString();
        row.cells[Quantity] = significantText(after.quantity - before.quantity, 2, m_separator);
        row.cells[NetPrice] = significantText((after.price - before.price).rounded(PriceDecimals), 2, m_separator);
        row.cells[NetValue] = (after.value - before.value).format(2, m_separator);
        if (m_pln) {
            row.cells[NetPricePln] = (after.pricePln() - before.pricePln()).format(2, m_separator);
            row.cells[NetValuePln] = (after.valuePln() - before.valuePln()).format(2, m_separator);
        }
        m_rows.push_back(std::move(row));
    }

    bool isBeforeState(const xmlNode *line) const { return m_reader.read(line)[StateSlot] != nullptr; }

    // The table with the columns some row fills (the number and the name
    // always), and the state of each row where lines were corrected.
    Table take(const QString &title, bool withExchangeRate)
    {
        std::vector<int> shown;
        bool states = false;
        for (const TableRow &row : m_rows)
            states = states || row.kind != RowKind::Plain;
        for (int c = 0; c < ColumnCount; ++c) {
            if (c == ExchangeRate && !withExchangeRate)
                continue;
            bool filled = c == Number || c == Name;
            for (std::size_t r = 0; r < m_rows.size() && !filled; ++r)
                filled = !m_rows[r].cells[c].isEmpty();
            if (filled)
                shown.push_back(c);
        }
        Table table;
        table.title = title;
        for (int c : shown) {
            table.header << m_headers[c];
            table.align.push_back(c == Name || c == Unit || c == Rate ? Align::Left : Align::Right);
            if (c == Number && states) {
                table.header << QStringLiteral("Stan");
                table.align.push_back(Align::Left);
            }
        }
        for (TableRow &row : m_rows) {
            QStringList cells;
            for (int c : shown) {
                cells << row.cells[c];
                if (c == Number && states)
                    cells << stateText(row.kind);
            }
            row.cells = std::move(cells);
        }
        table.rows = std::move(m_rows);
        return table;
    }

private:
    LineReader m_reader;
    QString m_separator;
    bool m_margin;
    bool m_pln = false;
    QStringList m_headers;
    std::vector<TableRow> m_rows;
};

} // namespace

LineDescriptions::LineDescriptions(const InvoiceDocument &document) : m_document(document)
{
    for (const xmlNode *description : FaPath(document, "n:Faktura/n:Fa/n:DodatkowyOpis").selectAll()) {
        if (const xmlNode *line = firstFaChild(document, description, "NrWiersza"))
            m_byLine[numberOf(line)].push_back(m_all.size());
        m_all.push_back(description);
    }
    m_taken.assign(m_all.size(), false);
}

QStringList LineDescriptions::take(const Decimal &number)
{
    QStringList texts;
    const auto found = m_byLine.find(number);
    if (found == m_byLine.end())
        return texts;
    for (std::size_t index : found->second) {
        if (m_taken[index])
            continue;
        m_taken[index] = true;
        texts << NodeText(firstFaChild(m_document, m_all[index], "Klucz")).trimmed() + QStringLiteral(": ")
                     + NodeText(firstFaChild(m_document, m_all[index], "Wartosc")).trimmed();
    }
    return texts;
}

std::vector<const xmlNode *> LineDescriptions::remaining() const
{
    std::vector<const xmlNode *> rest;
    for (std::size_t i = 0; i < m_all.size(); ++i) {
        if (!m_taken[i])
            rest.push_back(m_all[i]);
    }
    return rest;
}

std::optional<Decimal> rateOfEveryLine(const InvoiceLines &lines)
{
    std::optional<Decimal> rate;
    for (const std::optional<LineFigures> &figures : lines.figures) {
        if (!figures || (rate && *rate != figures->rate))
            return std::nullopt;
        rate = figures->rate;
    }
    return rate;
}

Table invoiceLinesTable(const InvoiceDocument &document, const InvoiceLines &lines, const QString &separator,
                        LineDescriptions &descriptions)
{
    const std::vector<LineElements> &elements = lines.elements;
    const std::map<Decimal, std::size_t> before = beforeStateLines(elements);
    std::set<Decimal> afterNumbers;
    bool corrected = false;
    for (const LineElements &line : elements) {
        if (!line.hasStanPrzed && line.nrWierszaFa)
            afterNumbers.insert(numberOf(line.nrWierszaFa));
        corrected = corrected || line.hasStanPrzed;
    }

    TableBuilder builder(document, false, separator);
    // A rate common to every line is printed once, above the lines.
    const bool ratePerLine = !rateOfEveryLine(lines);
    if (ratePerLine)
        builder.showPln();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const LineElements &line = elements[i];
        const Decimal number = line.nrWierszaFa ? numberOf(line.nrWierszaFa) : Decimal();
        const auto pair = line.nrWierszaFa ? before.find(number) : before.end();
        if (line.hasStanPrzed) {
            // Printed with its after state; a before state with none stands alone.
            const bool paired = pair != before.end() && pair->second == i && afterNumbers.count(number) > 0;
            if (!paired)
                builder.addLine(line.line, RowKind::Before, {}, lines.figures[i]);
            continue;
        }
        const QStringList texts = line.nrWierszaFa ? descriptions.take(number) : QStringList();
        if (pair == before.end()) {
            builder.addLine(line.line, corrected ? RowKind::After : RowKind::Plain, texts, lines.figures[i]);
            continue;
        }
        builder.addLine(elements[pair->second].line, RowKind::Before, {}, lines.figures[pair->second]);
        builder.addLine(line.line, RowKind::After, texts, lines.figures[i]);
        if (lines.figures[pair->second] && lines.figures[i])
            builder.addChange(*lines.figures[pair->second], *lines.figures[i]);
    }
    return builder.take(QString(), ratePerLine);
}

Table orderLinesTable(const InvoiceDocument &document, const std::vector<xmlNode *> &orderLines,
                      const QString &separator, LineDescriptions &descriptions)
{
    TableBuilder builder(document, true, separator);
    bool corrected = false;
    for (const xmlNode *line : orderLines)
        corrected = corrected || builder.isBeforeState(line);
    for (const xmlNode *line : orderLines) {
        const xmlNode *number = firstFaChild(document, line, "NrWierszaZam");
        const bool beforeState = builder.isBeforeState(line);
        builder.addLine(line, beforeState ? RowKind::Before : corrected ? RowKind::After : RowKind::Plain,
                        number && !beforeState ? descriptions.take(numberOf(number)) : QStringList());
    }
    return builder.take(QStringLiteral("Pozycje zamówienia"), false);
}

} // namespace velkor::print
