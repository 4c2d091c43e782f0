#include "core/check/CheckReport.h"
#include "core/check/FileRules.h"
#include "core/check/Identifiers.h"
#include "core/check/InvoiceCheck.h"
#include "core/check/VatSummary.h"
#include "core/check/VerificationLink.h"
#include "core/load/OfflineResources.h"
#include "core/print/InvoicePrint.h"
#include "gui/check/CheckWindow.h"

#include "fixtures/TestDocuments.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

// Every finding as "MARK text".
QStringList lines(const std::vector<Finding> &findings)
{
    QStringList lines;
    for (const Finding &finding : findings)
        lines << markText(finding.mark) + u' ' + finding.text;
    return lines;
}

std::vector<Finding> vatSummaryOf(const InvoiceDocument &document)
{
    return checkVatSummary(document, buildInvoiceLines(document, QStringLiteral(",")), QStringLiteral(","));
}

CheckReport fullCheckOf(const InvoiceDocument &document, const QString &ksefNumber)
{
    CheckReport report =
        checkInvoice(document, buildInvoiceLines(document, QStringLiteral(",")), ksefNumber, QStringLiteral(","));
    addVerificationLink(report, document, ksefNumber);
    return report;
}

QString ownInvoice()
{
    return QString::fromUtf8(fileBytes(ownExample("faktura-podstawowa.xml")));
}

// XML from a shorthand: "Name=value" is an element with its text ("~" for a
// blank), "Name{" opens an element and "}" closes it, "@KIND" stands for
// the usual annotations and RodzajFaktury KIND.
QString expand(const QString &shorthand)
{
    QString xml;
    QStringList open;
    for (const QString &token : shorthand.split(u' ', Qt::SkipEmptyParts)) {
        if (token == u"}")
            xml += QStringLiteral("</%1>").arg(open.takeLast());
        else if (token.endsWith(u'{'))
            xml += QStringLiteral("<%1>").arg(open.emplace_back(token.chopped(1)));
        else if (token.startsWith(u'@'))
            xml += QStringLiteral("<Adnotacje>%1</Adnotacje><RodzajFaktury>%2</RodzajFaktury>").arg(TestInvoice().adnotacje, token.mid(1));
        else
            xml += QStringLiteral("<%1>%2</%1>").arg(token.section(u'=', 0, 0), token.section(u'=', 1).replace(u'~', u' '));
    }
    return xml;
}

// An invoice whose Fa is `fa` after its currency (PLN unless `fa` begins
// with another), dates and number; `podmiot3` its third parties.
QString invoiceOf(QString fa, const QString &podmiot3)
{
    const QString currency = fa.startsWith(QStringLiteral("EUR ")) ? QStringLiteral("EUR") : QStringLiteral("PLN");
    fa = QStringLiteral("KodWaluty=%1 P_1=2026-02-01 P_2=FV/1/2026 %2").arg(currency, fa.remove(QStringLiteral("EUR ")));
    TestInvoice invoice;
    invoice.podmiot3 = expand(podmiot3);
    QString xml = invoice.toXml();
    const qsizetype start = xml.indexOf(QStringLiteral("<Fa>")) + 4;
    return xml.replace(start, xml.indexOf(QStringLiteral("</Fa>")) - start, expand(fa));
}

std::vector<Finding> allFindings(const CheckReport &report)
{
    std::vector<Finding> all;
    for (const CheckSection &section : report.sections)
        all.insert(all.end(), section.findings.begin(), section.findings.end());
    return all;
}

} // namespace

class TestInvoiceCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    void numbers_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("passes");
        QTest::newRow("NIP") << "nip" << "6891152920" << true;
        QTest::newRow("NIP with a wrong check digit") << "nip" << "6891152921" << false;
        QTest::newRow("NIP whose check would be 10") << "nip" << "1234567890" << false;
        QTest::newRow("NIP of nine digits") << "nip" << "689115292" << false;
        QTest::newRow("KSeF 1") << "ksef" << "5265877635-20250826-0100001AF629-AF" << true;
        QTest::newRow("KSeF 2") << "ksef" << "5261040567-20260201-0400A072354A-27" << true;
        QTest::newRow("KSeF 3") << "ksef" << "7740001454-20260204-58008099DD6C-9D" << true;
        QTest::newRow("KSeF 1, one digit changed") << "ksef" << "5265877635-20250826-0100001AF628-AF" << false;
        QTest::newRow("KSeF 2, the check changed") << "ksef" << "5261040567-20260201-0400A072354A-28" << false;
        QTest::newRow("KSeF 3, the date changed") << "ksef" << "7740001454-20260205-58008099DD6C-9D" << false;
        QTest::newRow("KSeF in lower case") << "ksef" << "7740001454-20260204-58008099dd6c-9D" << false;
        QTest::newRow("KSeF too short") << "ksef" << "7740001454-20260204-58008099DD6-9D" << false;
        QTest::newRow("account") << "account" << "61109010140000071219812874" << true;
        QTest::newRow("account with PL and blanks") << "account" << "PL61 1090 1014 0000 0712 1981 2874" << true;
        QTest::newRow("account, one digit changed") << "account" << "61109010140000071219812875" << false;
        QTest::newRow("foreign account, not checked") << "foreign" << "DE89370400440532013000" << true;
    }
    void numbers()
    {
        QFETCH(QString, kind);
        QFETCH(QString, number);
        QFETCH(bool, passes);
        bool checked = true;
        const QString problem = kind == u"nip"    ? nipProblem(number)
                                : kind == u"ksef" ? ksefNumberProblem(number)
                                                  : polishAccountProblem(number, checked);
        QCOMPARE(checked, kind != u"foreign");
        QCOMPARE(problem.isEmpty(), passes);
    }

    // Expected values from sha256sum and basenc --base64url, without "=".
    void hashOfTheFileBytes()
    {
        QCOMPARE(sha256Base64Url("abc"), QStringLiteral("ungWv48Bz-pBQUDeXa4iI7ADYaOWF3qctBD_YfIAFa0"));
        QCOMPARE(sha256Base64Url(""), QStringLiteral("47DEQpj8HBSa-_TImW-5JCeuQeRkm5NMpJWZG3hSuFU"));
        QCOMPARE(verificationLink(QStringLiteral("6891152920"), QDate(2026, 3, 2), "abc"),
                 QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/6891152920/02-03-2026/"
                                "ungWv48Bz-pBQUDeXa4iI7ADYaOWF3qctBD_YfIAFa0"));
    }

    // The own example adds up exactly (2 lines at 23 %, 1 at 8 %); a total
    // changed by 0,01 stays within the tolerance of 0,01 per line, by 1,00
    // it does not.
    void totalsAgainstTheLines_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("finding");
        QTest::newRow("as written") << "" << "" << "OK Stawka 23%, 2 pozycje: P_13_1 1234,50 = netto z pozycji 1234,50";
        QTest::newRow("net +0,01") << "<P_13_1>1234.50" << "<P_13_1>1234.51"
                                   << "UWAGA Stawka 23%, 2 pozycje: P_13_1 1234,51 ≠ netto z pozycji 1234,50 "
                                      "(różnica 0,01, tolerancja 0,02)";
        QTest::newRow("net +1,00") << "<P_13_1>1234.50" << "<P_13_1>1235.50"
                                   << "BŁĄD Stawka 23%, 2 pozycje: P_13_1 1235,50 ≠ netto z pozycji 1234,50 "
                                      "(różnica 1,00, tolerancja 0,02)";
        // 100.00 x 8 % = 8.00
        QTest::newRow("VAT -0,01") << "<P_14_2>8.00" << "<P_14_2>7.99"
                                   << "UWAGA Stawka 8%: P_14_2 7,99 ≠ netto z pozycji × stawka 8,00 "
                                      "(różnica -0,01, tolerancja 0,01)";
        QTest::newRow("amount due +1,00") << "<P_15>1626.44" << "<P_15>1627.44"
                                          << "BŁĄD Należność ogółem: P_15 1627,44 ≠ suma pól P_13 i P_14 1626,44 "
                                             "(różnica 1,00, tolerancja 0,03)";
    }
    void totalsAgainstTheLines()
    {
        QFETCH(QString, original);
        QFETCH(QString, changed);
        QFETCH(QString, finding);
        QString xml = ownInvoice();
        QVERIFY(original.isEmpty() || xml.contains(original));
        xml.replace(original, changed);
        const auto document = validDocument(xml);
        QVERIFY(document);
        const QStringList all = lines(vatSummaryOf(*document));
        QVERIFY2(all.contains(finding), qPrintable(all.join(u'\n')));
    }

    // One invoice written for each rule, worked out by hand. As written it
    // is correct: no UWAGA, no BŁĄD, and the finding `ok` shows the rule at
    // work. With `from` replaced by `to` it is wrong in that rule: `fault`.
    void rulesOnInvoicesWrittenForThem_data()
    {
        QTest::addColumn<QString>("fa");
        QTest::addColumn<QString>("podmiot3");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("fault");
        const auto row = [](const char *name, const char *fa, const char *from, const char *to, const char *ok,
                            const char *fault, const char *podmiot3 = "") {
            QTest::newRow(name) << QString::fromUtf8(fa) << QString::fromUtf8(podmiot3) << QString::fromUtf8(from)
                                << QString::fromUtf8(to) << QString::fromUtf8(ok) << QString::fromUtf8(fault);
        };
        // A line without a rate: gross 123.00 = 100.00 + 23.00 = P_15.
        row("no rate", "P_13_1=100.00 P_14_1=23.00 P_15=123.00 @UPR FaWiersz{ NrWierszaFa=1 P_7=x P_11A=123.00 }",
            "P_11A=123.00", "P_11A=133.00", "OK Cała faktura: P_15 123,00 = brutto z pozycji 123,00",
            "BŁĄD Cała faktura: suma pól P_13 i P_14 123,00 ≠ brutto z pozycji 133,00");
        // OSS at 19 %: 119.00 / 1.19 = 100.00, VAT 19.00.
        row("OSS", "P_13_5=100.00 P_14_5=19.00 P_15=119.00 @VAT FaWiersz{ NrWierszaFa=1 P_7=x P_9B=119.00 P_11A=119.00 P_12_XII=19 }",
            "P_14_5=19.00", "P_14_5=20.00", "OK Procedura OSS, 1 pozycja: P_13_5 100,00 = netto z pozycji 100,00",
            "BŁĄD Procedura OSS: P_14_5 20,00 ≠ netto z pozycji × stawka 19,00");
        // Without the optional P_14_5 the amount due is 100.00 + 19.00 from the line.
        row("OSS without P_14_5", "P_13_5=100.00 P_15=119.00 @VAT FaWiersz{ NrWierszaFa=1 P_7=x P_11A=119.00 P_12_XII=19 }",
            "P_15=119.00", "P_15=120.00", "INFO Procedura OSS: brak P_14_5 (pole nieobowiązkowe); VAT z pozycji 19,00",
            "BŁĄD Należność ogółem: P_15 120,00 ≠ suma pól P_13 i P_14 oraz VAT OSS z pozycji 119,00");
        // An advance of 600.00: 600 x 23 / 123 = 112.195 -> 112.20 (487.80 x 23 % would give 112.19).
        row("advance", "P_13_1=487.80 P_14_1=112.20 P_15=600.00 @ZAL", "P_14_1=112.20", "P_14_1=113.20",
            "OK Stawka 23%: P_14_1 112,20 = (P_13_1 + P_14_1) × 23/123 112,20", "BŁĄD Stawka 23%: P_14_1 113,20 ≠");
        // An order of 1000.00 + 230.00 after advances of 1000.01 (813.02 + 186.99) and 123.45 (100.37 + 23.08)
        // leaves 86.61 + 19.93, where 86.61 x 23 % = 19.92: a grosz of the advances' rounding.
        row("settlement", "P_13_1=86.61 P_14_1=19.93 P_15=106.54 @ROZ FakturaZaliczkowa{ NrKSeFZN=1 NrFaZaliczkowej=FZ/1 } "
                          "FakturaZaliczkowa{ NrKSeFZN=1 NrFaZaliczkowej=FZ/2 }",
            "P_14_1=19.93", "P_14_1=20.93", "INFO Stawka 23%: P_14_1 19,93 ≠ P_13_1 × 23% 19,92 (różnica 0,01, tolerancja 0,03)",
            "BŁĄD Stawka 23%: P_14_1 20,93 ≠");
        // A settlement that states only what is left to pay; with totals they must add up: 400 + 92 = 492.
        row("settlement, P_15 only", "P_15=500.00 @ROZ FakturaZaliczkowa{ NrKSeFFaZaliczkowej=5451824119-20251202-0100A0E87267-21 }",
            "P_15=500.00", "P_13_1=400.00 P_14_1=92.00 P_15=500.00", "INFO Należność ogółem: faktura rozliczeniowa podaje tylko P_15",
            "BŁĄD Należność ogółem: P_15 500,00 ≠ suma pól P_13 i P_14 492,00");
        // Two gross lines of 500.00: 406.50 + 93.50 each, 813.00 and 187.00 (on the total 813.01 and 186.99).
        row("VAT per line", "P_13_1=813.00 P_14_1=187.00 P_15=1000.00 @VAT FaWiersz{ NrWierszaFa=1 P_7=x P_11A=500.00 P_12=23 } "
                            "FaWiersz{ NrWierszaFa=2 P_7=y P_11A=500.00 P_12=23 }",
            "P_14_1=187.00", "P_14_1=187.50", "OK Stawka 23%: P_14_1 187,00 = suma VAT liczonego od każdej pozycji 187,00",
            "BŁĄD Stawka 23%: P_14_1 187,50 ≠");
        // 100.02 EUR at 4.3: 23.00 x 4.3 = 98.90, or 430.086 PLN x 23 % = 98.92.
        row("VAT in PLN from the net", "EUR P_13_1=100.02 P_14_1=23.00 P_14_1W=98.92 P_15=123.02 @VAT "
                                       "FaWiersz{ NrWierszaFa=1 P_7=x P_11=100.02 P_12=23 KursWaluty=4.3000 }",
            "P_14_1W=98.92", "P_14_1W=99.92", "OK Stawka 23%: P_14_1W 98,92 = netto z pozycji w PLN × stawka 98,92",
            "BŁĄD Stawka 23%: P_14_1W 99,92 ≠ netto z pozycji w PLN × stawka 98,92 (różnica 1,00, tolerancja 0,04)");
        row("VAT in PLN from the VAT", "EUR P_13_1=100.02 P_14_1=23.00 P_14_1W=98.90 P_15=123.02 @VAT "
                                      "FaWiersz{ NrWierszaFa=1 P_7=x P_11=100.02 P_12=23 KursWaluty=4.3000 }",
            "P_14_1W=98.90", "P_14_1W=98.80", "OK Stawka 23%: P_14_1W 98,90 = P_14_1 × kurs 4,300000 98,90",
            "BŁĄD Stawka 23%: P_14_1W 98,80 ≠");
        // Paid in two parts: 2000 x 23/123 = 373.98 x 4.2750 = 1598.76, 1690 x 23/123 = 316.02 x 4.2817 = 1353.10;
        // 2951.86, where 690.00 at the last rate would be 2954.37.
        row("advance in parts at two rates", "EUR P_13_1=3000.00 P_14_1=690.00 P_14_1W=2951.86 P_15=3690.00 @ZAL "
                                             "ZaliczkaCzesciowa{ P_6Z=2026-01-02 P_15Z=2000.00 KursWalutyZW=4.2750 } "
                                             "ZaliczkaCzesciowa{ P_6Z=2026-01-05 P_15Z=1690.00 KursWalutyZW=4.2817 }",
            "P_14_1W=2951.86", "P_14_1W=2954.37", "OK Stawka 23%: P_14_1W 2951,86 = suma VAT każdej zaliczki (23%) × jej kurs",
            "BŁĄD Stawka 23%: P_14_1W 2954,37 ≠");
        // The check sums (CRC-8, polynomial 7) worked out apart from the program.
        row("KSeF number of a corrected invoice", "P_15=0 @KOR PrzyczynaKorekty=x DaneFaKorygowanej{ DataWystFaKorygowanej=2025-03-01 "
                                                  "NrFaKorygowanej=FV/9 NrKSeF=1 NrKSeFFaKorygowanej=5210415750-20250310-FF4861C9CC3F-C7 }",
            "-C7", "-BA", "OK Numer KSeF 5210415750-20250310-FF4861C9CC3F-C7 (NrKSeFFaKorygowanej): postać i suma kontrolna poprawne",
            "BŁĄD Numer KSeF 5210415750-20250310-FF4861C9CC3F-BA (NrKSeFFaKorygowanej): suma kontrolna BA, oczekiwana C7");
        // 6891152920: 6·6 + 8·5 + 9·7 + 1·2 + 1·3 + 5·4 + 2·5 + 9·6 + 2·7 = 242 = 22 · 11, check digit 0.
        row("NIP inside IDWew", "P_15=0 @VAT", "2920-", "2921-",
            "OK NIP podmiotu trzeciego 1 w IDWew 6891152920-00001 6891152920: cyfra kontrolna poprawna",
            "BŁĄD NIP podmiotu trzeciego 1 w IDWew 6891152921-00001 6891152921: cyfra kontrolna 1, oczekiwana 0",
            "Podmiot3{ DaneIdentyfikacyjne{ IDWew=6891152920-00001 Nazwa=Oddział } Rola=8 }");
        // 1000.00 + 33.52 + 35.49 - 250.00 = 819.01.
        row("settlement's sums", "P_13_7=1000.00 P_15=1000.00 @VAT Rozliczenie{ Obciazenia{ Kwota=33.52 Powod=a } "
                                 "Obciazenia{ Kwota=35.49 Powod=b } SumaObciazen=69.01 Odliczenia{ Kwota=250.00 Powod=c } "
                                 "SumaOdliczen=250.00 DoZaplaty=819.01 }",
            "DoZaplaty=819.01", "DoZaplaty=739.01", "OK Rozliczenie: DoZaplaty 819,01 = P_15 + obciążenia − odliczenia 819,01",
            "BŁĄD Rozliczenie: DoZaplaty 739,01 ≠ P_15 + obciążenia − odliczenia 819,01");
        // Deductions above the amount due: 100.00 - 150.00 = -50.00, so 50.00 overpaid, not -50.00.
        row("settlement overpaid", "P_13_7=100.00 P_15=100.00 @VAT Rozliczenie{ Odliczenia{ Kwota=150.00 Powod=c } "
                                   "SumaOdliczen=150.00 DoRozliczenia=50.00 }",
            "DoRozliczenia=50.00", "DoRozliczenia=-50.00", "OK Rozliczenie: DoRozliczenia 50,00 = nadpłata",
            "BŁĄD Rozliczenie: DoRozliczenia -50,00 ≠ nadpłata");
        // 1000.00 + 230.00 = 1230.00 = P_15.
        row("advance paid in parts", "P_13_1=1000.00 P_14_1=230.00 P_15=1230.00 @ZAL ZaliczkaCzesciowa{ P_6Z=2026-01-02 P_15Z=1000.00 } "
                                     "ZaliczkaCzesciowa{ P_6Z=2026-01-05 P_15Z=230.00 }",
            "P_15Z=230.00", "P_15Z=200.00", "OK Zaliczki częściowe: P_15 1230,00 = suma P_15Z 1230,00",
            "BŁĄD Zaliczki częściowe: P_15 1230,00 ≠ suma P_15Z 1200,00");
        // The order: 1000.00 x 23 % = 230.00, 1000.00 + 230.00 = 1230.00.
        row("order of an advance", "P_13_1=100.00 P_14_1=23.00 P_15=123.00 @ZAL Zamowienie{ WartoscZamowienia=1230.00 "
                                   "ZamowienieWiersz{ NrWierszaZam=1 P_11NettoZ=1000.00 P_11VatZ=230.00 P_12Z=23 } }",
            "P_11VatZ=230.00", "P_11VatZ=280.00", "OK Zamówienie: WartoscZamowienia 1230,00 = suma netto i VAT pozycji zamówienia 1230,00",
            "BŁĄD Zamówienie, pozycja 1: P_11VatZ 280,00 ≠ P_11NettoZ × P_12Z 230,00");
        // Paid in full in two parts: 60.00 + 40.00 = 100.00 = P_15.
        row("paid in parts", "P_13_7=100.00 P_15=100.00 @VAT Platnosc{ ZnacznikZaplatyCzesciowej=2 ZaplataCzesciowa{ "
                             "KwotaZaplatyCzesciowej=60.00 DataZaplatyCzesciowej=2026-02-02 } ZaplataCzesciowa{ "
                             "KwotaZaplatyCzesciowej=40.00 DataZaplatyCzesciowej=2026-02-03 } }",
            "=40.00", "=30.00", "OK Zapłata w częściach (zapłacono w całości): suma KwotaZaplatyCzesciowej 100,00 = P_15 100,00",
            "BŁĄD Zapłata w częściach (zapłacono w całości): suma KwotaZaplatyCzesciowej 90,00 ≠ P_15 100,00");
        // Two additional buyers of 40 % leave 20 % to the buyer; 40 + 70 is over 100.
        row("shares of buyers", "P_15=0 @VAT", "Udzial=40 } Podmiot3{ DaneIdentyfikacyjne{ NIP=7770001453", "Udzial=70 } Podmiot3{ DaneIdentyfikacyjne{ NIP=7770001453",
            "OK Udziały dodatkowych nabywców (Podmiot3/Udzial): razem 80,00%, nabywcy z Podmiot2 zostaje 20,00%",
            "BŁĄD Udziały dodatkowych nabywców (Podmiot3/Udzial): razem 110,00%, ponad 100%",
            "Podmiot3{ DaneIdentyfikacyjne{ NIP=5261040567 Nazwa=A } Rola=4 Udzial=40 } "
            "Podmiot3{ DaneIdentyfikacyjne{ NIP=7770001453 Nazwa=B } Rola=4 Udzial=40 }");
        // 16260.16 x 23 % = 3739.84, 20000.00 in all: over 15 000 zł; goods of annex 15 need P_18A = 1.
        row("split payment", "P_13_1=16260.16 P_14_1=3739.84 P_15=20000.00 @VAT FaWiersz{ NrWierszaFa=1 P_7=x P_11=16260.16 P_12=23 }",
            "P_12=23", "P_12=23 P_12_Zal_15=1", "OK Stawka 23%: P_14_1 3739,84 = netto z pozycji × stawka 3739,84",
            "UWAGA MPP: pozycje z załącznika nr 15 (P_12_Zal_15) i należność ogółem 20000,00 zł");
    }
    void rulesOnInvoicesWrittenForThem()
    {
        QFETCH(QString, fa);
        QFETCH(QString, podmiot3);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, ok);
        QFETCH(QString, fault);
        for (const bool faulty : {false, true}) {
            const QString xml = invoiceOf(faulty ? QString(fa).replace(from, to) : fa,
                                          faulty ? QString(podmiot3).replace(from, to) : podmiot3);
            QVERIFY(!faulty || xml != invoiceOf(fa, podmiot3));
            const auto document = validDocument(xml);
            QVERIFY(document);
            const QStringList all = lines(allFindings(fullCheckOf(*document, QString())));
            const QString expected = faulty ? fault : ok;
            QVERIFY2(std::any_of(all.begin(), all.end(), [&](const QString &line) { return line.startsWith(expected); }),
                     qPrintable(all.join(u'\n')));
            if (!faulty) {
                QVERIFY2(all.filter(QRegularExpression(QStringLiteral("^(UWAGA|BŁĄD) "))).isEmpty(), qPrintable(all.join(u'\n')));
            }
        }
    }

    void ksefNumberAgainstTheInvoice_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("findings");
        // The own example: seller 6891152920, issued 2026-03-02. The checks
        // 7A and 1F are CRC-8 (polynomial 7) worked out apart from the program.
        QTest::newRow("the seller's, after the issue") << "6891152920-20260303-0100001AF629-7A"
            << QStringList{"OK Numer KSeF: NIP 6891152920 = NIP sprzedawcy 6891152920",
                           "OK Numer KSeF: data 2026-03-03 nie wcześniej niż data wystawienia P_1 2026-03-02"};
        QTest::newRow("another NIP, before the issue") << "5265877635-20260301-0100001AF629-1F"
            << QStringList{"BŁĄD Numer KSeF: NIP 5265877635 ≠ NIP sprzedawcy 6891152920",
                           "BŁĄD Numer KSeF: data 2026-03-01 wcześniej niż data wystawienia P_1 2026-03-02"};
        QTest::newRow("a wrong check") << "6891152920-20260303-0100001AF629-00"
            << QStringList{"BŁĄD Numer KSeF 6891152920-20260303-0100001AF629-00: suma kontrolna 00, oczekiwana 7A"};
    }
    void ksefNumberAgainstTheInvoice()
    {
        QFETCH(QString, number);
        QFETCH(QStringList, findings);
        const auto document = validDocument(ownInvoice());
        const CheckReport report = fullCheckOf(*document, number);
        QCOMPARE(report.caption, number);
        const QStringList all = lines(report.sections[1].findings);
        for (const QString &finding : findings)
            QVERIFY2(all.contains(finding), qPrintable(all.join(u'\n')));
    }

    // The file rules, each broken once in the own example read as a file.
    void fileRules_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("changed");
        QTest::addColumn<QString>("finding");
        QTest::newRow("as written") << QByteArray() << QByteArray() << "OK Kodowanie UTF-8 bez znacznika BOM.";
        QTest::newRow("byte-order mark") << QByteArray("<?xml") << QByteArray("\xEF\xBB\xBF<?xml")
            << "BŁĄD Plik zaczyna się znacznikiem kolejności bajtów (BOM); KSeF przyjmuje UTF-8 bez BOM.";
        QTest::newRow("declared ISO-8859-2")
            << QByteArray("encoding=\"UTF-8\"?>") << QByteArray("encoding=\"ISO-8859-2\"?>")
            << "BŁĄD Deklaracja XML podaje kodowanie ISO-8859-2; KSeF przyjmuje tylko UTF-8.";
        QTest::newRow("processing instruction") << QByteArray("<Faktura ") << QByteArray("<?xml-stylesheet href=\"a\"?><Faktura ")
            << "BŁĄD Plik zawiera instrukcje przetwarzania (1, pierwsza: <?xml-stylesheet ...?>); KSeF ich nie przyjmuje.";
        QTest::newRow("an instruction's text in a comment") << QByteArray("<Faktura ")
            << QByteArray("<!-- <?xml-stylesheet?> --><Faktura ") << "OK Brak instrukcji przetwarzania.";
        QTest::newRow("U+0086 written as a reference") << QByteArray("<P_1M>Kraków") << QByteArray("<P_1M>Kraków&#x86;")
            << "BŁĄD Znaki niedozwolone w KSeF: 1, pierwszy U+0086 w linii 41.";
        QTest::newRow("U+0085 is allowed") << QByteArray("<P_1M>Kraków") << QByteArray("<P_1M>Kraków\xC2\x85")
            << "OK Brak znaków niedozwolonych w KSeF.";
        QTest::newRow("U+1FFFE") << QByteArray("<P_1M>Kraków") << QByteArray("<P_1M>Kraków&#x1FFFE;")
            << "BŁĄD Znaki niedozwolone w KSeF: 1, pierwszy U+1FFFE w linii 41.";
        QTest::newRow("over a million bytes") << QByteArray("<Faktura ")
            << QByteArray("<!--" + QByteArray(1000000, '-').replace("--", "- ") + "--><Faktura ")
            << "BŁĄD Rozmiar";
    }
    void fileRules()
    {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, changed);
        QFETCH(QString, finding);
        QByteArray bytes = fileBytes(ownExample("faktura-podstawowa.xml"));
        QVERIFY(original.isEmpty() || bytes.contains(original));
        bytes.replace(original, changed);
        const auto document = validDocument(bytes, true);
        QVERIFY(document);
        const QStringList all = lines(checkFileRules(*document));
        QVERIFY2(std::any_of(all.begin(), all.end(), [&](const QString &line) { return line.startsWith(finding); }),
                 qPrintable(all.join(u'\n')));
        QCOMPARE(all.filter(QStringLiteral("INFO")).size(), 0); // read as a file: no note on pasted text
    }

    void pastedInvoiceIsCheckedAsItsUtf8Text()
    {
        const QString xml = ownInvoice();
        const CheckReport report = fullCheckOf(*validDocument(xml), QString());
        QCOMPARE(report.caption, QStringLiteral("OFFLINE"));
        QCOMPARE(report.link, verificationLink(QStringLiteral("6891152920"), QDate(2026, 3, 2), xml.toUtf8()));
        QVERIFY(report.text().contains(report.link));
        QCOMPARE(lines(report.sections[2].findings).filter(QStringLiteral("oryginalny plik może się różnić")).size(), 1);
        QCOMPARE(lines(report.sections[3].findings).filter(QStringLiteral("identyczny co do bajtu")).size(), 1);
    }

    // Errors and remarks are counted apart, each noun in its Polish form.
    void statusText_data()
    {
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("remarks");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << 0 << "Kontrola: bez uwag";
        QTest::newRow("1 remark") << 0 << 1 << "Kontrola: 1 uwaga";
        QTest::newRow("2 errors") << 2 << 0 << "Kontrola: 2 błędy";
        QTest::newRow("2 errors, 1 remark") << 2 << 1 << "Kontrola: 2 błędy, 1 uwaga";
        QTest::newRow("1, 4") << 1 << 4 << "Kontrola: 1 błąd, 4 uwagi";
        QTest::newRow("5, 5") << 5 << 5 << "Kontrola: 5 błędów, 5 uwag";
        QTest::newRow("12, 14") << 12 << 14 << "Kontrola: 12 błędów, 14 uwag";
        QTest::newRow("22, 23") << 22 << 23 << "Kontrola: 22 błędy, 23 uwagi";
    }
    void statusText()
    {
        QFETCH(int, errors);
        QFETCH(int, remarks);
        QFETCH(QString, text);
        CheckReport report;
        std::vector<Finding> findings{{Mark::Ok, {}}, {Mark::Info, {}}};
        findings.insert(findings.end(), std::size_t(errors), {Mark::Error, {}});
        findings.insert(findings.end(), std::size_t(remarks), {Mark::Remark, {}});
        report.sections.push_back({QString(), findings});
        QCOMPARE(checkStatusText(report), text);
        QCOMPARE(findingsCountText(errors, remarks), text.mid(10));
    }

    // Every valid example, public and our own, goes through the whole
    // check. The counts are what the check finds in them (wrong NIPs,
    // account numbers and KSeF check sums, totals of another invoice): a
    // change in them is a change of a rule. Some findings are worked out by
    // hand: a correction of the rate only (800 EUR at 4.2106, then 4.2142:
    // VAT 184 EUR, in PLN 775.41 - 774.75 = 0.66), gross lines (1000 / 1.23
    // = 813.01, VAT 186.99), an advance invoice (81.30 x 23 % = 18.70), the
    // debit note's amount to pay (15926.05 + 69.01 - 250.00 = 15745.06), the
    // CRC-8 of the corrected invoices' numbers (C7 and 42, not BA) and our
    // advance in two payments (373.98 x 4.2750 + 316.02 x 4.2817 = 2951.86).
    void everyExample_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("remarks");
        QTest::addColumn<QStringList>("findings");
        QTest::newRow("correction 1") << "korygujaca__FA_3_Przyklad_1_poprawiony.xml" << 2
            << QStringList{"BŁĄD Numer KSeF 5210415750-20250310-FF4861C9CC3F-BA (NrKSeFFaKorygowanej): suma kontrolna BA, "
                           "oczekiwana C7"};
        QTest::newRow("rate correction") << "korygujaca__FA_3_Przyklad_3_poprawiony.xml" << 3
            << QStringList{"OK Stawka 23%: P_14_1W 0,66 = VAT pozycji × ich kursy 0,66",
                           "OK Stawka 23%, 2 pozycje: P_13_1 0,00 = netto z pozycji 0,00",
                           "BŁĄD Numer KSeF 5265877635-20250310-FF4861C9CC3F-BA (NrKSeFFaKorygowanej): suma kontrolna BA, "
                           "oczekiwana 42"};
        // Known to be inconsistent: the header's totals are another invoice's.
        QTest::newRow("debit note") << "obciazeniowa__FA_3_obciazeniowa.xml" << 5
            << QStringList{"BŁĄD Stawka 23%, 1 pozycja: P_13_1 12948,01 ≠ netto z pozycji 738,21 "
                           "(różnica 12209,80, tolerancja 0,01)",
                           "BŁĄD Rozliczenie: DoZaplaty 739,01 ≠ P_15 + obciążenia − odliczenia 15745,06 "
                           "(różnica -15006,05, tolerancja 0,00)"};
        QTest::newRow("basic 1") << "podstawowa__FA_3_Przyklad_1.xml" << 5
            << QStringList{"OK Udziały dodatkowych nabywców (Podmiot3/Udzial): razem 50,00%, nabywcy z Podmiot2 zostaje 50,00%"};
        QTest::newRow("gross lines") << "podstawowa__FA_3_Przyklad_3_brutto.xml" << 0
            << QStringList{"OK Stawka 23%, 2 pozycje: P_13_1 813,01 = netto z pozycji 813,01",
                           "OK Stawka 23%: P_14_1 186,99 = netto z pozycji × stawka 186,99",
                           "OK Należność ogółem: P_15 1000,00 = suma pól P_13 i P_14 1000,00"};
        QTest::newRow("net lines") << "podstawowa__FA_3_Przyklad_3_netto.xml" << 0 << QStringList();
        QTest::newRow("QR test") << "qr_test__nip.xml" << 0 << QStringList();
        QTest::newRow("settlement") << "rozliczeniowa__FA_3_Przyklad_1.xml" << 0
            << QStringList{"OK Numer KSeF 5451824119-20251202-0100A0E87267-21 (NrKSeFFaZaliczkowej): postać i suma "
                           "kontrolna poprawne"};
        QTest::newRow("attachment") << "zalacznik__FA_3_Zalacznik_Przyklad_1.xml" << 2
            << QStringList{"OK Rozliczenie: DoZaplaty 15926,05 = P_15 + obciążenia − odliczenia 15926,05"};
        QTest::newRow("advance") << "zaliczkowa__FA_3_Przyklad_1.xml" << 0
            << QStringList{"OK Stawka 23%: P_14_1 18,70 = P_13_1 × 23% 18,70",
                           "OK Należność ogółem: P_15 100,00 = suma pól P_13 i P_14 100,00"};
        QTest::newRow("own correction") << "faktura-korygujaca.xml" << 0
            << QStringList{"OK Numer KSeF 6891152920-20260302-0A1B2C3D4E5F-41 (NrKSeFFaKorygowanej): postać i suma "
                           "kontrolna poprawne"};
        QTest::newRow("own advance") << "faktura-zaliczkowa.xml" << 0
            << QStringList{"OK Stawka 23%: P_14_1W 2951,86 = suma VAT każdej zaliczki (23%) × jej kurs 2951,86",
                           "OK Zaliczki częściowe: P_15 3690,00 = suma P_15Z 3690,00"};
        for (const char *file : {"faktura-podstawowa.xml", "faktura-walutowa.xml", "faktura-podmioty-zalacznik.xml"})
            QTest::newRow(file) << file << 0 << QStringList();
    }
    void everyExample()
    {
        QFETCH(QString, file);
        QFETCH(int, remarks);
        QFETCH(QStringList, findings);
        const QString path = file.startsWith(QStringLiteral("faktura-")) ? ownExample(qPrintable(file))
                                                                        : publicExample(qPrintable(file));
        const auto document = validDocument(fileBytes(path), true);
        QVERIFY(document);
        const CheckReport report = fullCheckOf(*document, QString());
        QCOMPARE(report.remarkCount(), remarks);
        QVERIFY(report.link.startsWith(QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/")));
        const QStringList all = lines(allFindings(report));
        for (const QString &finding : findings)
            QVERIFY2(all.contains(finding), qPrintable(all.join(u'\n')));
        if (QTest::currentDataTag() == QByteArray("advance"))
            QVERIFY(all.filter(QStringLiteral("netto z pozycji")).isEmpty());
    }

    // The window shows the report, draws a QR code that a reader decodes to
    // the link, copies the link, and keeps its place in its own section.
    void windowShowsTheReportAndAReadableCode()
    {
        const QString ksef = QStringLiteral("5265877635-20250826-0100001AF629-AF");
        const CheckReport report = fullCheckOf(*validDocument(fileBytes(ownExample("faktura-podstawowa.xml")), true), ksef);
        QTemporaryDir temp;
        QSettings settings(temp.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat);
        QString copied;
        int printed = 0;
        CheckWindow window(settings, report, [&copied](const QString &text) { copied = text; }, [&printed] { ++printed; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Kontrola faktury"));
        QCOMPARE(window.reportView()->toPlainText(), QString(report.text()).remove(u'\r'));
        QCOMPARE(window.captionView()->text(), ksef);

        const QString image = temp.filePath(QStringLiteral("qr.png"));
        QVERIFY(window.qrView()->pixmap().save(image));
        QProcess zbarimg;
        zbarimg.start(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), QStringLiteral("--raw"), image});
        QVERIFY2(zbarimg.waitForFinished(20000), "zbarimg (zbar-tools) is needed");
        QCOMPARE(QString::fromUtf8(zbarimg.readAllStandardOutput()).trimmed(), report.link);

        window.copyLinkButton()->click();
        QCOMPARE(copied, report.link);
        QCOMPARE(window.printButton()->text(), QStringLiteral("Drukuj raport"));
        window.printButton()->click();
        QCOMPARE(printed, 1);
        // What it prints: every finding under its section, and the code.
        const print::PrintDocument printout = print::checkReportPrintout(report);
        QCOMPARE(printout.sections.back().title, report.sections.back().title);
        QCOMPARE(std::get<print::Paragraph>(printout.sections.back().items.at(0)).text.split(u'\n'), lines(report.sections.back().findings));
        QCOMPARE(printout.number + printout.link + printout.qrCaption, QStringLiteral("FV/2026/03/017") + report.link + ksef);
        QTest::keyClick(window.reportView(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        for (const char *key : {"Kontrola/Left", "Kontrola/Top", "Kontrola/Width", "Kontrola/Height"})
            QVERIFY2(settings.contains(QLatin1String(key)), key);
        QVERIFY(!settings.contains(QStringLiteral("Kontrola/State")));
    }
};

QTEST_MAIN(TestInvoiceCheck)
#include "tst_invoicecheck.moc"
