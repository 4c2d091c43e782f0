#include "VatSummary.h"

#include "check/RateGroups.h"
#include "support/Decimal.h"
#include "support/ExactFigure.h"
#include "views/LineFigures.h"
#include "views/XmlNavigation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace velkor {

namespace {

const char *const VatFieldsInTheAmountDue[] = {"P_14_1", "P_14_2", "P_14_3", "P_14_4", "P_14_5"};

const Decimal Hundredth = Decimal::fromScaled(1, 2);

// What the lines add up to in one group.
struct GroupSums
{
    ExactSum net;
    ExactSum vat;    // net times each line's VAT rate
    ExactSum vatPln; // the same at each line's exchange rate
    int lines = 0;
    QStringList codes;           // as the lines write them, in order of appearance
    std::optional<Decimal> rate; // the lines' exchange rate, when they all have the same
    bool severalRates = false;

    void addRate(const Decimal &lineRate)
    {
        if (!rate)
            rate = lineRate;
        else if (*rate != lineRate)
            severalRates = true;
    }
};

class Summary
{
public:
    Summary(const InvoiceDocument &document, const InvoiceLines &lines, const QString &separator)
        : m_document(document), m_lines(lines), m_separator(separator)
    {
    }

    std::vector<Finding> run()
    {
        const QString kind = text("n:Faktura/n:Fa/n:RodzajFaktury");
        const std::vector<LineElements> &lines = m_lines.elements;
        // ZAL, ROZ and their corrections KOR_ZAL, KOR_ROZ.
        const bool headerOnly = kind.contains(QStringLiteral("ZAL")) || kind.contains(QStringLiteral("ROZ"));
        if (kind.contains(QStringLiteral("ZAL")))
            note(QStringLiteral("Faktura zaliczkowa: kwoty w nagłówku dotyczą zaliczki, a nie pozycji zamówienia; "
                                "porównano pola nagłówka między sobą."));
        else if (kind.contains(QStringLiteral("ROZ")))
            note(QStringLiteral("Faktura rozliczeniowa: kwoty w nagłówku to kwoty pozostałe do zapłaty po zaliczkach; "
                                "porównano pola nagłówka między sobą."));
        else if (lines.empty())
            note(QStringLiteral("Faktura nie ma pozycji (FaWiersz): nie ma czego porównać z nagłówkiem."));
        else if (kind.startsWith(QStringLiteral("KOR")))
            note(QStringLiteral("Faktura korygująca: porównano różnice pozycji (stan po korekcie minus stan przed) "
                                "z kwotami w nagłówku."));

        const bool fromLines = !headerOnly && !lines.empty();
        if (fromLines)
            addLines();
        m_foreign = text("n:Faktura/n:Fa/n:KodWaluty").compare(QStringLiteral("PLN"), Qt::CaseInsensitive) != 0;
        for (std::size_t g = 0; g < rateGroups().size(); ++g)
            checkGroup(rateGroups()[g], m_sums[g], fromLines);
        if (m_other.lines > 0) {
            note(QStringLiteral("%1 bez stawki VAT lub z inną stawką (%2): netto %3; nagłówek nie ma dla nich pola.")
                     .arg(countOf(m_other.lines, "pozycja", "pozycje", "pozycji"),
                          m_other.codes.join(QStringLiteral(", ")), amount(m_other.net.total().rounded(2))));
        }
        checkAmountDue(int(lines.size()));
        return std::move(m_findings);
    }

private:
    // The lines of one rate code (and state) are added up together and
    // multiplied by their VAT rate once: the largest invoices have ten
    // thousand lines but only a few codes.
    void addLines()
    {
        struct CodeSums
        {
            QByteArray code; // as written
            bool oss = false;
            bool before = false;
            const xmlNode *codeElement = nullptr;
            GroupSums *group = nullptr;
            ExactSum net;
            ExactSum netPln; // each line at its own exchange rate
        };
        const bool margin = isYes(text("n:Faktura/n:Fa/n:Adnotacje/n:PMarzy/n:P_PMarzy"));
        std::vector<CodeSums> codes;
        int unread = 0;
        for (std::size_t i = 0; i < m_lines.elements.size(); ++i) {
            const LineElements &line = m_lines.elements[i];
            if (!m_lines.figures[i]) {
                ++unread;
                continue;
            }
            const LineFigures &figures = *m_lines.figures[i];
            const xmlNode *codeElement = line.p12xii ? line.p12xii : line.p12;
            const xmlChar *raw = soleText(codeElement);
            const QByteArray code = raw ? QByteArray::fromRawData(reinterpret_cast<const char *>(raw),
                                                                  qsizetype(std::strlen(reinterpret_cast<const char *>(raw))))
                                        : NodeText(codeElement).toUtf8();
            const bool oss = line.p12xii != nullptr;
            auto sums = std::find_if(codes.begin(), codes.end(), [&](const CodeSums &c) {
                return c.oss == oss && c.before == line.hasStanPrzed && c.code == code;
            });
            if (sums == codes.end()) {
                GroupSums &group = oss ? m_sums[OssGroup] : sumsOf(QString::fromUtf8(code).trimmed(), margin);
                sums = codes.insert(codes.end(), {QByteArray(code.constData(), code.size()), oss, line.hasStanPrzed,
                                                  codeElement, &group, {}, {}});
            }
            sums->net.add(figures.value);
            sums->netPln.add(figures.value.times(figures.rate));
            ++sums->group->lines;
            sums->group->addRate(figures.rate);
        }

        for (const CodeSums &code : codes) {
            // A before-state line counts against its after state.
            const ExactFigure net = code.before ? -code.net.total() : code.net.total();
            const ExactFigure netPln = code.before ? -code.netPln.total() : code.netPln.total();
            const Decimal vatRate = numberOf(code.codeElement) * Hundredth;
            GroupSums &sums = *code.group;
            sums.net.add(net);
            sums.vat.add(net.times(vatRate));
            sums.vatPln.add(netPln.times(vatRate));
            QString shown = QString::fromUtf8(code.code).trimmed();
            if (code.oss)
                shown = QStringLiteral("OSS ") + shown + u'%';
            if (shown.isEmpty())
                shown = QStringLiteral("brak");
            if (!sums.codes.contains(shown))
                sums.codes << shown;
        }
        if (unread > 0)
            note(QStringLiteral("Kwot %1 nie dało się odczytać; pominięto je.")
                     .arg(countOf(unread, "pozycji", "pozycji", "pozycji")));
    }

