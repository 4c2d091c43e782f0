#include "InvoiceLines.h"

#include "core/invoice/LineFigures.h"
#include "core/support/Parallel.h"
#include "core/tree/XmlNavigation.h"

#include <cstdint>
#include <map>
#include <optional>

namespace velkor {

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString TAB = QStringLiteral("\t");

// What the list shows of one state of a line: its currency figures and
// their value in PLN at the state's own rate.
struct ShownFigures
{
    ExactFigure quantity, price, value, pricePln, valuePln;

    explicit ShownFigures(const LineFigures &state)
        : quantity(state.quantity)
        , price(state.price)
        , value(state.value)
        , pricePln(state.pricePln())
        , valuePln(state.valuePln())
    {
    }
};

// A column of a corrected line compares figures of its own kind: the after
// state's figure when both states agree exactly, else the change.
ExactFigure column(const ShownFigures &after, const std::optional<ShownFigures> &before,
                   ExactFigure ShownFigures::*figure)
{
    const ExactFigure &value = after.*figure;
    return before && value != (*before).*figure ? value - (*before).*figure : value;
}

class LineBuilder
{
public:
    explicit LineBuilder(const QString &separator) : m_separator(separator) {}

    // `number` is the line number as a whole number; `beforeState` the
    // figures of the matching before-state line, if any. Each state is
    // converted with its own rate and its gross figures are divided by its
    // own VAT factor.
    ListRow build(const LineElements &line, const QString &number, const LineFigures &afterState,
                  const LineFigures *beforeState)
    {
        const ShownFigures after(afterState);
        std::optional<ShownFigures> previous;
        if (beforeState)
            previous.emplace(*beforeState);
        const bool rateApplies = afterState.hasRate() || (beforeState && beforeState->hasRate());

        QString note;
        const auto append = [&note, this](const QString &label, const ExactFigure &figure) {
            note += CRLF + label + TAB + figure.format(2, m_separator);
        };
        if (previous) {
            append(QStringLiteral("Ilość po"), after.quantity);
            append(QStringLiteral("Ilość przed"), previous->quantity);
            append(QStringLiteral("Cena po"), after.pricePln);
            if (rateApplies)
                append(QStringLiteral("CenaW po"), after.price);
            append(QStringLiteral("Cena przed"), previous->pricePln);
            if (rateApplies)
                append(QStringLiteral("CenaW przed"), previous->price);
        }

        ListRow row;
        QString &cells = row.cellText();
        cells.reserve(160);
        const auto amount = [&](ExactFigure ShownFigures::*figure) {
            column(after, previous, figure).appendFormatted(cells, 2, m_separator);
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
        amount(&ShownFigures::quantity);
        amount(&ShownFigures::pricePln);
        if (rateApplies)
            amount(&ShownFigures::price);
        else
            cells += u' ', row.endCell();
        amount(&ShownFigures::valuePln);
        if (rateApplies)
            amount(&ShownFigures::value);
        else
            row.endCell();
        text(line.p12);
        if (rateApplies)
            afterState.rate.appendFormatted(cells, 6, m_separator);
        row.endCell();
        text(line.p7);
        text(line.gtin);
        text(line.gtu);
        text(line.pkwiu);
        row.changeNote = note;
        return row;
    }

private:
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

const char *const InvoiceLinesPath = "n:Faktura/n:Fa/n:FaWiersz";
const char *const OrderLinesPath = "n:Faktura/n:Fa/n:Zamowienie/n:ZamowienieWiersz";

std::map<Decimal, std::size_t> beforeStateLines(const std::vector<LineElements> &elements)
{
    std::map<Decimal, std::size_t> index;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].beforeState && elements[i].nrWierszaFa)
            index.emplace(numberOf(elements[i].nrWierszaFa), i);
    }
    return index;
}

InvoiceLines readLineFigures(const InvoiceDocument &document, const char *linesPath)
{
    InvoiceLines result;
    std::vector<LineElements> &elements = result.elements;
    std::vector<std::optional<LineFigures>> &figures = result.figures;
    try {
        const std::vector<xmlNode *> lines = FaPath(document, linesPath).selectAll();
        elements.resize(lines.size());
        figures.resize(lines.size());
        // Lines are independent of each other, so the largest invoices are
        // read on two threads; the document is only read. A line whose
        // figures cannot be read stops the fill when its row is built.
        inTwoHalves(lines.size(), [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) {
                elements[i] = LineElements(document, lines[i]);
                try {
                    figures[i] = figuresOf(elements[i]);
                } catch (...) {
                }
            }
        });
    } catch (...) {
        result.failure = failureFromCurrentException();
    }
    return result;
}

InvoiceLines buildInvoiceLines(const InvoiceDocument &document, const QString &decimalSeparator, const char *linesPath)
{
    InvoiceLines result = readLineFigures(document, linesPath);
    if (result.failure)
        return result;
    const std::vector<LineElements> &elements = result.elements;
    const std::vector<std::optional<LineFigures>> &figures = result.figures;
    std::map<Decimal, std::size_t> beforeState;
    try {
        beforeState = beforeStateLines(elements);
    } catch (...) {
        result.failure = failureFromCurrentException();
        return result;
    }
    std::vector<const xmlNode *> lines;
    lines.reserve(elements.size());
    for (const LineElements &line : elements)
        lines.push_back(line.line);

    // Each half remembers where it failed; the rows before the first failure
    // in document order stay, as if the lines had been read one by one.
    std::vector<std::optional<ListRow>> rows(lines.size());
    struct Stop
    {
        std::size_t at = SIZE_MAX;
        std::optional<Failure> failure;
    } stops[2];
    // The figures read in the first pass; where they failed, reading them
    // again raises the failure here.
    const auto figuresAt = [&](std::size_t i) -> const LineFigures & {
        if (!figures[i]) {
            (void)figuresOf(elements[i]);
            throw Failure(0, QStringLiteral("Nie można odczytać kwot pozycji faktury."));
        }
        return *figures[i];
    };
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
                const Decimal number = numberOf(line.nrWierszaFa);
                const auto before = beforeState.find(number);
                const LineFigures *beforeFigures = nullptr;
                if (before != beforeState.end())
                    beforeFigures = &figuresAt(before->second);
                rows[i] = builder.build(line, number.wholeText(), figuresAt(i), beforeFigures);
                rows[i]->source = lines[i];
                if (const xmlNode *vat = isOrderLine(lines[i]) ? firstFaChild(document, lines[i], "P_11VatZ") : nullptr)
                    rows[i]->changeNote += CRLF + QStringLiteral("Kwota VAT") + TAB
                                           + ExactFigure(numberOf(vat)).format(2, decimalSeparator);
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
