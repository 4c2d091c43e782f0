#include "HeaderFields.h"

#include "core/support/Decimal.h"
#include "core/tree/XmlNavigation.h"

#include <algorithm>

namespace velkor {

namespace {

const QString TAB = QStringLiteral("\t");

// One row of the table: selection, label (empty: the element's own name),
// whether the text is an amount, the value required for the row to appear
// (compared as a number: a yes/no flag "01" is 1), the reveal request and a
// value replacing the text.
struct HeaderRow
{
    const char *selection;
    const char *label;
    bool amount;
    const char *required;
    const char *tag;
    const char *override;
};

// Rows 1 to 12 of the header list.
const HeaderRow LeadingRows[] = {
    {"n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:NIP", "", false, "", "Podmiot1 / DaneIdentyfikacyjne / NIP", ""},
    {"n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:Nazwa", "", false, "", "Podmiot1 / DaneIdentyfikacyjne / Nazwa", ""},
    {"n:Faktura/n:Podmiot1/n:Adres/n:AdresL1", "Adres 1", false, "", "Podmiot1 / Adres / AdresL1", ""},
    {"n:Faktura/n:Podmiot1/n:Adres/n:AdresL2", "Adres 2", false, "", "Podmiot1 / Adres / AdresL2", ""},
    {"n:Faktura/n:Fa/n:P_1M", "Miejsce wystawienia", false, "", "Fa / P_1M", ""},
    {"n:Faktura/n:Fa/n:RodzajFaktury", "", false, "", "Fa / RodzajFaktury", ""},
    {"n:Faktura/n:Fa/n:Adnotacje/n:PMarzy/n:P_PMarzy", "VAT Marża", false, "1", "Fa / Adnotacje / PMarzy / P_PMarzy", ""},
    {"n:Faktura/n:Fa/n:P_1", "Data wystawienia", false, "", "Fa / P_1", ""},
    {"n:Faktura/n:Fa/n:P_2", "Dokument", false, "", "Fa / P_2", ""},
    {"n:Faktura/n:Podmiot2/n:NrKlienta", "Nr klienta", false, "", "Podmiot2 / NrKlienta", ""},
    {"n:Faktura/n:Fa/n:P_6", "Data dostawy", false, "", "Fa / P_6", ""},
    {"n:Faktura/n:Fa/n:KodWaluty", "Waluta", false, "", "Fa / KodWaluty", ""},
};

// Rows 14 to 29, with a row for every VAT total of the invoice.
const HeaderRow TotalsAndPaymentRows[] = {
    {"n:Faktura/n:Fa/n:P_13_1", "Razem netto 23%", true, "", "Fa / P_13_1", ""},
    {"n:Faktura/n:Fa/n:P_13_2", "Razem netto 8%", true, "", "Fa / P_13_2", ""},
    {"n:Faktura/n:Fa/n:P_13_3", "Razem netto 5%", true, "", "Fa / P_13_3", ""},
    {"n:Faktura/n:Fa/n:P_13_4", "Razem netto ryczałt taxi", true, "", "Fa / P_13_4", ""},
    {"n:Faktura/n:Fa/n:P_13_5", "Razem netto OSS", true, "", "Fa / P_13_5", ""},
    {"n:Faktura/n:Fa/n:P_13_6_1", "Razem netto 0%", true, "", "Fa / P_13_6_1", ""},
    {"n:Faktura/n:Fa/n:P_13_6_2", "Razem netto 0% WDT", true, "", "Fa / P_13_6_2", ""},
    {"n:Faktura/n:Fa/n:P_13_6_3", "Razem netto 0% eksport", true, "", "Fa / P_13_6_3", ""},
    {"n:Faktura/n:Fa/n:P_13_7", "Razem netto zw", true, "", "Fa / P_13_7", ""},
    {"n:Faktura/n:Fa/n:P_13_8", "Razem netto poza krajem", true, "", "Fa / P_13_8", ""},
    {"n:Faktura/n:Fa/n:P_13_9", "Razem netto art. 100", true, "", "Fa / P_13_9", ""},
    {"n:Faktura/n:Fa/n:P_13_10", "Razem netto odwrotne obciążenie", true, "", "Fa / P_13_10", ""},
    {"n:Faktura/n:Fa/n:P_14_1", "Razem VAT 23%", true, "", "Fa / P_14_1", ""},
    {"n:Faktura/n:Fa/n:P_14_1W", "Razem VAT 23% PLN", true, "", "Fa / P_14_1W", ""},
    {"n:Faktura/n:Fa/n:P_14_2", "Razem VAT 8%", true, "", "Fa / P_14_2", ""},
    {"n:Faktura/n:Fa/n:P_14_2W", "Razem VAT 8% PLN", true, "", "Fa / P_14_2W", ""},
    {"n:Faktura/n:Fa/n:P_14_3", "Razem VAT 5%", true, "", "Fa / P_14_3", ""},
    {"n:Faktura/n:Fa/n:P_14_3W", "Razem VAT 5% PLN", true, "", "Fa / P_14_3W", ""},
    {"n:Faktura/n:Fa/n:P_14_4", "Razem VAT ryczałt taxi", true, "", "Fa / P_14_4", ""},
    {"n:Faktura/n:Fa/n:P_14_4W", "Razem VAT ryczałt taxi PLN", true, "", "Fa / P_14_4W", ""},
    {"n:Faktura/n:Fa/n:P_14_5", "Razem VAT OSS", true, "", "Fa / P_14_5", ""},
    {"n:Faktura/n:Fa/n:P_13_11", "Razem marża", true, "", "Fa / P_13_11", ""},
    {"n:Faktura/n:Fa/n:P_15", "Razem brutto", true, "", "Fa / P_15", ""},
    {"n:Faktura/n:Fa/n:Platnosc/n:Zaplacono", "Zapłacono", false, "1", "Fa / Platnosc / Zaplacono", "w całości"},
    {"n:Faktura/n:Fa/n:Platnosc/n:TerminPlatnosci/n:Termin", "Termin płatności", false, "",
     "Fa / Platnosc / TerminPlatnosci / Termin", ""},
};

// Rows 33 to 37.
const HeaderRow CorrectionRows[] = {
    {"n:Faktura/n:Fa/n:PrzyczynaKorekty", "", false, "", "Fa / PrzyczynaKorekty", ""},
    {"n:Faktura/n:Fa/n:OkresFaKorygowanej", "", false, "", "Fa / OkresFaKorygowanej", ""},
    {"n:Faktura/n:Fa/n:TypKorekty", "", false, "", "Fa / TypKorekty", ""},
    {"n:Faktura/n:Fa/n:NrFaKorygowany", "", false, "", "Fa / NrFaKorygowany", ""},
    {"n:Faktura/n:Fa/n:Adnotacje/n:P_18A", "MPP", false, "1", "Fa / Adnotacje / P_18A", ""},
};

// Rows 39 and 40.
const HeaderRow ContactRows[] = {
    {"n:Faktura/n:Podmiot1/n:DaneKontaktowe/n:Email", "", false, "", "Podmiot1 / DaneKontaktowe / Email", ""},
    {"n:Faktura/n:Podmiot1/n:DaneKontaktowe/n:Telefon", "", false, "", "Podmiot1 / DaneKontaktowe / Telefon", ""},
};

// The element's name as the document writes it, prefix included.
QString writtenName(const xmlNode *node)
{
    const QString local = fromXml(node->name);
    if (node->ns && node->ns->prefix)
        return fromXml(node->ns->prefix) + u':' + local;
    return local;
}

class HeaderBuilder
{
public:
    HeaderBuilder(const InvoiceDocument &document, const QString &separator)
        : m_document(document), m_separator(separator)
    {
    }

