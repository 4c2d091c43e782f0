#include "VatSummary.h"

#include "core/check/Comparison.h"
#include "core/check/RateGroups.h"
#include "core/invoice/LineFigures.h"
#include "core/support/Decimal.h"
#include "core/support/ExactFigure.h"
#include "core/tree/XmlNavigation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velkor {

namespace {

const char *const VatFieldsInTheAmountDue[] = {"P_14_1", "P_14_2", "P_14_3", "P_14_4", "P_14_5"};

const Decimal Hundredth = Decimal::fromScaled(1, 2);
const Decimal One = Decimal::fromInt(1);
const Decimal Hundred = Decimal::fromInt(100);

// `base` × rate / (100 + rate), the VAT contained in a gross amount: how
// the VAT of an advance is worked out from the payment.
Decimal vatInGross(const Decimal &base, const Decimal &rate)
{
    return (base * rate).dividedBy(Hundred + rate, 2, Rounding::HalfAwayFromZero);
}

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
    Decimal largestRate = One;
    // The same figures rounded to grosze in each line before they are added
    // up, the other way the law allows; worked out only when needed.
    Decimal netByLine, vatByLine, vatPlnByLine, lineVatTimesRate;

    void addRate(const Decimal &lineRate)
    {
        if (!rate)
            rate = lineRate;
        else if (*rate != lineRate)
            severalRates = true;
        largestRate = std::max(largestRate, lineRate);
    }
};

// The lines of one rate code (and state), added up together and multiplied
// by their VAT rate once: the largest invoices have ten thousand lines but
// only a few codes.
struct CodeSums
{
    QByteArray code; // as written
    bool oss = false;
    bool before = false;
    Decimal vatRate; // the code's number / 100
    GroupSums *group = nullptr;
    ExactSum net;
    ExactSum netPln; // each line at its own exchange rate
};

class Summary
{
public:
    Summary(const InvoiceDocument &document, const InvoiceLines &lines, const QString &separator)
        : m_document(document), m_lines(lines), m_out(separator)
    {
    }

