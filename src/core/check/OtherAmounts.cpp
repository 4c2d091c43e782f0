#include "OtherAmounts.h"

#include "core/check/Comparison.h"
#include "core/invoice/LineFigures.h"
#include "core/tree/XmlNavigation.h"

#include <algorithm>

namespace velkor {

namespace {

const Decimal Hundredth = Decimal::fromScaled(1, 2);

class OtherAmounts
{
public:
    OtherAmounts(const InvoiceDocument &document, const InvoiceLines &lines, const QString &separator)
        : m_document(document), m_lines(lines), m_out(separator), m_kind(text("n:Faktura/n:Fa/n:RodzajFaktury"))
    {
    }

    std::vector<Finding> run()
    {
        settlement();
        advancePayments();
        partialPayments();
        order();
        shares();
        splitPayment();
        return m_out.take();
    }

private:
    // The amount to pay is P_15 increased by the charges and decreased by
    // the deductions; what is overpaid is the opposite of it.
    void settlement()
    {
        if (!FaPath(m_document, "n:Faktura/n:Fa/n:Rozliczenie").selectFirst())
            return;
        const QString label = QStringLiteral("Rozliczenie");
        const Decimal charges = faSum(m_document, "n:Rozliczenie/n:Obciazenia/n:Kwota");
        const Decimal deductions = faSum(m_document, "n:Rozliczenie/n:Odliczenia/n:Kwota");
        if (const auto sum = faAmount(m_document, "n:Rozliczenie/n:SumaObciazen"))
            m_out.compare(label, QStringLiteral("SumaObciazen"), sum, {figure(QStringLiteral("suma Obciazenia/Kwota"), charges)});
        if (const auto sum = faAmount(m_document, "n:Rozliczenie/n:SumaOdliczen"))
            m_out.compare(label, QStringLiteral("SumaOdliczen"), sum, {figure(QStringLiteral("suma Odliczenia/Kwota"), deductions)});
        const Decimal balance = due() + charges - deductions;
        if (const auto toPay = faAmount(m_document, "n:Rozliczenie/n:DoZaplaty"))
            m_out.compare(label, QStringLiteral("DoZaplaty"), toPay, {figure(QStringLiteral("P_15 + obciążenia − odliczenia"), balance)});
        if (const auto overpaid = faAmount(m_document, "n:Rozliczenie/n:DoRozliczenia")) {
            m_out.compare(label, QStringLiteral("DoRozliczenia"), overpaid,
                          {figure(QStringLiteral("nadpłata: odliczenia − obciążenia − P_15, nie mniej niż 0"),
                                  std::max(Decimal(), -balance))});
        }
    }

    // The payments make up P_15; on a settlement they are part of it, the
    // rest being due beyond the payments received before the sale.
    void advancePayments()
    {
        if (!FaPath(m_document, "n:Faktura/n:Fa/n:ZaliczkaCzesciowa/n:P_15Z").selectFirst())
            return;
        const QString label = QStringLiteral("Zaliczki częściowe");
        const Decimal payments = faSum(m_document, "n:ZaliczkaCzesciowa/n:P_15Z");
        if (!m_kind.contains(QStringLiteral("ROZ"))) {
            m_out.compare(label, QStringLiteral("P_15"), due(), {figure(QStringLiteral("suma P_15Z"), payments)});
            return;
        }
        const QString text = QStringLiteral("%1: P_15 %2 − suma P_15Z %3 = %4")
                                 .arg(label, m_out.amount(due()), m_out.amount(payments), m_out.amount(due() - payments));
        if (payments > due() && !correction())
            m_out.add(Mark::Error, text + QStringLiteral("; płatności otrzymane przed wykonaniem czynności przekraczają kwotę do zapłaty."));
        else
            m_out.note(text + QStringLiteral(", kwota pozostała ponad płatności otrzymane przed wykonaniem czynności."));
    }

    // Paid in parts: "1" in part, "2" in full, the last payment closing it.
    void partialPayments()
    {
        const QString flag = text("n:Faktura/n:Fa/n:Platnosc/n:ZnacznikZaplatyCzesciowej");
        if (flag.isEmpty() || correction())
            return;
        const QString label = QStringLiteral("Zapłata w częściach");
        const Decimal paid = faSum(m_document, "n:Platnosc/n:ZaplataCzesciowa/n:KwotaZaplatyCzesciowej");
        const std::optional<Decimal> toPay = faAmount(m_document, "n:Rozliczenie/n:DoZaplaty");
        const int paidInParts = flag.trimmed().toInt(); // an xsd:byte: "02" is 2
        if (paidInParts == 2) {
            std::vector<Way> ways{figure(QStringLiteral("P_15"), due())};
            if (toPay)
                ways.push_back(figure(QStringLiteral("Rozliczenie/DoZaplaty"), *toPay));
            m_out.compare(label + QStringLiteral(" (zapłacono w całości)"), QStringLiteral("suma KwotaZaplatyCzesciowej"),
                          paid, ways);
        } else if (paidInParts == 1) {
            const Decimal owed = toPay.value_or(due());
            m_out.add(paid < owed ? Mark::Ok : Mark::Remark,
                      QStringLiteral("%1 (zapłacono w części): suma KwotaZaplatyCzesciowej %2 %3 należność %4")
                          .arg(label, m_out.amount(paid), paid < owed ? QStringLiteral("<") : QStringLiteral("≥"),
                               m_out.amount(owed)));
        }
    }