    std::vector<ListRow> rows;

    // Adds at most one row for the first element the selection finds. A
    // failure here leaves the row out and filling goes on.
    void AddHeaderRow(const HeaderRow &row)
    {
        try {
            const xmlNode *node = FaPath(m_document, row.selection).selectFirst();
            if (!node)
                return;
            QString text = NodeText(node);
            const QString required = QString::fromUtf8(row.required);
            if (!required.isEmpty() && Decimal::read(text) != Decimal::read(required))
                return;
            if (row.amount)
                text = amountText(Decimal::read(text));
            const QString label = QString::fromUtf8(row.label);
            const QString override = QString::fromUtf8(row.override);
            add(label.isEmpty() ? writtenName(node) : label, override.isEmpty() ? text : override,
                QString::fromUtf8(row.tag));
        } catch (...) {
        }
    }

    template <std::size_t N>
    void addRows(const HeaderRow (&table)[N])
    {
        for (const HeaderRow &row : table)
            AddHeaderRow(row);
    }

    void add(const QString &label, const QString &value, const QString &tag)
    {
        ListRow row;
        row.setCells({label, value});
        row.tag = tag;
        rows.push_back(std::move(row));
    }

    void addExchangeRate(const QString &commonRate)
    {
        if (!commonRate.isEmpty() && Decimal::read(commonRate, m_separator) != Decimal::fromInt(1))
            add(QStringLiteral("Kurs"), commonRate, QString());
    }

