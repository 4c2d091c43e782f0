#include "InvoiceCheck.h"

#include "core/check/FileRules.h"
#include "core/check/Identifiers.h"
#include "core/check/OtherAmounts.h"
#include "core/check/VatSummary.h"
#include "core/check/VerificationLink.h"
#include "core/tree/XmlNavigation.h"

#include <algorithm>

namespace velkor {

namespace {

QString textAt(const InvoiceDocument &document, const char *path, xmlNode *context = nullptr)
{
    return NodeText(FaPath(document, path).selectFirst(context)).trimmed();
}

// The FA(3) elements with one of `names`, in document order.
std::vector<const xmlNode *> elementsNamed(const InvoiceDocument &document, const QStringList &names)
{
    std::vector<const xmlNode *> found;
    // The parser keeps every element name in the document's dictionary: a
    // name it does not hold is on no element, and the walk is spared.
    xmlDict *dictionary = document.doc()->dict;
    std::vector<QByteArray> wanted;
    for (const QString &name : names) {
        const QByteArray utf8 = name.toUtf8();
        if (!dictionary || xmlDictExists(dictionary, toXml(utf8.constData()), -1))
            wanted.push_back(utf8);
    }
    if (wanted.empty())
        return found;
    const xmlNode *node = document.root();
    while (node) {
        if (document.isFaElement(node)) {
            const char *name = reinterpret_cast<const char *>(node->name);
            if (std::find(wanted.begin(), wanted.end(), name) != wanted.end())
                found.push_back(node);
        }
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node && !node->next)
            node = node->parent != reinterpret_cast<const xmlNode *>(document.doc()) ? node->parent : nullptr;
        if (node)
            node = node->next;
    }
    return found;
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
        // An internal identifier is a NIP, a hyphen and up to five characters.
        const QString internal = textAt(document, "n:DaneIdentyfikacyjne/n:IDWew", party);
        checkNip(findings, QStringLiteral("podmiotu trzeciego %1 w IDWew %2").arg(k).arg(internal),
                 internal.section(u'-', 0, 0));
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

    // Every KSeF number the invoice itself names (of a corrected invoice, of
    // an advance invoice, ...), wherever the schema puts one.
    for (const xmlNode *element : elementsNamed(document, document.ksefNumberElements())) {
        const QString number = NodeText(element).trimmed();
        const QString where = QStringLiteral("Numer KSeF %1 (%2)").arg(number, fromXml(element->name));
        // The schema admits the older form, with a hyphen inside the
        // technical part, whose check sum the national system does not describe.
        if (number.size() == 36 && number[26] == u'-')
            findings.push_back({Mark::Info, where + QStringLiteral(": dawna postać numeru, sumy kontrolnej nie sprawdzono.")});
        else if (const QString problem = ksefNumberProblem(number); !problem.isEmpty())
            findings.push_back({Mark::Error, where + QStringLiteral(": ") + problem});
        else
            findings.push_back({Mark::Ok, where + QStringLiteral(": postać i suma kontrolna poprawne")});
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
    std::vector<Finding> other = checkOtherAmounts(document, lines, decimalSeparator);
    if (!other.empty())
        report.sections.push_back({QStringLiteral("4. Rozliczenie, płatności i inne kwoty"), std::move(other)});
    return report;
}

CheckReport failedCheck(const QString &reason)
{
    CheckReport report;
    report.title = QStringLiteral("Kontrola faktury");
    // The VAT summary stays empty: nothing of it was compared.
    report.sections.push_back({QStringLiteral("1. Podsumowanie VAT według pozycji faktury"), {}});
    report.sections.push_back({QStringLiteral("Kontrola nie powiodła się"),
                               {{Mark::Error, QStringLiteral("Kontroli nie dało się wykonać: %1").arg(reason)}}});
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
    report.sections.push_back({QStringLiteral("%1. Link weryfikacyjny (KOD I)").arg(report.sections.size() + 1), link});
}

} // namespace velkor