    // An advance's order: each line's VAT is its net times its rate, the
    // order's value the sum of the lines' net and VAT.
    void order()
    {
        if (!m_kind.contains(QStringLiteral("ZAL")) || correction())
            return;
        const std::optional<Decimal> value = faAmount(m_document, "n:Zamowienie/n:WartoscZamowienia");
        const std::vector<xmlNode *> lines = FaPath(m_document, "n:Faktura/n:Fa/n:Zamowienie/n:ZamowienieWiersz").selectAll();
        Decimal total;
        int checked = 0, mismatched = 0, computed = 0;
        for (xmlNode *line : lines) {
            const Decimal net = numberOf(FaPath(m_document, "n:P_11NettoZ").selectFirst(line));
            const xmlNode *vat = FaPath(m_document, "n:P_11VatZ").selectFirst(line);
            const xmlNode *rate = FaPath(m_document, "n:P_12Z").selectFirst(line);
            if (!rate)
                rate = FaPath(m_document, "n:P_12Z_XII").selectFirst(line);
            const Decimal expected = grosze(net * numberOf(rate) * Hundredth);
            if (vat && rate) {
                ++checked;
                if (numberOf(vat) != expected) {
                    ++mismatched;
                    m_out.compare(QStringLiteral("Zamówienie, pozycja %1").arg(text("n:NrWierszaZam", line)),
                                  QStringLiteral("P_11VatZ"), numberOf(vat),
                                  {figure(QStringLiteral("P_11NettoZ × P_12Z"), expected)}, Hundredth);
                }
            }
            computed += vat ? 0 : 1;
            total = total + net + (vat ? numberOf(vat) : expected);
        }
        if (checked > 0 && mismatched == 0)
            m_out.add(Mark::Ok, QStringLiteral("Zamówienie: P_11VatZ %1 = P_11NettoZ × P_12Z")
                                    .arg(countOf(checked, "pozycji", "pozycji", "pozycji")));
        if (value) {
            m_out.compare(QStringLiteral("Zamówienie"), QStringLiteral("WartoscZamowienia"), value,
                          {figure(QStringLiteral("suma netto i VAT pozycji zamówienia"), total)},
                          Decimal::fromInt(computed) * Hundredth);
        }
    }

    // The buyer of Podmiot2 has what the additional buyers leave of 100 %.
    void shares()
    {
        const std::vector<xmlNode *> shares = FaPath(m_document, "n:Faktura/n:Podmiot3/n:Udzial").selectAll();
        if (shares.empty())
            return;
        Decimal sum;
        for (const xmlNode *share : shares)
            sum = sum + numberOf(share);
        const Decimal rest = Decimal::fromInt(100) - sum;
        m_out.add(rest.isNegative() ? Mark::Error : Mark::Ok,
                  QStringLiteral("Udziały dodatkowych nabywców (Podmiot3/Udzial): razem %1%, %2")
                      .arg(sum.format(2, m_out.separator()),
                           rest.isNegative() ? QStringLiteral("ponad 100%")
                                             : QStringLiteral("nabywcy z Podmiot2 zostaje %1%").arg(rest.format(2, m_out.separator()))));
    }

    // Goods of annex 15 sold to a taxpayer for more than 15 000 zł need
    // the split payment's words (P_18A = 1). Whether the buyer is a
    // taxpayer the invoice does not tell, so this is a remark.
    void splitPayment()
    {
        if (correction() || isYes(text("n:Faktura/n:Fa/n:Adnotacje/n:P_18A"))
            || !FaPath(m_document, "n:Faktura/n:Podmiot2/n:DaneIdentyfikacyjne/n:NIP").selectFirst())
            return;
        const std::vector<xmlNode *> flags = FaPath(m_document, "n:Faktura/n:Fa/n:FaWiersz/n:P_12_Zal_15").selectAll();
        if (std::none_of(flags.begin(), flags.end(), [](const xmlNode *flag) { return isYes(NodeText(flag)); }))
            return;
        std::optional<Decimal> rate = Decimal::fromInt(1);
        if (text("n:Faktura/n:Fa/n:KodWaluty").compare(QStringLiteral("PLN"), Qt::CaseInsensitive) != 0) {
            rate = faAmount(m_document, "n:KursWalutyZ");
            for (const std::optional<LineFigures> &figures : m_lines.figures) {
                if (figures && figures->hasRate())
                    rate = figures->rate;
            }
        }
        if (!rate)
            return m_out.note(QStringLiteral("MPP: pozycje z załącznika nr 15, ale brak kursu waluty; nie sprawdzono, "
                                             "czy należność przekracza 15 000 zł."));
        const Decimal inPln = grosze(due() * *rate);
        if (inPln > Decimal::fromInt(15000)) {
            m_out.add(Mark::Remark, QStringLiteral("MPP: pozycje z załącznika nr 15 (P_12_Zal_15) i należność ogółem %1 zł "
                                                   "ponad 15 000 zł, a P_18A nie jest 1 (mechanizm podzielonej płatności); "
                                                   "sprawdź, czy nabywca jest podatnikiem.").arg(m_out.amount(inPln)));
        }
    }

    Decimal due() const { return faAmount(m_document, "n:P_15").value_or(Decimal()); }
    bool correction() const { return m_kind.startsWith(QStringLiteral("KOR")); }
    QString text(const char *path, xmlNode *context = nullptr) const
    {
        return NodeText(FaPath(m_document, path).selectFirst(context)).trimmed();
    }

    const InvoiceDocument &m_document;
    const InvoiceLines &m_lines;
    Findings m_out;
    QString m_kind;
};

} // namespace

std::vector<Finding> checkOtherAmounts(const InvoiceDocument &document, const InvoiceLines &lines,
                                       const QString &decimalSeparator)
{
    return OtherAmounts(document, lines, decimalSeparator).run();
}

} // namespace velkor