    void addPaymentForm()
    {
        const QString code = text("n:Faktura/n:Fa/n:Platnosc/n:FormaPlatnosci");
        const Decimal number = Decimal::read(code);
        QString payment = code;
        if (number.isZero()) {
            payment = text("n:Faktura/n:Fa/n:Platnosc/n:OpisPlatnosci");
        } else {
            for (std::int32_t known = 1; known <= 7; ++known) {
                if (number == Decimal::fromInt(known))
                    payment = paymentFormName(known);
            }
        }
        if (!payment.isEmpty())
            add(QStringLiteral("Forma płatności"), payment, QStringLiteral("Fa / Platnosc / FormaPlatnosci"));
    }

    void addBankAccounts()
    {
        int k = 0;
        for (const xmlNode *account : FaPath(m_document, "n:Faktura/n:Fa/n:Platnosc/n:RachunekBankowy").selectAll()) {
            ++k;
            const xmlNode *description = firstFaChild(m_document, account, "OpisRachunku");
            const xmlNode *number = firstFaChild(m_document, account, "NrRB");
            add(description ? NodeText(description) : QStringLiteral("Konto"), number ? NodeText(number) : QString(),
                QStringLiteral("Fa / Platnosc / RachunekBankowy / NrRB") + TAB + QString::number(k));
        }
    }

    void addPartialPayments()
    {
        Decimal sum;
        for (const xmlNode *payment : FaPath(m_document, "n:Faktura/n:Fa/n:Platnosc/n:ZaplataCzesciowa").selectAll())
            sum = sum + Decimal::read(NodeText(firstFaChild(m_document, payment, "KwotaZaplatyCzesciowej")));
        if (sum > Decimal())
            add(QStringLiteral("Zapłacono"), amountText(sum), QStringLiteral("Fa / Platnosc / ZaplataCzesciowa"));
    }

    void addFooterTexts()
    {
        int k = 0;
        for (const xmlNode *footer : FaPath(m_document, "n:Faktura/n:Stopka/n:Informacje/n:StopkaFaktury").selectAll()) {
            ++k;
            add(QStringLiteral("StopkaFaktury"), NodeText(footer),
                QStringLiteral("Stopka / Informacje / StopkaFaktury") + TAB + QString::number(k));
        }
    }

