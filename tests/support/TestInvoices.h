#pragma once

#include <QDate>
#include <QString>

#include <initializer_list>
#include <utility>

namespace velkor::test {

inline const QString FaNamespace = QStringLiteral("http://crd.gov.pl/wzor/2025/06/25/13775/");

// A small schema-valid FA(3) invoice assembled from parts; tests replace the
// parts they are about. Every part is inner XML in schema order.
struct TestInvoice
{
    QString prolog = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    QString rootAttributes = QStringLiteral("xmlns=\"") + FaNamespace + QStringLiteral("\"");
    QString systemCode = QStringLiteral("FA (3)");
    QString schemaVersion = QStringLiteral("1-0E");
    QString podmiot1 = QStringLiteral(
        "<DaneIdentyfikacyjne><NIP>6891152920</NIP><Nazwa>Sprzedawca Sp. z o.o.</Nazwa></DaneIdentyfikacyjne>\n"
        "<Adres><KodKraju>PL</KodKraju><AdresL1>ul. Kwiatowa 1</AdresL1></Adres>\n");
    QString podmiot2 = QStringLiteral(
        "<DaneIdentyfikacyjne><NIP>3935777054</NIP><Nazwa>Nabywca s.c.</Nazwa></DaneIdentyfikacyjne>\n"
        "<JST>2</JST><GV>2</GV>\n");
    QString podmiot3; // whole <Podmiot3> elements, if any
    QString faStart = QStringLiteral(
        "<KodWaluty>PLN</KodWaluty>\n<P_1>2025-01-31</P_1>\n<P_2>FV/1/2025</P_2>\n");
    QString totals = QStringLiteral("<P_15>100.00</P_15>\n");
    QString adnotacje = QStringLiteral(
        "<P_16>2</P_16><P_17>2</P_17><P_18>2</P_18><P_18A>2</P_18A>"
        "<Zwolnienie><P_19N>1</P_19N></Zwolnienie><NoweSrodkiTransportu><P_22N>1</P_22N></NoweSrodkiTransportu>"
        "<P_23>2</P_23><PMarzy><P_PMarzyN>1</P_PMarzyN></PMarzy>");
    QString kind = QStringLiteral("<RodzajFaktury>VAT</RodzajFaktury>\n");
    QString correction;   // PrzyczynaKorekty, TypKorekty, DaneFaKorygowanej, ...
    QString beforeLines;  // DodatkowyOpis, ...
    QString lines;        // FaWiersz elements
    QString afterLines;   // Rozliczenie, Platnosc, ...
    QString stopka;       // inner XML of <Stopka>, if any

    // Makes it a correcting invoice of `count` invoices issued outside the
    // national system: FV/1/2026 of 2026-01-31, FV/2/2026 of 2026-02-01, ...
    TestInvoice &correcting(int count)
    {
        kind = QStringLiteral("<RodzajFaktury>KOR</RodzajFaktury>\n");
        correction = QStringLiteral("<PrzyczynaKorekty>Rabat</PrzyczynaKorekty>");
        for (int k = 1; k <= count; ++k) {
            correction += QStringLiteral("<DaneFaKorygowanej><DataWystFaKorygowanej>%1</DataWystFaKorygowanej>"
                                         "<NrFaKorygowanej>FV/%2/2026</NrFaKorygowanej><NrKSeFN>1</NrKSeFN>"
                                         "</DaneFaKorygowanej>")
                              .arg(QDate(2026, 1, 31).addDays(k - 1).toString(Qt::ISODate))
                              .arg(k);
        }
        return *this;
    }

    QString toXml() const
    {
        QString xml = prolog;
        xml += QStringLiteral("<Faktura ") + rootAttributes + QStringLiteral(">\n");
        xml += QStringLiteral("<Naglowek>\n<KodFormularza kodSystemowy=\"") + systemCode
               + QStringLiteral("\" wersjaSchemy=\"") + schemaVersion + QStringLiteral("\">FA</KodFormularza>\n")
               + QStringLiteral("<WariantFormularza>3</WariantFormularza>\n"
                                "<DataWytworzeniaFa>2026-02-01T10:00:00Z</DataWytworzeniaFa>\n</Naglowek>\n");
        xml += QStringLiteral("<Podmiot1>\n") + podmiot1 + QStringLiteral("</Podmiot1>\n");
        xml += QStringLiteral("<Podmiot2>\n") + podmiot2 + QStringLiteral("</Podmiot2>\n");
        xml += podmiot3;
        xml += QStringLiteral("<Fa>\n") + faStart + totals + QStringLiteral("<Adnotacje>") + adnotacje
               + QStringLiteral("</Adnotacje>\n") + kind + correction + beforeLines + lines + afterLines
               + QStringLiteral("</Fa>\n");
        if (!stopka.isEmpty())
            xml += QStringLiteral("<Stopka>") + stopka + QStringLiteral("</Stopka>\n");
        xml += QStringLiteral("</Faktura>\n");
        return xml;
    }
};

// One <FaWiersz> with its line number and further children, in schema order:
// NrWierszaFa, UU_ID, P_6A, P_7, Indeks, GTIN, PKWiU, CN, PKOB, P_8A, P_8B,
// P_9A, P_9B, P_10, P_11, P_11A, P_11Vat, P_12, ..., GTU, Procedura,
// KursWaluty, StanPrzed.
inline QString invoiceLine(const QString &number,
                           std::initializer_list<std::pair<const char *, QString>> children)
{
    QString xml = QStringLiteral("<FaWiersz><NrWierszaFa>") + number + QStringLiteral("</NrWierszaFa>");
    for (const auto &[name, value] : children) {
        const QString element = QString::fromLatin1(name);
        xml += u'<' + element + u'>' + value + QStringLiteral("</") + element + u'>';
    }
    return xml + QStringLiteral("</FaWiersz>\n");
}

} // namespace velkor::test
