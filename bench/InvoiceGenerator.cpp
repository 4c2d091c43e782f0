#include "InvoiceGenerator.h"

#include <QString>

namespace velkor::bench {

namespace {

// Line contents vary with the line number but never with anything else.
const char *const Names[] = {"Krzesło ogrodowe „Łabędź”", "Stół dębowy", "Żarówka LED ciepła",
                             "Śruba M6 ocynkowana", "Półka ścienna", "Gąbka do mycia", "Źdźbło trawy ozdobne"};
const char *const Units[] = {"szt", "kg", "m", "opak"};
const char *const Rates[] = {"23", "8", "5", "zw"};

QString amount(long long hundredths)
{
    const bool negative = hundredths < 0;
    if (negative)
        hundredths = -hundredths;
    return QStringLiteral("%1%2.%3").arg(negative ? QStringLiteral("-") : QString()).arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QString line(int number, bool before)
{
    const int variant = number % 7;
    const long long quantity = 100 + (number * 37) % 900;       // hundredths
    const long long price = 199 + (number * 7919) % 250000;     // hundredths
    const long long value = quantity * price / 100;
    const bool gross = number % 5 == 0;
    const bool foreign = number % 3 == 0;
    QString xml = QStringLiteral("    <FaWiersz>\n      <NrWierszaFa>%1</NrWierszaFa>\n").arg(number);
    xml += QStringLiteral("      <P_7>%1 nr %2</P_7>\n").arg(QString::fromUtf8(Names[variant])).arg(number);
    xml += QStringLiteral("      <Indeks>IDX-%1</Indeks>\n").arg(number, 6, 10, QLatin1Char('0'));
    xml += QStringLiteral("      <GTIN>59%1</GTIN>\n").arg(1000000000LL + number, 11, 10, QLatin1Char('0'));
    xml += QStringLiteral("      <PKWiU>%1.%2.%3</PKWiU>\n").arg(10 + variant).arg(number % 90 + 10).arg(number % 9 + 1);
    xml += QStringLiteral("      <P_8A>%1</P_8A>\n").arg(QLatin1String(Units[number % 4]));
    xml += QStringLiteral("      <P_8B>%1</P_8B>\n").arg(amount(before ? quantity + 100 : quantity));
    if (gross) {
        xml += QStringLiteral("      <P_9B>%1</P_9B>\n").arg(amount(price * 123 / 100));
        xml += QStringLiteral("      <P_11A>%1</P_11A>\n").arg(amount(value * 123 / 100));
    } else {
        xml += QStringLiteral("      <P_9A>%1</P_9A>\n").arg(amount(price));
        xml += QStringLiteral("      <P_11>%1</P_11>\n").arg(amount(value));
    }
    xml += QStringLiteral("      <P_12>%1</P_12>\n").arg(QLatin1String(Rates[number % 4]));
    if (foreign)
        xml += QStringLiteral("      <KursWaluty>4.%1</KursWaluty>\n").arg(2000 + number % 1000, 4, 10, QLatin1Char('0'));
    if (before)
        xml += QStringLiteral("      <StanPrzed>1</StanPrzed>\n");
    xml += QStringLiteral("    </FaWiersz>\n");
    return xml;
}

} // namespace

QByteArray generateInvoice(int lines)
{
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">\n"
        "  <Naglowek>\n"
        "    <KodFormularza kodSystemowy=\"FA (3)\" wersjaSchemy=\"1-0E\">FA</KodFormularza>\n"
        "    <WariantFormularza>3</WariantFormularza>\n"
        "    <DataWytworzeniaFa>2026-03-02T09:15:00Z</DataWytworzeniaFa>\n"
        "    <SystemInfo>Generator faktur testowych</SystemInfo>\n"
        "  </Naglowek>\n"
        "  <Podmiot1>\n"
        "    <DaneIdentyfikacyjne>\n      <NIP>6891152920</NIP>\n      <Nazwa>Hurtownia Żółw Sp. z o.o.</Nazwa>\n"
        "    </DaneIdentyfikacyjne>\n"
        "    <Adres>\n      <KodKraju>PL</KodKraju>\n      <AdresL1>ul. Łąkowa 12/4</AdresL1>\n"
        "      <AdresL2>30-001 Kraków</AdresL2>\n    </Adres>\n"
        "    <DaneKontaktowe>\n      <Email>biuro@zolw.example.pl</Email>\n      <Telefon>123456789</Telefon>\n"
        "    </DaneKontaktowe>\n"
        "  </Podmiot1>\n"
        "  <Podmiot2>\n"
        "    <DaneIdentyfikacyjne>\n      <NIP>3935777054</NIP>\n      <Nazwa>Sklep Gęś s.c.</Nazwa>\n"
        "    </DaneIdentyfikacyjne>\n"
        "    <Adres>\n      <KodKraju>PL</KodKraju>\n      <AdresL1>ul. Źródlana 3</AdresL1>\n    </Adres>\n"
        "    <NrKlienta>K-0042</NrKlienta>\n    <JST>2</JST>\n    <GV>2</GV>\n"
        "  </Podmiot2>\n"
        "  <Podmiot3>\n"
        "    <DaneIdentyfikacyjne>\n      <NIP>1111111111</NIP>\n      <Nazwa>Faktor SA</Nazwa>\n"
        "    </DaneIdentyfikacyjne>\n    <Rola>1</Rola>\n"
        "  </Podmiot3>\n"
        "  <Fa>\n"
        "    <KodWaluty>EUR</KodWaluty>\n    <P_1>2026-03-02</P_1>\n    <P_1M>Kraków</P_1M>\n"
        "    <P_2>FV/2026/03/BENCH</P_2>\n    <P_6>2026-02-27</P_6>\n"
        "    <P_13_1>123456.78</P_13_1>\n    <P_14_1>28395.06</P_14_1>\n    <P_14_1W>120000.00</P_14_1W>\n"
        "    <P_13_2>1000.00</P_13_2>\n    <P_14_2>80.00</P_14_2>\n"
        "    <P_13_7>500.00</P_13_7>\n    <P_15>153431.84</P_15>\n"
        "    <Adnotacje>\n      <P_16>2</P_16>\n      <P_17>2</P_17>\n      <P_18>2</P_18>\n      <P_18A>1</P_18A>\n"
        "      <Zwolnienie>\n        <P_19N>1</P_19N>\n      </Zwolnienie>\n"
        "      <NoweSrodkiTransportu>\n        <P_22N>1</P_22N>\n      </NoweSrodkiTransportu>\n"
        "      <P_23>2</P_23>\n      <PMarzy>\n        <P_PMarzyN>1</P_PMarzyN>\n      </PMarzy>\n"
        "    </Adnotacje>\n"
        "    <RodzajFaktury>KOR</RodzajFaktury>\n"
        "    <PrzyczynaKorekty>Zmiana ilości</PrzyczynaKorekty>\n    <TypKorekty>2</TypKorekty>\n"
        "    <DaneFaKorygowanej>\n      <DataWystFaKorygowanej>2026-02-01</DataWystFaKorygowanej>\n"
        "      <NrFaKorygowanej>FV/2026/02/001</NrFaKorygowanej>\n      <NrKSeFN>1</NrKSeFN>\n"
        "    </DaneFaKorygowanej>\n");
    for (int number = 1; number <= lines; number += 17) {
        xml += QStringLiteral("    <DodatkowyOpis>\n      <NrWiersza>%1</NrWiersza>\n      <Klucz>Kolor</Klucz>\n"
                              "      <Wartosc>zielony %2</Wartosc>\n    </DodatkowyOpis>\n")
                   .arg(number)
                   .arg(number);
    }
    for (int number = 1; number <= lines; ++number) {
        if (number % 10 == 0)
            xml += line(number, true);
        xml += line(number, false);
    }
    xml += QStringLiteral(
        "    <Platnosc>\n"
        "      <ZnacznikZaplatyCzesciowej>1</ZnacznikZaplatyCzesciowej>\n"
        "      <ZaplataCzesciowa>\n        <KwotaZaplatyCzesciowej>1000.00</KwotaZaplatyCzesciowej>\n"
        "        <DataZaplatyCzesciowej>2026-03-01</DataZaplatyCzesciowej>\n      </ZaplataCzesciowa>\n"
        "      <TerminPlatnosci>\n        <Termin>2026-03-16</Termin>\n      </TerminPlatnosci>\n"
        "      <FormaPlatnosci>6</FormaPlatnosci>\n"
        "      <RachunekBankowy>\n        <NrRB>61109010140000071219812874</NrRB>\n"
        "        <NazwaBanku>Bank Przykładowy</NazwaBanku>\n        <OpisRachunku>Rachunek EUR</OpisRachunku>\n"
        "      </RachunekBankowy>\n"
        "    </Platnosc>\n"
        "  </Fa>\n"
        "  <Stopka>\n    <Informacje>\n      <StopkaFaktury>Dziękujemy za zakupy.</StopkaFaktury>\n    </Informacje>\n"
        "  </Stopka>\n"
        "</Faktura>\n");
    return xml.toUtf8();
}

} // namespace velkor::bench