    GroupSums &sumsOf(const QString &code, bool margin)
    {
        if (code.isEmpty())
            return margin ? m_sums[MarginGroup] : m_other;
        for (std::size_t g = 0; g < rateGroups().size(); ++g) {
            for (const char *known : rateGroups()[g].codes) {
                if (code.compare(QString::fromUtf8(known), Qt::CaseInsensitive) == 0)
                    return m_sums[g];
            }
        }
        return m_other;
    }

    void checkGroup(const RateGroup &group, const GroupSums &sums, bool fromLines)
    {
        const std::optional<Decimal> net = field(group.netField);
        const std::optional<Decimal> vat = group.vatField ? field(group.vatField) : std::nullopt;
        const std::optional<Decimal> vatPln = group.vatPlnField ? field(group.vatPlnField) : std::nullopt;
        // A total the invoice states as zero, with no line at its rates,
        // has nothing to compare.
        const auto zero = [](const std::optional<Decimal> &value) { return !value || value->isZero(); };
        if (sums.lines == 0 && zero(net) && zero(vat) && zero(vatPln))
            return;
        const QString label = groupLabel(group, sums);
        const int tolerance = std::max(sums.lines, 1);
        if (fromLines) {
            compare(label + QStringLiteral(", ") + countOf(sums.lines, "pozycja", "pozycje", "pozycji"),
                    group.netField, net, QStringLiteral("netto z pozycji"), sums.net.total().rounded(2), tolerance);
        }
        if (group.vatField && (fromLines || net)) {
            std::optional<Decimal> expected;
            QString how = QStringLiteral("netto z pozycji × stawka");
            if (fromLines) {
                expected = sums.vat.total().rounded(2);
            } else if (!group.codes.empty()) {
                // Without lines the rate is one of the group's: the nearest.
                for (const char *code : group.codes) {
                    const Decimal candidate =
                        (net.value_or(Decimal()) * Decimal::read(QString::fromUtf8(code)) * Hundredth)
                            .rounded(2, Rounding::HalfAwayFromZero);
                    if (!expected || distance(candidate, vat.value_or(Decimal())) < distance(*expected, vat.value_or(Decimal()))) {
                        expected = candidate;
                        how = QStringLiteral("%1 × %2%").arg(QString::fromUtf8(group.netField), QString::fromUtf8(code));
                    }
                }
            }
            if (expected)
                compare(label, group.vatField, vat, how, *expected, tolerance);
        }
        if (group.vatPlnField && m_foreign && (vat || vatPln))
            checkVatInPln(group, sums, label, vat, vatPln, tolerance, fromLines);
    }

