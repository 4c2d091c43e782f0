#include "PrintLabels.h"

#include "core/invoice/HeaderFields.h"
#include "core/invoice/LineFigures.h"
#include "core/support/Decimal.h"
#include "core/tree/XmlNavigation.h"

#include <string_view>
#include <unordered_map>

namespace velkor::print {

namespace {

using K = ValueKind;

const ElementLabel Labels[] = {
    // The header of the file; the form's code and variant are always FA and 3.
    {"KodFormularza", "Kod formularza", K::Hidden},
    {"WariantFormularza", "Wariant formularza", K::Hidden},
    {"DataWytworzeniaFa", "Data i czas wytworzenia faktury", K::Text},
    {"SystemInfo", "System teleinformatyczny podatnika", K::Text},
    // Parties.
    {"PrefiksPodatnika", "Prefiks VAT UE", K::Text},
    {"NrEORI", "Numer EORI", K::Text},
    {"NIP", "NIP", K::Text},
    {"IDWew", "Identyfikator wewnętrzny", K::Text},
    {"KodUE", "Prefiks VAT UE", K::Text},
    {"NrVatUE", "Numer VAT UE", K::Text},
    {"KodKraju", "Kraj", K::Text},
    {"NrID", "Inny identyfikator podatkowy", K::Text},
    {"BrakID", "Bez identyfikatora podatkowego", K::Flag},
    {"DaneIdentyfikacyjne", "Dane identyfikacyjne", K::Bundle},
    {"Nazwa", "Nazwa", K::Text},
    {"Adres", "Adres", K::Address},
    {"AdresKoresp", "Adres do korespondencji", K::Address},
    {"AdresL1", "Adres", K::Text},
    {"AdresL2", "Adres", K::Text},
    {"GLN", "GLN", K::Text},
    {"DaneKontaktowe", "Dane kontaktowe", K::Bundle},
    {"Email", "E-mail", K::Text},
    {"EmailPU", "E-mail", K::Text},
    {"Telefon", "Telefon", K::Text},
    {"TelefonPU", "Telefon", K::Text},
    {"StatusInfoPodatnika", "Status podatnika", K::Code},
    {"NrKlienta", "Numer klienta", K::Text},
    {"IDNabywcy", "Klucz powiązania danych nabywcy", K::Text},
    {"JST", "Faktura dotyczy jednostki podrzędnej JST", K::Flag},
    {"GV", "Faktura dotyczy członka grupy VAT", K::Flag},
    {"Rola", "Rola", K::Code},
    {"RolaInna", "Inny podmiot", K::Flag},
    {"OpisRoli", "Opis roli", K::Text},
    {"Udzial", "Udział", K::Percent},
    {"RolaPU", "Rola", K::Code},
    // The invoice.
    {"KodWaluty", "Waluta", K::Text},
    {"P_1", "Data wystawienia", K::Text},
    {"P_1M", "Miejsce wystawienia", K::Text},
    {"P_2", "Numer faktury", K::Text},
    {"WZ", "Dokumenty WZ", K::Text},
    {"P_6", "Data dostawy lub wykonania usługi", K::Text},
    {"OkresFa", "Okres", K::Bundle},
    {"P_6_Od", "Okres od", K::Text},
    {"P_6_Do", "Okres do", K::Text},
    {"P_15", "Kwota należności ogółem", K::Amount},
    {"KursWalutyZ", "Kurs waluty do wyliczenia podatku", K::Number, 2},
    {"RodzajFaktury", "Rodzaj faktury", K::Hidden},
    // Annotations: only those that apply are printed.
    {"Adnotacje", "Adnotacje", K::Bundle},
    {"P_16", "Metoda kasowa", K::Flag},
    {"P_17", "Samofakturowanie", K::Flag},
    {"P_18", "Odwrotne obciążenie", K::Flag},
    {"P_18A", "Mechanizm podzielonej płatności", K::Flag},
    {"Zwolnienie", "Zwolnienie", K::Bundle},
    {"P_19", "Zwolnienie z podatku", K::Flag},
    {"P_19A", "Podstawa zwolnienia: przepis ustawy", K::Text},
    {"P_19B", "Podstawa zwolnienia: przepis dyrektywy 2006/112/WE", K::Text},
    {"P_19C", "Podstawa zwolnienia: inna", K::Text},
    {"P_19N", "Brak zwolnienia", K::Hidden},
    {"NoweSrodkiTransportu", "Nowe środki transportu", K::Bundle},
    {"P_22", "Wewnątrzwspólnotowa dostawa nowych środków transportu", K::Flag},
    {"P_42_5", "Obowiązek z art. 42 ust. 5 ustawy", K::Code},
    {"NowySrodekTransportu", "Nowy środek transportu", K::Group},
    {"P_22A", "Data dopuszczenia do użytku", K::Text},
    {"P_NrWierszaNST", "Pozycja faktury", K::Text},
    {"P_22BMK", "Marka", K::Text},
    {"P_22BMD", "Model", K::Text},
    {"P_22BK", "Kolor", K::Text},
    {"P_22BNR", "Numer rejestracyjny", K::Text},
    {"P_22BRP", "Rok produkcji", K::Text},
    {"P_22B", "Przebieg pojazdu", K::Text},
    {"P_22B1", "Numer VIN", K::Text},
    {"P_22B2", "Numer nadwozia", K::Text},
    {"P_22B3", "Numer podwozia", K::Text},
    {"P_22B4", "Numer ramy", K::Text},
    {"P_22BT", "Typ pojazdu", K::Text},
    {"P_22C", "Godziny używania jednostki pływającej", K::Text},
    {"P_22C1", "Numer kadłuba", K::Text},
    {"P_22D", "Godziny używania statku powietrznego", K::Text},
    {"P_22D1", "Numer fabryczny", K::Text},
    {"P_22N", "Brak dostawy nowych środków transportu", K::Hidden},
    {"P_23", "Procedura uproszczona: drugi w kolejności podatnik (art. 135 ust. 1 pkt 4 ustawy)", K::Flag},
    {"PMarzy", "Procedura marży", K::Bundle},
    {"P_PMarzy", "Procedura marży", K::Flag},
    {"P_PMarzy_2", "Procedura marży dla biur podróży", K::Flag},
    {"P_PMarzy_3_1", "Procedura marży – towary używane", K::Flag},
    {"P_PMarzy_3_2", "Procedura marży – dzieła sztuki", K::Flag},
    {"P_PMarzy_3_3", "Procedura marży – przedmioty kolekcjonerskie i antyki", K::Flag},
    {"P_PMarzyN", "Brak procedury marży", K::Hidden},
    {"FP", "Faktura do paragonu (art. 109 ust. 3d ustawy)", K::Flag},
    {"TP", "Powiązania między nabywcą a dostawcą (TP)", K::Flag},
    {"ZwrotAkcyzy", "Informacja dla rolnika o zwrocie podatku akcyzowego", K::Flag},
    // Correction.
    {"PrzyczynaKorekty", "Przyczyna korekty", K::Text},
    {"TypKorekty", "Skutek korekty w ewidencji VAT", K::Code},
    {"DaneFaKorygowanej", "Faktury korygowane", K::Rows},
    {"DataWystFaKorygowanej", "Data wystawienia", K::Text},
    {"NrFaKorygowanej", "Numer", K::Text},
    {"NrKSeF", "Wystawiona w KSeF", K::Flag},
    {"NrKSeFFaKorygowanej", "Numer KSeF", K::Text},
    {"NrKSeFN", "Wystawiona poza KSeF", K::Flag},
    {"OkresFaKorygowanej", "Okres udzielonego opustu lub obniżki", K::Text},
    {"NrFaKorygowany", "Poprawny numer faktury korygowanej", K::Text},
    {"Podmiot1K", "Sprzedawca na fakturze korygowanej", K::Group},
    {"Podmiot2K", "Nabywca na fakturze korygowanej", K::Group},
    {"P_15ZK", "Kwota zapłaty przed korektą", K::Amount},
    {"KursWalutyZK", "Kurs waluty przed korektą", K::Number, 2},
    // Advances.
    {"ZaliczkaCzesciowa", "Otrzymane płatności", K::Rows},
    {"P_6Z", "Data otrzymania zapłaty", K::Text},
    {"P_15Z", "Kwota płatności", K::Amount},
    {"KursWalutyZW", "Kurs waluty", K::Number, 2},
    {"FakturaZaliczkowa", "Faktury zaliczkowe", K::Rows},
    {"NrKSeFZN", "Wystawiona poza KSeF", K::Flag},
    {"NrFaZaliczkowej", "Numer", K::Text},
    {"NrKSeFFaZaliczkowej", "Numer KSeF", K::Text},
    {"WartoscZamowienia", "Wartość zamówienia lub umowy z podatkiem", K::Amount},
    // Additional descriptions.
    {"DodatkowyOpis", "Informacje dodatkowe", K::Rows},
    {"NrWiersza", "Pozycja", K::Text},
    {"Klucz", "Informacja", K::Text},
    {"Wartosc", "Treść", K::Text},
    // Invoice lines and order lines.
    {"NrWierszaFa", "Lp.", K::Text},
    {"NrWierszaZam", "Lp.", K::Text},
    {"UU_ID", "UU_ID", K::Text},
    {"UU_IDZ", "UU_ID", K::Text},
    {"P_6A", "Data dostawy", K::Text},
    {"P_7", "Nazwa towaru lub usługi", K::Text},
    {"P_7Z", "Nazwa towaru lub usługi", K::Text},
    {"Indeks", "Indeks", K::Text},
    {"IndeksZ", "Indeks", K::Text},
    {"GTIN", "GTIN", K::Text},
    {"GTINZ", "GTIN", K::Text},
    {"PKWiU", "PKWiU", K::Text},
    {"PKWiUZ", "PKWiU", K::Text},
    {"CN", "CN", K::Text},
    {"CNZ", "CN", K::Text},
    {"PKOB", "PKOB", K::Text},
    {"PKOBZ", "PKOB", K::Text},
    {"P_8A", "J.m.", K::Text},
    {"P_8AZ", "J.m.", K::Text},
    {"P_8B", "Ilość", K::Number, 2},
    {"P_8BZ", "Ilość", K::Number, 2},
    {"P_9A", "Cena jedn. netto", K::Number, 2},
    {"P_9AZ", "Cena jedn. netto", K::Number, 2},
    {"P_9B", "Cena jedn. brutto", K::Number, 2},
    {"P_10", "Opust lub obniżka", K::Number, 2},
    {"P_11", "Wartość netto", K::Amount},
    {"P_11NettoZ", "Wartość netto", K::Amount},
    {"P_11A", "Wartość brutto", K::Amount},
    {"P_11Vat", "Kwota VAT", K::Amount},
    {"P_11VatZ", "Kwota VAT", K::Amount},
    {"P_12", "Stawka VAT", K::VatRate},
    {"P_12Z", "Stawka VAT", K::VatRate},
    {"P_12_XII", "Stawka VAT (OSS)", K::Percent},
    {"P_12Z_XII", "Stawka VAT (OSS)", K::Percent},
    {"P_12_Zal_15", "Załącznik nr 15", K::Flag},
    {"P_12Z_Zal_15", "Załącznik nr 15", K::Flag},
    {"KwotaAkcyzy", "Akcyza", K::Amount},
    {"KwotaAkcyzyZ", "Akcyza", K::Amount},
    {"GTU", "GTU", K::Text},
    {"GTUZ", "GTU", K::Text},
    {"Procedura", "Procedura", K::Text},
    {"ProceduraZ", "Procedura", K::Text},
    {"KursWaluty", "Kurs", K::Number, 2},
    {"StanPrzed", "Stan przed korektą", K::Hidden},
    {"StanPrzedZ", "Stan przed korektą", K::Hidden},
    // Settlement.
    {"Obciazenia", "Obciążenia", K::Rows},
    {"Odliczenia", "Odliczenia", K::Rows},
    {"Kwota", "Kwota", K::Amount},
    {"Powod", "Powód", K::Text},
    {"SumaObciazen", "Suma obciążeń", K::Amount},
    {"SumaOdliczen", "Suma odliczeń", K::Amount},
    {"DoZaplaty", "Do zapłaty", K::Amount},
    {"DoRozliczenia", "Nadpłata do rozliczenia lub zwrotu", K::Amount},
    // Payment.
    {"Zaplacono", "Zapłacono", K::Flag},
    {"DataZaplaty", "Data zapłaty", K::Text},
    {"ZnacznikZaplatyCzesciowej", "Zapłata", K::Code},
    {"ZaplataCzesciowa", "Zapłaty częściowe", K::Rows},
    {"KwotaZaplatyCzesciowej", "Kwota", K::Amount},
    {"DataZaplatyCzesciowej", "Data zapłaty", K::Text},
    {"TerminPlatnosci", "Termin płatności", K::Bundle},
    {"Termin", "Termin płatności", K::Text},
    {"TerminOpis", "Termin płatności", K::Joined},
    {"FormaPlatnosci", "Forma płatności", K::Code},
    {"PlatnoscInna", "Inna forma płatności", K::Flag},
    {"OpisPlatnosci", "Forma płatności", K::Text},
    {"RachunekBankowy", "Rachunki bankowe", K::Rows},
    {"RachunekBankowyFaktora", "Rachunki faktora", K::Rows},
    {"NrRB", "Numer rachunku", K::Text},
    {"SWIFT", "SWIFT", K::Text},
    {"RachunekWlasnyBanku", "Rachunek własny banku", K::Code},
    {"NazwaBanku", "Bank", K::Text},
    {"OpisRachunku", "Opis rachunku", K::Text},
    {"Skonto", "Skonto", K::Bundle},
    {"WarunkiSkonta", "Warunki skonta", K::Text},
    {"WysokoscSkonta", "Wysokość skonta", K::Text},
    {"LinkDoPlatnosci", "Link do płatności", K::Text},
    {"IPKSeF", "Identyfikator płatności KSeF", K::Text},
    // Terms of the transaction.
    {"Umowy", "Umowy", K::Rows},
    {"DataUmowy", "Data umowy", K::Text},
    {"NrUmowy", "Numer umowy", K::Text},
    {"Zamowienia", "Zamówienia", K::Rows},
    {"DataZamowienia", "Data zamówienia", K::Text},
    {"NrZamowienia", "Numer zamówienia", K::Text},
    {"NrPartiiTowaru", "Numer partii towaru", K::Text},
    {"WarunkiDostawy", "Warunki dostawy", K::Text},
    {"KursUmowny", "Kurs umowny", K::Number, 2},
    {"WalutaUmowna", "Waluta umowna", K::Text},
    {"Transport", "Transport", K::Group},
    {"RodzajTransportu", "Rodzaj transportu", K::Code},
    {"TransportInny", "Inny rodzaj transportu", K::Flag},
    {"OpisInnegoTransportu", "Rodzaj transportu", K::Text},
    {"Przewoznik", "Przewoźnik", K::Group},
    {"AdresPrzewoznika", "Adres", K::Address},
    {"NrZleceniaTransportu", "Numer zlecenia transportu", K::Text},
    {"OpisLadunku", "Ładunek", K::Code},
    {"LadunekInny", "Inny ładunek", K::Flag},
    {"OpisInnegoLadunku", "Ładunek", K::Text},
    {"JednostkaOpakowania", "Jednostka opakowania", K::Text},
    {"DataGodzRozpTransportu", "Początek transportu", K::Text},
    {"DataGodzZakTransportu", "Koniec transportu", K::Text},
    {"WysylkaZ", "Wysyłka z", K::Address},
    {"WysylkaPrzez", "Wysyłka przez", K::Address},
    {"WysylkaDo", "Wysyłka do", K::Address},
    {"PodmiotPosredniczacy", "Dostawa przez podmiot pośredniczący (art. 22 ust. 2d ustawy)", K::Flag},
    // Footer.
    {"Informacje", "Informacje", K::Bundle},
    {"StopkaFaktury", "Stopka", K::Text},
    {"Rejestry", "Rejestry", K::Rows},
    {"PelnaNazwa", "Pełna nazwa", K::Text},
    {"KRS", "KRS", K::Text},
    {"REGON", "REGON", K::Text},
    {"BDO", "BDO", K::Text},
    // Attachment.
    {"MetaDane", "Dane", K::Bundle},
    {"ZKlucz", "Klucz", K::Text},
    {"ZWartosc", "Wartość", K::Text},
    {"TKlucz", "Klucz", K::Text},
    {"TWartosc", "Wartość", K::Text},
    {"Opis", "Opis", K::Text},
};

// The names of the codes of the schema's lists that the panes do not name.
struct CodeName
{
    const char *element;
    const char *code;
    const char *name;
};

const CodeName CodeNames[] = {
    {"TypKorekty", "1", "w dacie ujęcia faktury pierwotnej"},
    {"TypKorekty", "2", "w dacie wystawienia faktury korygującej"},
    {"TypKorekty", "3", "w innej dacie"},
    {"StatusInfoPodatnika", "1", "w stanie likwidacji"},
    {"StatusInfoPodatnika", "2", "w trakcie postępowania restrukturyzacyjnego"},
    {"StatusInfoPodatnika", "3", "w stanie upadłości"},
    {"StatusInfoPodatnika", "4", "przedsiębiorstwo w spadku"},
    {"RolaPU", "1", "Organ egzekucyjny"},
    {"RolaPU", "2", "Komornik sądowy"},
    {"RolaPU", "3", "Przedstawiciel podatkowy"},
    {"ZnacznikZaplatyCzesciowej", "1", "zapłacono w części"},
    {"ZnacznikZaplatyCzesciowej", "2", "zapłacono w całości, w dwóch lub więcej częściach"},
    {"P_42_5", "1", "tak"},
    {"P_42_5", "2", "nie"},
    {"RachunekWlasnyBanku", "1", "rozliczenia wierzytelności nabytych przez bank"},
    {"RachunekWlasnyBanku", "2", "pobieranie należności od nabywcy"},
    {"RachunekWlasnyBanku", "3", "gospodarka własna banku"},
    {"RodzajTransportu", "1", "morski"},
    {"RodzajTransportu", "2", "kolejowy"},
    {"RodzajTransportu", "3", "drogowy"},
    {"RodzajTransportu", "4", "lotniczy"},
    {"RodzajTransportu", "5", "przesyłka pocztowa"},
    {"RodzajTransportu", "7", "stałe instalacje przesyłowe"},
    {"RodzajTransportu", "8", "żegluga śródlądowa"},
    {"OpisLadunku", "1", "bańka"},
    {"OpisLadunku", "2", "beczka"},
    {"OpisLadunku", "3", "butla"},
    {"OpisLadunku", "4", "karton"},
    {"OpisLadunku", "5", "kanister"},
    {"OpisLadunku", "6", "klatka"},
    {"OpisLadunku", "7", "kontener"},
    {"OpisLadunku", "8", "kosz/koszyk"},
    {"OpisLadunku", "9", "łubianka"},
    {"OpisLadunku", "10", "opakowanie zbiorcze"},
    {"OpisLadunku", "11", "paczka"},
    {"OpisLadunku", "12", "pakiet"},
    {"OpisLadunku", "13", "paleta"},
    {"OpisLadunku", "14", "pojemnik"},
    {"OpisLadunku", "15", "pojemnik do ładunków masowych stałych"},
    {"OpisLadunku", "16", "pojemnik do ładunków masowych w postaci płynnej"},
    {"OpisLadunku", "17", "pudełko"},
    {"OpisLadunku", "18", "puszka"},
    {"OpisLadunku", "19", "skrzynia"},
    {"OpisLadunku", "20", "worek"},
};

const std::unordered_map<std::string_view, const ElementLabel *> &labelIndex()
{
    static const std::unordered_map<std::string_view, const ElementLabel *> index = [] {
        std::unordered_map<std::string_view, const ElementLabel *> map;
        for (const ElementLabel &label : Labels)
            map.emplace(label.element, &label);
        return map;
    }();
    return index;
}

const char *localName(const xmlNode *element)
{
    return reinterpret_cast<const char *>(element->name);
}

} // namespace

const ElementLabel *elementLabel(const char *localName)
{
    const auto found = labelIndex().find(localName);
    return found == labelIndex().end() ? nullptr : found->second;
}

QString labelOf(const char *name)
{
    const ElementLabel *entry = elementLabel(name);
    return QString::fromUtf8(entry ? entry->label : name);
}

QString labelOf(const xmlNode *element)
{
    return labelOf(localName(element));
}

QString labelIn(const InvoiceDocument &document, const xmlNode *element)
{
    const std::string_view name(localName(element));
    if (name == "KodKraju" && element->parent && xmlStrEqual(element->parent->name, BAD_CAST "DaneIdentyfikacyjne"))
        return QStringLiteral("Kraj nadania identyfikatora");
    if (name != "P_15" && name != "P_6" && name != "P_15ZK")
        return labelOf(element);
    // As the schema's documentation of each says.
    const QString kind = NodeText(FaPath(document, "n:Faktura/n:Fa/n:RodzajFaktury").selectFirst()).trimmed();
    const bool correction = kind.startsWith(QStringLiteral("KOR"));
    if (name == "P_15" && kind == u"ZAL")
        return QStringLiteral("Kwota otrzymanej zapłaty");
    if (name == "P_15" && kind == u"ROZ")
        return QStringLiteral("Kwota pozostała do zapłaty");
    if (name == "P_15" && correction)
        return QStringLiteral("Korekta kwoty należności");
    if (name == "P_6" && (kind == u"ZAL" || kind == u"KOR_ZAL"))
        return QStringLiteral("Data otrzymania zapłaty");
    if (name == "P_15ZK" && kind == u"KOR_ROZ")
        return QStringLiteral("Kwota pozostała do zapłaty przed korektą");
    return labelOf(element);
}

QString significantText(const Decimal &number, int minDecimals, const QString &separator)
{
    int decimals = number.decimals();
    while (decimals > minDecimals && number.rounded(decimals - 1, Rounding::HalfEven) == number)
        --decimals;
    return number.format(std::max(minDecimals, decimals), separator);
}

QString writtenNumber(const xmlNode *element, int minDecimals, const QString &separator)
{
    const Decimal number = numberOf(element);
    return number.format(std::max(minDecimals, number.decimals()), separator);
}

QString invoiceKindName(const QString &code)
{
    static const char *const Kinds[][2] = {
        {"VAT", "Faktura VAT"},
        {"KOR", "Faktura korygująca"},
        {"ZAL", "Faktura zaliczkowa"},
        {"ROZ", "Faktura rozliczeniowa"},
        {"UPR", "Faktura uproszczona"},
        {"KOR_ZAL", "Faktura korygująca zaliczkową"},
        {"KOR_ROZ", "Faktura korygująca rozliczeniową"},
    };
    for (const auto &kind : Kinds) {
        if (code == QLatin1String(kind[0]))
            return QString::fromUtf8(kind[1]);
    }
    return {};
}

QString invoiceTitle(const InvoiceDocument &document)
{
    const QString kind = NodeText(FaPath(document, "n:Faktura/n:Fa/n:RodzajFaktury").selectFirst()).trimmed();
    QString title = invoiceKindName(kind);
    if (title.isEmpty())
        return QStringLiteral("Faktura ") + kind;
    if (kind.startsWith(QStringLiteral("KOR")) && FaPath(document, "n:Faktura/n:Fa/n:OkresFaKorygowanej").selectFirst())
        title = QStringLiteral("Zbiorcza f") + title.mid(1);
    return title;
}

QString codeName(const char *name, const QString &code)
{
    const std::string_view element(name);
    const std::int32_t number = Decimal::read(code).toInt32(0);
    if (element == "Rola")
        return RoleName(number);
    if (element == "FormaPlatnosci")
        return paymentFormName(number).toLower();
    // The codes are numbers: "01" is the code 1.
    const Decimal value = Decimal::read(code);
    for (const CodeName &entry : CodeNames) {
        if (element == entry.element && !code.trimmed().isEmpty() && value == Decimal::read(QString::fromLatin1(entry.code)))
            return QString::fromUtf8(entry.name);
    }
    return {};
}

QString printedValue(const xmlNode *element, const QString &separator)
{
    const char *name = localName(element);
    const ElementLabel *entry = elementLabel(name);
    const ValueKind kind = entry ? entry->kind : ValueKind::Text;
    const QString text = NodeText(element).trimmed();
    switch (kind) {
    case ValueKind::Text:
        return text;
    case ValueKind::Amount:
        return numberOf(element).format(2, separator);
    case ValueKind::Number:
        return writtenNumber(element, entry->minDecimals, separator);
    case ValueKind::Percent:
        return writtenNumber(element, 0, separator) + u'%';
    case ValueKind::VatRate:
        return !text.isEmpty() && text.front().isDigit() && text.back().isDigit() ? text + u'%' : text;
    case ValueKind::Flag:
        return isYes(text) ? QStringLiteral("tak") : QString();
    case ValueKind::Hidden:
    case ValueKind::Bundle:
    case ValueKind::Group:
    case ValueKind::Rows:
    case ValueKind::Address:
    case ValueKind::Joined:
        return {};
    case ValueKind::Code: {
        const QString known = codeName(name, text);
        return known.isEmpty() ? text : known;
    }
    }
    return text;
}

} // namespace velkor::print
