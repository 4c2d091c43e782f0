#include "InvoiceCheck.h"

#include "check/FileRules.h"
#include "check/Identifiers.h"
#include "check/VatSummary.h"
#include "check/VerificationLink.h"
#include "views/XmlNavigation.h"

namespace velkor {

namespace {

QString textAt(const InvoiceDocument &document, const char *path, xmlNode *context = nullptr)
{
    return NodeText(FaPath(document, path).selectFirst(context)).trimmed();
}

void checkNip(std::vector<Finding> &findings, const QString &whose, const QString &nip)
{
    if (nip.isEmpty())
        return;
    const QString problem = nipProblem(nip);
    findings.push_back({problem.isEmpty() ? Mark::Ok : Mark::Error,
                        QStringLiteral("NIP %1 %2: %3")
                            .arg(whose, nip, problem.isEmpty() ? QStringLiteral("cyfra kontrolna poprawna") : problem)});
}

std::vector<Finding> checkNumbers(const InvoiceDocument &document, const QString &ksefNumber)
{
    std::vector<Finding> findings;
    const QString seller = textAt(document, "n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:NIP");
    checkNip(findings, QStringLiteral("sprzedawcy"), seller);
    checkNip(findings, QStringLiteral("nabywcy"), textAt(document, "n:Faktura/n:Podmiot2/n:DaneIdentyfikacyjne/n:NIP"));
    int k = 0;
    for (xmlNode *party : FaPath(document, "n:Faktura/n:Podmiot3").selectAll()) {
        checkNip(findings, QStringLiteral("podmiotu trzeciego %1").arg(++k),
                 textAt(document, "n:DaneIdentyfikacyjne/n:NIP", party));
    }
    checkNip(findings, QStringLiteral("podmiotu upoważnionego"),
             textAt(document, "n:Faktura/n:PodmiotUpowazniony/n:DaneIdentyfikacyjne/n:NIP"));

    if (ksefNumber.isEmpty()) {
        findings.push_back({Mark::Info, QStringLiteral("Nie przekazano numeru KSeF: faktura poza KSeF (OFFLINE) albo "
                                                       "otwarta z pliku lub schowka.")});
    } else if (const QString problem = ksefNumberProblem(ksefNumber); !problem.isEmpty()) {
        findings.push_back({Mark::Error, QStringLiteral("Numer KSeF %1: %2").arg(ksefNumber, problem)});
    } else {
        findings.push_back({Mark::Ok, QStringLiteral("Numer KSeF %1: postać i suma kontrolna poprawne").arg(ksefNumber)});
        const QString nip = ksefNumberNip(ksefNumber);
        findings.push_back({nip == seller ? Mark::Ok : Mark::Error,
                            QStringLiteral("Numer KSeF: NIP %1 %2 NIP sprzedawcy %3")
                                .arg(nip, nip == seller ? QStringLiteral("=") : QStringLiteral("≠"), seller)});
        const QDate issued = QDate::fromString(textAt(document, "n:Faktura/n:Fa/n:P_1"), Qt::ISODate);
        const QDate accepted = ksefNumberDate(ksefNumber);
        const bool inOrder = issued.isValid() && accepted >= issued;
        findings.push_back({inOrder ? Mark::Ok : Mark::Error,
                            QStringLiteral("Numer KSeF: data %1 %2 data wystawienia P_1 %3")
                                .arg(accepted.toString(Qt::ISODate), inOrder ? QStringLiteral("nie wcześniej niż")
                                                                             : QStringLiteral("wcześniej niż"),
                                     issued.isValid() ? issued.toString(Qt::ISODate) : QStringLiteral("brak"))});
    }

    for (const char *path : {"n:Faktura/n:Fa/n:Platnosc/n:RachunekBankowy/n:NrRB",
                             "n:Faktura/n:Fa/n:Platnosc/n:RachunekBankowyFaktora/n:NrRB"}) {
        for (const xmlNode *number : FaPath(document, path).selectAll()) {
            const QString account = NodeText(number).trimmed();
            bool checked = false;
            const QString problem = polishAccountProblem(account, checked);
            if (!checked)
                findings.push_back({Mark::Info, QStringLiteral("Rachunek %1: nie jest polskim numerem NRB (26 cyfr), "
                                                               "nie sprawdzono.").arg(account)});
            else
                findings.push_back({problem.isEmpty() ? Mark::Ok : Mark::Error,
                                    QStringLiteral("Rachunek %1: %2")
                                        .arg(account, problem.isEmpty() ? QStringLiteral("cyfry kontrolne IBAN poprawne")
                                                                        : problem)});
        }
    }
    return findings;
}

} // namespace

CheckReport checkInvoice(const InvoiceDocument &document, const InvoiceLines &lines, const QString &ksefNumber,
                         const QString &decimalSeparator)
{
    CheckReport report;
    report.number = textAt(document, "n:Faktura/n:Fa/n:P_2");
    report.title = QStringLiteral("Kontrola faktury %1").arg(report.number);
    report.sections.push_back({QStringLiteral("1. Podsumowanie VAT według pozycji faktury"),
                               checkVatSummary(document, lines, decimalSeparator)});
    report.sections.push_back({QStringLiteral("2. Numery"), checkNumbers(document, ksefNumber)});
    report.sections.push_back({QStringLiteral("3. Plik faktury a wymagania KSeF"), checkFileRules(document)});
    return report;
}

void addVerificationLink(CheckReport &report, const InvoiceDocument &document, const QString &ksefNumber)
{
    const QString seller = textAt(document, "n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:NIP");
    const QDate issued = QDate::fromString(textAt(document, "n:Faktura/n:Fa/n:P_1"), Qt::ISODate);
    report.link = verificationLink(seller, issued, document.sourceBytes());
    report.caption = ksefNumber.isEmpty() ? QStringLiteral("OFFLINE") : ksefNumber;
    std::vector<Finding> link{{Mark::Info, report.link},
                              {Mark::Info, QStringLiteral("Podpis kodu QR: %1").arg(report.caption)}};
    if (document.sourceKind() == InvoiceDocument::SourceKind::Text) {
        link.push_back({Mark::Info, QStringLiteral("Skrót liczono z wklejonego tekstu zapisanego w UTF-8: link zgadza się "
                                                   "z fakturą w KSeF tylko wtedy, gdy jej plik jest identyczny co do bajtu.")});
    }
    report.sections.push_back({QStringLiteral("4. Link weryfikacyjny (KOD I)"), link});
}

} // namespace velkor