    // The VAT in PLN is the VAT times the exchange rate. Lines at several
    // rates (or a correction of the rate) add up each line's VAT at its own.
    void checkVatInPln(const RateGroup &group, const GroupSums &sums, const QString &label,
                       const std::optional<Decimal> &vat, const std::optional<Decimal> &vatPln, int tolerance,
                       bool fromLines)
    {
        const QString plnField = QString::fromUtf8(group.vatPlnField);
        Decimal expected;
        QString how;
        if (fromLines && sums.severalRates) {
            expected = sums.vatPln.total().rounded(2);
            how = QStringLiteral("VAT pozycji × ich kursy");
        } else {
            const bool lineRate = fromLines && sums.rate && *sums.rate != Decimal::fromInt(1);
            const std::optional<Decimal> rate = lineRate ? sums.rate : field("KursWalutyZ");
            if (!rate) {
                return note(label + QStringLiteral(": brak kursu waluty w pozycjach i w nagłówku; %1 nie porównano.")
                                        .arg(plnField));
            }
            expected = (vat.value_or(Decimal()) * *rate).rounded(2, Rounding::HalfAwayFromZero);
            how = QStringLiteral("%1 × kurs %2").arg(QString::fromUtf8(group.vatField), rate->format(6, m_separator));
        }
        if (!vatPln) {
            m_findings.push_back({Mark::Remark, label + QStringLiteral(": brak %1 (VAT w PLN) w fakturze w walucie obcej; "
                                                                       "oczekiwano %2.").arg(plnField, amount(expected))});
            return;
        }
        compare(label, group.vatPlnField, vatPln, how, expected, tolerance);
    }

    void checkAmountDue(int lines)
    {
        const std::optional<Decimal> due = field("P_15");
        Decimal sum;
        for (const RateGroup &group : rateGroups())
            sum = sum + field(group.netField).value_or(Decimal());
        for (const char *vat : VatFieldsInTheAmountDue)
            sum = sum + field(vat).value_or(Decimal());
        compare(QStringLiteral("Należność ogółem"), "P_15", due, QStringLiteral("suma pól P_13 i P_14"), sum,
                std::max(lines, 1));
    }

    // One comparison: exact agreement is OK, a difference up to 0,01 per
    // line is UWAGA (VAT may be rounded per line or on the total), more is
    // BŁĄD. A missing field counts as 0.
    void compare(const QString &label, const char *fieldName, const std::optional<Decimal> &stated,
                 const QString &expectedName, const Decimal &expected, int tolerance)
    {
        const Decimal statedValue = stated.value_or(Decimal());
        const Decimal difference = statedValue - expected;
        const Decimal allowed = Decimal::fromInt(tolerance) * Hundredth;
        const Mark mark = difference.isZero() ? Mark::Ok : distance(statedValue, expected) > allowed ? Mark::Error : Mark::Remark;
        QString line = QStringLiteral("%1: %2 %3 %4 %5 %6")
                           .arg(label, QString::fromUtf8(fieldName),
                                stated ? amount(statedValue) : QStringLiteral("brak"),
                                difference.isZero() ? QStringLiteral("=") : QStringLiteral("≠"), expectedName,
                                amount(expected));
        if (!difference.isZero())
            line += QStringLiteral(" (różnica %1, tolerancja %2)").arg(amount(difference), amount(allowed));
        m_findings.push_back({mark, line});
    }

    static Decimal distance(const Decimal &a, const Decimal &b)
    {
        const Decimal d = a - b;
        return d.isNegative() ? -d : d;
    }

    QString groupLabel(const RateGroup &group, const GroupSums &sums) const
    {
        if (&group == &rateGroups()[OssGroup])
            return QStringLiteral("Procedura OSS");
        if (&group == &rateGroups()[MarginGroup])
            return QStringLiteral("Procedura marży");
        QStringList codes = sums.codes;
        if (codes.isEmpty())
            codes << QString::fromUtf8(group.codes.front());
        for (QString &code : codes) {
            if (!code.isEmpty() && code.back().isDigit())
                code += u'%';
        }
        return QStringLiteral("Stawka ") + codes.join(QStringLiteral(" i "));
    }

    void note(const QString &text) { m_findings.push_back({Mark::Info, text}); }

    std::optional<Decimal> field(const char *name) const
    {
        const QByteArray path = QByteArrayLiteral("n:Faktura/n:Fa/n:") + name;
        const xmlNode *node = FaPath(m_document, path.constData()).selectFirst();
        if (!node)
            return std::nullopt;
        return numberOf(node);
    }

    QString text(const char *path) const { return NodeText(FaPath(m_document, path).selectFirst()).trimmed(); }
    QString amount(const Decimal &value) const { return value.format(2, m_separator); }

    const InvoiceDocument &m_document;
    const InvoiceLines &m_lines;
    QString m_separator;
    bool m_foreign = false;
    std::array<GroupSums, 13> m_sums; // one per rate group
    GroupSums m_other;
    std::vector<Finding> m_findings;
};

} // namespace

std::vector<Finding> checkVatSummary(const InvoiceDocument &document, const InvoiceLines &lines,
                                     const QString &decimalSeparator)
{
    return Summary(document, lines, decimalSeparator).run();
}

} // namespace velkor