    std::vector<Finding> run()
    {
        const QString kind = text("n:Faktura/n:Fa/n:RodzajFaktury");
        const std::vector<LineElements> &lines = m_lines.elements;
        // ZAL, ROZ and their corrections KOR_ZAL, KOR_ROZ.
        m_advance = kind.contains(QStringLiteral("ZAL"));
        m_settlement = kind.contains(QStringLiteral("ROZ"));
        m_correction = kind.startsWith(QStringLiteral("KOR"));
        if (m_advance)
            m_out.note(QStringLiteral("Faktura zaliczkowa: kwoty w nagłówku dotyczą zaliczki, a nie pozycji zamówienia; "
                                      "porównano pola nagłówka między sobą."));
        else if (m_settlement)
            m_out.note(QStringLiteral("Faktura rozliczeniowa: kwoty w nagłówku to kwoty pozostałe do zapłaty po "
                                      "zaliczkach; porównano pola nagłówka między sobą."));
        else if (lines.empty())
            m_out.note(QStringLiteral("Faktura nie ma pozycji (FaWiersz): nie ma czego porównać z nagłówkiem."));
        else if (m_correction)
            m_out.note(QStringLiteral("Faktura korygująca: porównano różnice pozycji (stan po korekcie minus stan "
                                      "przed) z kwotami w nagłówku."));

        if (!m_advance && !m_settlement && !lines.empty())
            addLines();
        // Lines without a rate belong to no total of the header: then only
        // the whole invoice is compared with its lines.
        m_byLines = !m_codes.empty() && m_other.lines == 0;
        m_foreign = text("n:Faktura/n:Fa/n:KodWaluty").compare(QStringLiteral("PLN"), Qt::CaseInsensitive) != 0;
        if (m_other.lines > 0)
            checkWholeInvoice();
        for (std::size_t g = 0; g < rateGroups().size(); ++g)
            checkGroup(g);
        checkAmountDue();
        return m_out.take();
    }

private:
    void addLines()
    {
        const bool margin = isYes(text("n:Faktura/n:Fa/n:Adnotacje/n:PMarzy/n:P_PMarzy"));
        m_lineCodes.assign(m_lines.elements.size(), -1);
        int unread = 0;
        for (std::size_t i = 0; i < m_lines.elements.size(); ++i) {
            const LineElements &line = m_lines.elements[i];
            if (!m_lines.figures[i]) {
                ++unread;
                continue;
            }
            const LineFigures &figures = *m_lines.figures[i];
            const xmlNode *codeElement = line.p12 ? line.p12 : line.p12xii;
            const xmlChar *raw = soleText(codeElement);
            const QByteArray code = raw ? QByteArray::fromRawData(reinterpret_cast<const char *>(raw),
                                                                  qsizetype(std::strlen(reinterpret_cast<const char *>(raw))))
                                        : NodeText(codeElement).toUtf8();
            const bool oss = !line.p12 && line.p12xii;
            auto sums = std::find_if(m_codes.begin(), m_codes.end(), [&](const CodeSums &c) {
                return c.oss == oss && c.before == line.hasStanPrzed && c.code == code;
            });
            if (sums == m_codes.end()) {
                GroupSums &group = oss ? m_sums[OssGroup] : sumsOf(QString::fromUtf8(code).trimmed(), margin);
                sums = m_codes.insert(m_codes.end(), {QByteArray(code.constData(), code.size()), oss, line.hasStanPrzed,
                                                      numberOf(codeElement) * Hundredth, &group, {}, {}});
            }
            m_lineCodes[i] = int(sums - m_codes.begin());
            sums->net.add(figures.value);
            sums->netPln.add(figures.value.times(figures.rate));
            ++sums->group->lines;
            sums->group->addRate(figures.rate);
        }

        for (const CodeSums &code : m_codes) {
            // A before-state line counts against its after state.
            ExactFigure net = code.before ? -code.net.total() : code.net.total();
            ExactFigure netPln = code.before ? -code.netPln.total() : code.netPln.total();
            if (code.oss) {
                // OSS lines bring a VAT factor per country: their totals are
                // kept to 20 decimals rather than over the product of every
                // factor, which could outgrow the exact arithmetic.
                net = net.rounded(20);
                netPln = netPln.rounded(20);
            }
            GroupSums &sums = *code.group;
            sums.net.add(net);
            sums.vat.add(net.times(code.vatRate));
            sums.vatPln.add(netPln.times(code.vatRate));
            QString shown = QString::fromUtf8(code.code).trimmed();
            if (code.oss)
                shown = QStringLiteral("OSS ") + shown + u'%';
            if (shown.isEmpty())
                shown = QStringLiteral("brak");
            if (!sums.codes.contains(shown))
                sums.codes << shown;
        }
        if (unread > 0)
            m_out.note(QStringLiteral("Kwot %1 nie dało się odczytać; pominięto je.")
                           .arg(countOf(unread, "pozycji", "pozycji", "pozycji")));
    }

    // Each line's net, VAT and VAT in PLN rounded on their own, for every
    // group at once.
    void addLinesOneByOne()
    {
        if (m_oneByOne)
            return;
        m_oneByOne = true;
        for (std::size_t i = 0; i < m_lineCodes.size(); ++i) {
            if (m_lineCodes[i] < 0)
                continue;
            const CodeSums &code = m_codes[std::size_t(m_lineCodes[i])];
            const LineFigures &figures = *m_lines.figures[i];
            const auto add = [&code](Decimal &sum, const Decimal &value) { sum = code.before ? sum - value : sum + value; };
            const Decimal vat = figures.value.times(code.vatRate).rounded(2);
            GroupSums &sums = *code.group;
            add(sums.netByLine, figures.value.rounded(2));
            add(sums.vatByLine, vat);
            if (m_foreign) {
                add(sums.vatPlnByLine, figures.value.times(figures.rate * code.vatRate).rounded(2));
                add(sums.lineVatTimesRate, grosze(vat * figures.rate));
            }
        }
    }