    // The third party and its role, both from one Podmiot3: the first with
    // a name, else the first of all. A Podmiot3 with RolaInna instead of
    // Rola has no "Rola" row.
    void addThirdParty()
    {
        const std::vector<xmlNode *> parties = FaPath(m_document, "n:Faktura/n:Podmiot3").selectAll();
        if (parties.empty())
            return;
        const FaPath name(m_document, "n:DaneIdentyfikacyjne/n:Nazwa");
        const FaPath role(m_document, "n:Rola");
        const auto named = std::find_if(parties.begin(), parties.end(),
                                        [&](xmlNode *party) { return name.selectFirst(party) != nullptr; });
        xmlNode *party = named != parties.end() ? *named : parties.front();
        // Tags carry the element's place among the elements of the same path
        // when it is not the first, as the tree counts them.
        const auto tag = [&](const FaPath &child, const char *path) {
            int occurrence = 1;
            for (auto it = parties.begin(); *it != party; ++it)
                occurrence += child.selectFirst(*it) ? 1 : 0;
            QString text = QString::fromUtf8(path);
            if (occurrence > 1)
                text += TAB + QString::number(occurrence);
            return text;
        };
        if (const xmlNode *nameElement = name.selectFirst(party))
            add(QStringLiteral("Podmiot3"), NodeText(nameElement), tag(name, "Podmiot3 / DaneIdentyfikacyjne / Nazwa"));
        const QString roleCode = NodeText(role.selectFirst(party));
        if (!roleCode.isEmpty())
            add(QStringLiteral("Rola"), RoleName(Decimal::read(roleCode).toInt32(0)), tag(role, "Podmiot3 / Rola"));
    }

private:
    QString text(const char *selection) const { return NodeText(FaPath(m_document, selection).selectFirst()); }
    QString amountText(const Decimal &amount) const { return amount.format(2, m_separator); }

    const InvoiceDocument &m_document;
    QString m_separator;
};

} // namespace

QString RoleName(std::int32_t code)
{
    switch (code) {
    case 1: return QStringLiteral("Faktor");
    case 2: return QStringLiteral("Odbiorca");
    case 3: return QStringLiteral("Podmiot pierwotny");
    case 4: return QStringLiteral("Dodatkowy nabywca");
    case 5: return QStringLiteral("Wystawca faktury");
    case 6: return QStringLiteral("Dokonujący płatności");
    case 7: return QStringLiteral("JST \u2013 wystawca");
    case 8: return QStringLiteral("JST \u2013 odbiorca");
    case 9: return QStringLiteral("Członek GV \u2013 wystawca");
    case 10: return QStringLiteral("Członek GV \u2013 odbiorca");
    case 11: return QStringLiteral("Pracownik");
    default: return {};
    }
}

QString paymentFormName(std::int32_t code)
{
    switch (code) {
    case 1: return QStringLiteral("Gotówka");
    case 2: return QStringLiteral("Karta");
    case 3: return QStringLiteral("Bon");
    case 4: return QStringLiteral("Czek");
    case 5: return QStringLiteral("Kredyt");
    case 6: return QStringLiteral("Przelew");
    case 7: return QStringLiteral("Mobilna");
    default: return {};
    }
}

HeaderFields buildHeaderFields(const InvoiceDocument &document, const QString &commonRate,
                               const QString &decimalSeparator)
{
    HeaderBuilder builder(document, decimalSeparator);
    HeaderFields result;
    try {
        builder.addRows(LeadingRows);
        builder.addExchangeRate(commonRate);
        builder.addRows(TotalsAndPaymentRows);
        builder.addPaymentForm();
        builder.addBankAccounts();
        builder.addPartialPayments();
        builder.addRows(CorrectionRows);
        builder.addFooterTexts();
        builder.addRows(ContactRows);
        builder.addThirdParty();
    } catch (...) {
        result.failure = failureFromCurrentException();
    }
    result.rows = std::move(builder.rows);
    return result;
}

} // namespace velkor