    // A way read from the figures rounded line by line. Each line's rounding
    // moves the sum by half a grosz at most (`perLine` times that where a
    // rounded figure is multiplied again), so it lies within reach of the
    // `exact` sum rounded once.
    Way byLine(const QString &how, const Decimal &sum, const Decimal &exact, int lines, const QString &note = {},
               const Decimal &perLine = One)
    {
        const Decimal halfGrosz = Decimal::fromScaled(5, 3);
        return {how, [this, &sum]() -> std::optional<Decimal> {
                    addLinesOneByOne();
                    return sum;
                }, note, exact, Decimal::fromInt(lines + 1) * halfGrosz * perLine};
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

    // A correct invoice may leave P_12 out (a simplified invoice, for one):
    // its lines are compared with the whole header, gross where every gross
    // value is known, else net where every net value is.
    void checkWholeInvoice()
    {
        m_out.note(QStringLiteral("%1 bez stawki VAT (P_12) nie należy do żadnego pola P_13: porównano kwoty całej "
                                  "faktury.").arg(countOf(m_other.lines, "pozycja", "pozycje", "pozycji")));
        ExactSum net, gross;
        bool netKnown = true, grossKnown = true;
        for (std::size_t i = 0; i < m_lineCodes.size(); ++i) {
            if (m_lineCodes[i] < 0)
                continue;
            const CodeSums &code = m_codes[std::size_t(m_lineCodes[i])];
            const LineElements &line = m_lines.elements[i];
            const ExactFigure &value = m_lines.figures[i]->value;
            const bool rated = code.group != &m_other;
            const bool netStated = !numberOf(line.p11).isZero();
            const Decimal grossStated = numberOf(line.p11a);
            const auto add = [&code](ExactSum &sum, const ExactFigure &figure) { sum.add(code.before ? -figure : figure); };
            netKnown = netKnown && (rated || netStated);
            grossKnown = grossKnown && (rated || (!netStated && !grossStated.isZero()));
            add(net, value);
            add(gross, rated && (netStated || grossStated.isZero()) ? value.times(One + code.vatRate)
                                                                   : ExactFigure(grossStated));
        }
        const Decimal allowed = Decimal::fromInt(std::max(int(m_lines.elements.size()), 1)) * Hundredth;
        const QString label = QStringLiteral("Cała faktura");
        if (grossKnown) {
            const Way fromLines = figure(QStringLiteral("brutto z pozycji"), gross.total().rounded(2));
            m_out.compare(label, QStringLiteral("suma pól P_13 i P_14"), headerSum(), {fromLines}, allowed);
            m_out.compare(label, QStringLiteral("P_15"), field("P_15"), {fromLines}, allowed);
        } else if (netKnown) {
            Decimal totals;
            for (const RateGroup &group : rateGroups())
                totals = totals + field(group.netField).value_or(Decimal());
            m_out.compare(label, QStringLiteral("suma pól P_13"), totals,
                          {figure(QStringLiteral("netto z pozycji"), net.total().rounded(2))}, allowed);
        } else {
            m_out.note(label + QStringLiteral(": pozycje bez stawki mają jedne tylko netto, inne tylko brutto; "
                                              "sum nie da się ustalić, nie porównano."));
        }
    }

    void checkGroup(std::size_t g)
    {
        const RateGroup &group = rateGroups()[g];
        GroupSums &sums = m_sums[g];
        const std::optional<Decimal> net = field(group.netField);
        const std::optional<Decimal> vat = group.vatField ? field(group.vatField) : std::nullopt;
        const std::optional<Decimal> vatPln = group.vatPlnField ? field(group.vatPlnField) : std::nullopt;
        // A total the invoice states as zero, with no line at its rates,
        // has nothing to compare.
        const auto zero = [](const std::optional<Decimal> &value) { return !value || value->isZero(); };
        if (sums.lines == 0 && zero(net) && zero(vat) && zero(vatPln))
            return;
        const QString label = groupLabel(group, sums);
        const QString vatField = QString::fromUtf8(group.vatField);
        const Decimal allowed = Decimal::fromInt(std::max(sums.lines, 1)) * Hundredth;
        if (m_byLines) {
            m_out.compare(label + QStringLiteral(", ") + countOf(sums.lines, "pozycja", "pozycje", "pozycji"),
                          QString::fromUtf8(group.netField), net,
                          {figure(QStringLiteral("netto z pozycji"), sums.net.total().rounded(2)),
                           byLine(QStringLiteral("suma netto pozycji zaokrąglanych osobno"), sums.netByLine,
                                  sums.net.total().rounded(2), sums.lines)},
                          allowed);
            if (group.vatField && !vat && g == OssGroup) {
                m_out.note(label + QStringLiteral(": brak P_14_5 (pole nieobowiązkowe); VAT z pozycji %1 nie porównano.")
                                       .arg(m_out.amount(sums.vat.total().rounded(2))));
            } else if (group.vatField) {
                m_out.compare(label, vatField, vat,
                              {figure(QStringLiteral("netto z pozycji × stawka"), sums.vat.total().rounded(2)),
                               byLine(QStringLiteral("suma VAT liczonego od każdej pozycji"), sums.vatByLine,
                                      sums.vat.total().rounded(2), sums.lines,
                                      QStringLiteral("VAT policzono od każdej pozycji osobno i zsumowano; przepisy "
                                                     "dopuszczają to obok liczenia od sumy wartości."))},
                              allowed);
            }
        } else if (group.vatField && net && !group.codes.empty()) {
            // Without lines to go by, the header's VAT against its net at
            // each of the group's rates, and for an advance against the VAT
            // contained in the payment.
            std::vector<Way> ways;
            for (const char *code : group.codes) {
                const Decimal rate = Decimal::read(QString::fromUtf8(code));
                ways.push_back(figure(QStringLiteral("%1 × %2%").arg(QString::fromUtf8(group.netField), QString::fromUtf8(code)),
                                      grosze(*net * rate * Hundredth)));
                if (m_advance || m_settlement)
                    ways.push_back(figure(QStringLiteral("(%1 + %2) × %3/%4").arg(QString::fromUtf8(group.netField), vatField,
                                                                                 QString::fromUtf8(code), (Hundred + rate).wholeText()),
                                          vatInGross(*net + vat.value_or(Decimal()), rate)));
            }
            m_out.compare(label, vatField, vat, ways, headerAllowed(m_lines.elements.size()), headerNear(),
                          headerExplained());
        }
        if (group.vatPlnField && m_foreign && (vat || vatPln))
            checkVatInPln(g, label, net, vat, vatPln);
    }

    // Where the header's VAT is the difference of VAT amounts rounded apart
    // (what remains after the advances; a correction of an advance), it may
    // differ from its net times the rate by a grosz for each of them.
    Decimal headerAllowed(std::size_t lines) const
    {
        const std::size_t advances = FaPath(m_document, "n:Faktura/n:Fa/n:FakturaZaliczkowa").selectAll().size();
        const std::size_t count = explainedByAdvances() ? advances + 1 : std::max<std::size_t>(lines, 1);
        return Decimal::fromInt(qint64(count)) * Hundredth;
    }
    bool explainedByAdvances() const { return m_settlement || (m_advance && m_correction); }
    Mark headerNear() const { return explainedByAdvances() ? Mark::Info : Mark::Remark; }
    QString headerExplained() const
    {
        return explainedByAdvances() ? QStringLiteral("różnica mieści się w zaokrągleniach kwot VAT faktur "
                                                      "zaliczkowych i korygowanych")
                                     : QString();
    }

    // The VAT in PLN: the VAT in the currency times the exchange rate, or
    // the net in PLN times the VAT rate, each rounded once; line by line
    // where the lines' rates differ, and payment by payment for an advance
    // paid in parts at different rates.
    void checkVatInPln(std::size_t g, const QString &label, const std::optional<Decimal> &net,
                       const std::optional<Decimal> &vat, const std::optional<Decimal> &vatPln)
    {
        const RateGroup &group = rateGroups()[g];
        GroupSums &sums = m_sums[g];
        const QString plnField = QString::fromUtf8(group.vatPlnField);
        const QString netField = QString::fromUtf8(group.netField);
        const QString vatField = QString::fromUtf8(group.vatField);
        if (m_settlement) {
            if (vatPln)
                m_out.note(label + QStringLiteral(": %1 nie porównano; VAT w PLN faktury rozliczeniowej zależy od "
                                                  "kursów zaliczek.").arg(plnField));
            return;
        }
        std::vector<Way> ways;
        Decimal largestRate = One;
        int roundings = std::max(sums.lines, 1);
        // Lines that carry their exchange rate: the VAT in the currency
        // times the rate, or line by line where the rates differ.
        if (m_byLines && sums.rate && (sums.severalRates || *sums.rate != One)) {
            if (!sums.severalRates)
                ways.push_back(figure(QStringLiteral("%1 × kurs %2").arg(vatField, sums.rate->format(6, m_out.separator())),
                                      grosze(vat.value_or(Decimal()) * *sums.rate)));
            ways.push_back(figure(sums.severalRates ? QStringLiteral("VAT pozycji × ich kursy")
                                                    : QStringLiteral("netto z pozycji w PLN × stawka"),
                                  sums.vatPln.total().rounded(2)));
            const Decimal inPln = sums.vatPln.total().rounded(2);
            ways.push_back(byLine(QStringLiteral("suma VAT w PLN liczonego od każdej pozycji"), sums.vatPlnByLine, inPln,
                                  sums.lines));
            ways.push_back(byLine(QStringLiteral("suma VAT każdej pozycji × jej kurs"), sums.lineVatTimesRate, inPln,
                                  sums.lines, {}, sums.largestRate + One));
            largestRate = sums.largestRate;
        } else {
            // Payments of an advance, each with its rate.
            std::vector<std::pair<Decimal, Decimal>> parts;
            bool partRatesDiffer = false;
            for (xmlNode *part : FaPath(m_document, "n:Faktura/n:Fa/n:ZaliczkaCzesciowa").selectAll()) {
                const xmlNode *rate = FaPath(m_document, "n:KursWalutyZW").selectFirst(part);
                if (!rate)
                    continue;
                parts.emplace_back(numberOf(FaPath(m_document, "n:P_15Z").selectFirst(part)), numberOf(rate));
                partRatesDiffer = partRatesDiffer || parts.back().second != parts.front().second;
            }
            std::optional<Decimal> rate;
            if (!parts.empty() && !partRatesDiffer)
                rate = parts.front().second;
            else if (parts.empty())
                rate = field("KursWalutyZ");
            if (partRatesDiffer) {
                if (!onlyGroupWithAmounts(g)) {
                    return m_out.note(label + QStringLiteral(": zaliczki po różnych kursach i kilka stawek VAT; nie "
                                                             "wiadomo, jaka część każdej zaliczki przypada na tę "
                                                             "stawkę; %1 nie porównano.").arg(plnField));
                }
                for (const char *code : group.codes) {
                    const Decimal vatRate = Decimal::read(QString::fromUtf8(code));
                    Decimal ofVat, ofGross;
                    for (const auto &[payment, paymentRate] : parts) {
                        ofVat = ofVat + grosze(vatInGross(payment, vatRate) * paymentRate);
                        ofGross = ofGross + vatInGross(payment * paymentRate, vatRate);
                        largestRate = std::max(largestRate, paymentRate);
                    }
                    ways.push_back(figure(QStringLiteral("suma VAT każdej zaliczki (%1%) × jej kurs").arg(QString::fromUtf8(code)), ofVat));
                    ways.push_back(figure(QStringLiteral("suma VAT z brutto każdej zaliczki w PLN (%1%)").arg(QString::fromUtf8(code)), ofGross));
                }
                roundings = int(parts.size());
            } else if (!rate) {
                return m_out.note(label + QStringLiteral(": brak kursu waluty w pozycjach i w nagłówku; %1 nie porównano.")
                                              .arg(plnField));
            } else {
                largestRate = std::max(largestRate, *rate);
                ways.push_back(figure(QStringLiteral("%1 × kurs %2").arg(vatField, rate->format(6, m_out.separator())),
                                      grosze(vat.value_or(Decimal()) * *rate)));
                if (net) {
                    for (const char *code : group.codes) {
                        const Decimal vatRate = Decimal::read(QString::fromUtf8(code));
                        ways.push_back(figure(QStringLiteral("%1 × kurs × %2%").arg(netField, QString::fromUtf8(code)),
                                              grosze(*net * *rate * vatRate * Hundredth)));
                        if (m_advance)
                            ways.push_back(figure(QStringLiteral("(%1 + %2) × kurs × %3/%4")
                                                      .arg(netField, vatField, QString::fromUtf8(code), (Hundred + vatRate).wholeText()),
                                                  vatInGross((*net + vat.value_or(Decimal())) * *rate, vatRate)));
                    }
                }
            }
        }
        if (ways.empty())
            return;
        if (!vatPln) {
            m_out.add(Mark::Remark, label + QStringLiteral(": brak %1 (VAT w PLN) w fakturze w walucie obcej; oczekiwano %2.")
                                                .arg(plnField, m_out.amount(*ways.front().value())));
            return;
        }
        // Each grosz of the VAT in the currency is worth the rate in PLN.
        m_out.compare(label, plnField, vatPln, ways, grosze(Decimal::fromInt(roundings) * Hundredth * largestRate));
    }

    bool onlyGroupWithAmounts(std::size_t g) const
    {
        for (std::size_t other = 0; other < rateGroups().size(); ++other) {
            const RateGroup &group = rateGroups()[other];
            for (const char *name : {group.netField, group.vatField}) {
                if (other != g && name && !field(name).value_or(Decimal()).isZero())
                    return false;
            }
        }
        return true;
    }

    Decimal headerSum() const
    {
        Decimal sum;
        for (const RateGroup &group : rateGroups())
            sum = sum + field(group.netField).value_or(Decimal());
        for (const char *vat : VatFieldsInTheAmountDue)
            sum = sum + field(vat).value_or(Decimal());
        return sum;
    }

    void checkAmountDue()
    {
        bool anyTotal = false;
        for (const RateGroup &group : rateGroups())
            anyTotal = anyTotal || field(group.netField) || (group.vatField && field(group.vatField));
        if (m_settlement && !anyTotal) {
            m_out.note(QStringLiteral("Należność ogółem: faktura rozliczeniowa podaje tylko P_15 (kwotę pozostałą do "
                                      "zapłaty), bez kwot według stawek; nie ma jej z czym porównać."));
            return;
        }
        const Decimal sum = headerSum();
        std::vector<Way> ways{figure(QStringLiteral("suma pól P_13 i P_14"), sum)};
        const GroupSums &oss = m_sums[OssGroup];
        if (oss.lines > 0 && !field("P_14_5"))
            ways.push_back(figure(QStringLiteral("suma pól P_13 i P_14 oraz VAT OSS z pozycji"), sum + oss.vat.total().rounded(2)));
        m_out.compare(QStringLiteral("Należność ogółem"), QStringLiteral("P_15"), field("P_15"), ways,
                      Decimal::fromInt(std::max(int(m_lines.elements.size()), 1)) * Hundredth);
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

    // A header amount of Fa, read once: the groups ask for the same fields
    // again and again.
    std::optional<Decimal> field(const char *name) const
    {
        for (const auto &[known, value] : m_fields) {
            if (known == name)
                return value;
        }
        // As faAmount finds it: the first in document order below n:Faktura/n:Fa.
        if (!m_faFound) {
            m_fa = FaPath(m_document, "n:Faktura/n:Fa").selectAll();
            m_faFound = true;
        }
        std::optional<Decimal> value;
        for (std::size_t k = 0; k < m_fa.size() && !value && mayBeNamed(m_document, name); ++k) {
            if (const xmlNode *node = firstFaChild(m_document, m_fa[k], name))
                value = numberOf(node);
        }
        m_fields.emplace_back(name, value);
        return value;
    }

    QString text(const char *path) const { return NodeText(FaPath(m_document, path).selectFirst()).trimmed(); }

    const InvoiceDocument &m_document;
    const InvoiceLines &m_lines;
    mutable std::vector<std::pair<std::string, std::optional<Decimal>>> m_fields;
    mutable std::vector<xmlNode *> m_fa;
    mutable bool m_faFound = false;
    Findings m_out;
    bool m_advance = false, m_settlement = false, m_correction = false;
    bool m_byLines = false; // every line belongs to a group of the header
    bool m_foreign = false;
    bool m_oneByOne = false; // the groups' figures rounded line by line are there
    std::vector<CodeSums> m_codes;
    std::vector<int> m_lineCodes; // each line's entry in m_codes, -1 when it could not be read
    std::array<GroupSums, 13> m_sums; // one per rate group
    GroupSums m_other;                // lines without a known rate
};

} // namespace

std::vector<Finding> checkVatSummary(const InvoiceDocument &document, const InvoiceLines &lines,
                                     const QString &decimalSeparator)
{
    return Summary(document, lines, decimalSeparator).run();
}

} // namespace velkor
