#include "ErrorReasons.h"

#include "core/support/PolishCount.h"

#include <libxml/xmlerror.h>

#include <QRegularExpression>
#include <QStringList>

#include <cstring>

namespace velkor {

namespace {

constexpr int ShownValue = 60;      // characters of a value quoted in a reason
constexpr int ShownMessage = 300;   // characters of libxml2's text on the second line
constexpr int ShownValues = 14;     // allowed values listed in full up to this many
constexpr int ExpectedListed = 10;  // libxml2 names at most this many expected elements

// The forms of the schema's patterns, for the types whose documentation says
// what they hold. A pattern is known by its text, or by its beginning for
// the long ones.
struct PatternForm
{
    const char *pattern;
    bool wholeText;
    const char *form;
};

const PatternForm PatternForms[] = {
    {"[1-9]((\\d[1-9])|([1-9]\\d))\\d{7}", true, "NIP to 10 cyfr bez kresek i spacji, np. 6891152920"},
    {"[1-9]((\\d[1-9])|([1-9]\\d))\\d{7}-\\d{5}", true, "identyfikator wewnętrzny to NIP, kreska i 5 cyfr"},
    {"([1-9]((\\d[1-9])|([1-9]\\d))\\d{7}|M\\d{9}|[A-Z]{3}\\d{7})-", false,
     "numer KSeF to NIP (10 cyfr), data RRRRMMDD, 12 znaków szesnastkowych i 2 znaki sumy kontrolnej, "
     "rozdzielone kreskami, np. 6891152920-20260302-0A1B2C3D4E5F-41"},
    {"-?([1-9]\\d{0,15}|0)(\\.\\d{1,2})?", true, "kwota to liczba z kropką dziesiętną i najwyżej 2 cyframi po kropce, np. 1234.50"},
    {"-?([1-9]\\d{0,13}|0)(\\.\\d{1,8})?", true, "kwota to liczba z kropką dziesiętną i najwyżej 8 cyframi po kropce"},
    {"-?([1-9]\\d{0,15}|0)(\\.\\d{1,6})?", true, "ilość to liczba z kropką dziesiętną i najwyżej 6 cyframi po kropce"},
    {"((\\d{4})-(\\d{2})-(\\d{2}))", true, "data ma postać RRRR-MM-DD, np. 2026-03-02"},
    {"(.)+@(.)+", true, "adres e-mail ma postać nazwa@domena"},
    {"(\\d|[A-Z]|\\+|\\*){1,12}", true, "numer VAT UE to do 12 wielkich liter i cyfr, bez kodu kraju"},
    {"[A-Z]{6}[A-Z0-9]{2}([A-Z0-9]{3}){0,1}", true, "kod SWIFT to 8 albo 11 wielkich liter i cyfr"},
    {"(https?)://", false, "link to adres internetowy zaczynający się od http:// albo https://"},
    {"[0-9]{3}[a-zA-Z0-9]{10}", true, "identyfikator płatności KSeF to 3 cyfry i 10 liter lub cyfr"},
    {"\\d{11}", true, "PESEL to 11 cyfr"},
    {"\\d{10}", true, "numer KRS to 10 cyfr"},
};

// What the schema's simple types hold, for a value that is none.
struct TypeForm
{
    const char *types; // local names, separated by spaces
    const char *form;
};

const TypeForm TypeForms[] = {
    {"TKwotowy TKwotowy2 TKwota2 TKwota2Nieujemna TRzeczywisty", "kwotą: liczbą z kropką dziesiętną, bez spacji, np. 1234.50"},
    {"TIlosci TProcentowy decimal", "liczbą z kropką dziesiętną, bez spacji, np. 2.5"},
    {"TNaturalny", "liczbą naturalną: 1, 2, 3…"},
    {"integer int byte nonNegativeInteger TCalkowity TKwotaC TKwotaCNieujemna TWybor1 TWybor1_2 TWybor1_3 TFormaPlatnosci "
     "TLadunek TRachunekWlasnyBanku TStatusInfoPodatnika TRolaPodmiotu3 TRolaPodmiotuUpowaznionego TTypKorekty "
     "TRodzajTransportu JST GV",
     "liczbą całkowitą"},
    {"TData TDataT TDataU date", "poprawną datą w postaci RRRR-MM-DD, np. 2026-03-02"},
    {"TDataCzas dateTime DataWytworzeniaFa", "poprawną datą z godziną w postaci RRRR-MM-DDTGG:MM:SS, np. 2026-03-02T09:15:00Z"},
    {"TRok gYear", "rokiem w postaci RRRR"},
    {"TNrREGON", "numerem REGON: 9 albo 14 cyfr"},
};

// Texts that are no well-formed XML, by libxml2's error code; a code may
// have entries for several texts, told apart by a fragment of libxml2's
// own. %1 and %2 are its particulars. `where` adds the element being read.
struct ParseForm
{
    int code;
    const char *fragment;
    bool where;
    const char *text;
};

const ParseForm ParseForms[] = {
    {XML_ERR_DOCUMENT_EMPTY, nullptr, false, "To nie jest dokument XML: nie zaczyna się znacznikiem „<”"},
    {XML_ERR_DOCUMENT_END, nullptr, false, "Po zamknięciu elementu głównego dokument zawiera jeszcze inną treść"},
    {XML_ERR_EXTRA_CONTENT, nullptr, false, "Po zamknięciu elementu głównego dokument zawiera jeszcze inną treść"},
    {XML_ERR_INVALID_CHAR, "UTF-8", true, "Tekst nie jest zapisany w UTF-8 ani w kodowaniu, które podaje deklaracja XML"},
    {XML_ERR_INVALID_CHAR, nullptr, true, "Dokument zawiera znak niedozwolony w XML (na przykład znak sterujący)"},
    {XML_ERR_INVALID_CHARREF, nullptr, true, "Dokument zawiera odwołanie do znaku niedozwolonego w XML"},
    {XML_ERR_ENTITYREF_SEMICOL_MISSING, nullptr, true,
     "Znak „&” zaczyna odwołanie do encji, które nie kończy się średnikiem (sam znak „&” zapisuje się jako „&amp;”)"},
    {XML_ERR_UNDECLARED_ENTITY, nullptr, true, "Dokument odwołuje się do nieznanej encji „&%1;”"},
    {XML_ERR_UNKNOWN_ENCODING, nullptr, false, "Deklaracja XML podaje nieznane kodowanie znaków"},
    {XML_ERR_UNSUPPORTED_ENCODING, nullptr, false, "Kodowanie „%1” podane w deklaracji XML nie jest obsługiwane"},
    {XML_ERR_INVALID_ENCODING, nullptr, false, "Kodowanie podane w deklaracji XML nie zgadza się z zapisem tekstu"},
    {XML_ERR_STRING_NOT_STARTED, nullptr, true, "Wartość atrybutu nie jest ujęta w cudzysłów ani w apostrofy"},
    {XML_ERR_STRING_NOT_CLOSED, nullptr, true, "Wartość atrybutu nie jest ujęta w cudzysłów ani w apostrofy"},
    {XML_ERR_ATTRIBUTE_NOT_STARTED, nullptr, true, "Wartość atrybutu nie jest ujęta w cudzysłów ani w apostrofy"},
    {XML_ERR_LT_IN_ATTRIBUTE, nullptr, true, "Wartość atrybutu zawiera niedozwolony znak „<”"},
    {XML_ERR_ATTRIBUTE_WITHOUT_VALUE, nullptr, true, "Atrybut „%1” nie ma wartości"},
    {XML_ERR_ATTRIBUTE_REDEFINED, nullptr, true, "Atrybut „%1” występuje w jednym znaczniku więcej niż raz"},
    {XML_ERR_COMMENT_NOT_FINISHED, nullptr, false, "Komentarz „<!--” nie jest zamknięty znakami „-->”"},
    {XML_ERR_MISPLACED_CDATA_END, nullptr, true, "Tekst zawiera niedozwolone znaki „]]>”"},
    {XML_ERR_RESERVED_XML_NAME, nullptr, false, "Deklaracja XML „<?xml …?>” może stać tylko na samym początku dokumentu"},
    {XML_ERR_NAME_REQUIRED, nullptr, true, "Znacznik zawiera niepoprawną nazwę elementu"},
    {XML_ERR_GT_REQUIRED, nullptr, true, "Znacznik nie jest poprawnie zamknięty znakiem „>”"},
    {XML_ERR_LTSLASH_REQUIRED, nullptr, true, "Brak znacznika zamykającego element"},
    {XML_ERR_TAG_NAME_MISMATCH, nullptr, false, "Znacznik zamykający </%2> nie pasuje do otwartego elementu %1"},
    {XML_ERR_TAG_NOT_FINISHED, nullptr, false, "Tekst kończy się przed zamknięciem elementu %1: dokument jest niepełny"},
    {XML_ERR_ENTITY_LOOP, nullptr, false, "Encje zdefiniowane w dokumencie odwołują się do siebie w pętli"},
    {XML_ERR_INTERNAL_ERROR, "depth", false, "Elementy dokumentu są zagnieżdżone zbyt głęboko"},
    {XML_ERR_NO_MEMORY, "huge text", true, "Tekst jest zbyt długi, by go odczytać"},
    {XML_ERR_VERSION_MISSING, nullptr, false, "Deklaracja XML na początku dokumentu jest niepoprawna"},
    {XML_ERR_XMLDECL_NOT_FINISHED, nullptr, false, "Deklaracja XML na początku dokumentu jest niepoprawna"},
    {XML_NS_ERR_UNDEFINED_NAMESPACE, nullptr, false, "Prefiks przestrzeni nazw „%1” elementu %2 nie jest zadeklarowany"},
    {XML_I18N_CONV_FAILED, nullptr, false, "Znaków tekstu nie da się odczytać w jego kodowaniu"},
};

QString quoted(QString value)
{
    for (QChar &c : value) {
        if (c.unicode() < 0x20)
            c = u' ';
    }
    if (value.size() > ShownValue)
        value = value.left(ShownValue - 1) + u'…';
    return QStringLiteral("„") + value + QStringLiteral("”");
}

// A name as libxml2 writes it, "{namespace}Name", without its namespace.
QString localName(const QString &name)
{
    return name.mid(name.lastIndexOf(u'}') + 1);
}

// The text between `before` and the next `after` in libxml2's message.
QString between(const QString &message, const QString &before, const QString &after)
{
    const qsizetype start = message.indexOf(before);
    if (start < 0)
        return {};
    const qsizetype begin = start + before.size();
    const qsizetype end = message.indexOf(after, begin);
    return end < 0 ? QString() : message.mid(begin, end - begin);
}

// "Expected is ( {ns}A, {ns}B )": the names, comma separated.
QString expectedNames(const QString &message)
{
    QStringList names;
    for (const QString &name : between(message, QStringLiteral("( "), QStringLiteral(" )")).split(QStringLiteral(", "), Qt::SkipEmptyParts))
        names << localName(name);
    if (names.size() >= ExpectedListed)
        names << QStringLiteral("…");
    return names.join(QStringLiteral(", "));
}

// The allowed values of "{'A', 'B'}", as a sentence.
QString allowedValues(const QString &message)
{
    static const QRegularExpression quotedValue(QStringLiteral("'([^']*)'"));
    QStringList values;
    QRegularExpressionMatchIterator match = quotedValue.globalMatch(message.mid(message.indexOf(u'{', message.indexOf(QLatin1String("set")))));
    while (match.hasNext())
        values << match.next().captured(1);
    if (values.isEmpty())
        return {};
    if (values.size() == 1)
        return QStringLiteral(" Dozwolona jest tylko wartość %1.").arg(values.first());
    if (values.size() <= ShownValues)
        return QStringLiteral(" Dozwolone wartości: %1.").arg(values.join(QStringLiteral(", ")));
    return QStringLiteral(" Schemat dopuszcza %1, między innymi: %2, …")
        .arg(countOf(values.size(), "wartość", "wartości", "wartości"), values.mid(0, ShownValues / 2).join(QStringLiteral(", ")));
}

QString patternForm(const QString &pattern)
{
    for (const PatternForm &known : PatternForms) {
        const QString text = QString::fromUtf8(known.pattern);
        if (known.wholeText ? pattern == text : pattern.startsWith(text))
            return QStringLiteral(": ") + QString::fromUtf8(known.form);
    }
    return {};
}

// What a type holds; `type` is its local name, or the element's for a type
// declared inside the element.
QString typeForm(const QString &type)
{
    for (const TypeForm &known : TypeForms) {
        if (QString::fromUtf8(known.types).split(u' ').contains(type))
            return QString::fromUtf8(known.form);
    }
    return QStringLiteral("poprawną wartością dla tego elementu");
}

bool isDate(const QString &value)
{
    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}"));
    return date.match(value).hasMatch();
}

QString characters(const QString &count)
{
    return countOf(count.toLongLong(), "znak", "znaki", "znaków");
}

// A validity error, told as a sentence about the element (or its attribute).
QString schemaReason(const XmlError &error)
{
    const QString &message = error.message;
    const QString element = error.path.isEmpty()
                                ? localName(between(message, QStringLiteral("Element '"), QStringLiteral("'")))
                                : error.path;
    // "Element '{ns}Name', attribute 'name': ..." for an attribute's error.
    const QString head = message.left(message.indexOf(QLatin1String("': ")) + 1);
    const QString attribute = between(head, QStringLiteral("attribute '"), QStringLiteral("'"));
    const QString place = attribute.isEmpty() ? QStringLiteral("w elemencie %1").arg(element)
                                              : QStringLiteral("w atrybucie %1 elementu %2").arg(attribute, element);
    const QString value = QStringLiteral("Wartość %1 %2").arg(quoted(error.str1), place);
    const QString content = QStringLiteral("Wartość %1 %2").arg(quoted(error.content), place);
    const QString limit = error.str2;
    switch (error.code) {
    case XML_SCHEMAV_CVC_PATTERN_VALID:
        return value + QStringLiteral(" nie ma wymaganej postaci") + patternForm(limit) + u'.';
    case XML_SCHEMAV_CVC_ENUMERATION_VALID:
        return value + QStringLiteral(" nie jest dozwolona.") + allowedValues(message);
    case XML_SCHEMAV_CVC_LENGTH_VALID:
        return QStringLiteral("%1 ma %2, a musi mieć dokładnie %3.").arg(content, characters(error.str1), limit);
    case XML_SCHEMAV_CVC_MINLENGTH_VALID:
        if (error.str1 == u"0")
            return QStringLiteral("Element %1 jest pusty, a musi mieć co najmniej %2.").arg(element, characters(limit));
        return QStringLiteral("%1 ma %2, a musi mieć co najmniej %3.").arg(content, characters(error.str1), limit);
    case XML_SCHEMAV_CVC_MAXLENGTH_VALID:
        return QStringLiteral("%1 ma %2, a może mieć najwyżej %3.").arg(content, characters(error.str1), limit);
    case XML_SCHEMAV_CVC_MININCLUSIVE_VALID:
        return value + (isDate(limit) ? QStringLiteral(" jest wcześniejsza niż najwcześniejsza dozwolona data %1.")
                                      : QStringLiteral(" jest mniejsza niż najmniejsza dozwolona wartość %1.")).arg(limit);
    case XML_SCHEMAV_CVC_MAXINCLUSIVE_VALID:
        return value + (isDate(limit) ? QStringLiteral(" jest późniejsza niż najpóźniejsza dozwolona data %1.")
                                      : QStringLiteral(" jest większa niż największa dozwolona wartość %1.")).arg(limit);
    case XML_SCHEMAV_CVC_MINEXCLUSIVE_VALID:
        return value + QStringLiteral(" musi być większa niż %1.").arg(limit);
    case XML_SCHEMAV_CVC_MAXEXCLUSIVE_VALID:
        return value + QStringLiteral(" musi być mniejsza niż %1.").arg(limit);
    case XML_SCHEMAV_CVC_TOTALDIGITS_VALID:
        return value + QStringLiteral(" ma za dużo cyfr: dozwolone najwyżej %1.").arg(limit);
    case XML_SCHEMAV_CVC_FRACTIONDIGITS_VALID:
        return value + QStringLiteral(" ma za dużo cyfr po kropce dziesiętnej: dozwolone najwyżej %1.").arg(limit);
    case XML_SCHEMAV_CVC_DATATYPE_VALID_1_2_1:
    case XML_SCHEMAV_CVC_DATATYPE_VALID_1_2_2:
    case XML_SCHEMAV_CVC_DATATYPE_VALID_1_2_3: {
        QString type = localName(between(message, QStringLiteral(" type '"), QStringLiteral("'")));
        if (type.isEmpty())
            type = element.section(QStringLiteral(" / "), -1);
        return value + QStringLiteral(" nie jest ") + typeForm(type) + u'.';
    }
    case XML_SCHEMAV_ELEMENT_CONTENT: {
        const QString expected = expectedNames(message);
        const bool several = message.contains(QLatin1String("one of"));
        const QString end = expected.endsWith(u'…') ? QString() : QStringLiteral(".");
        if (message.contains(QLatin1String("Missing child"))) {
            return QStringLiteral("W elemencie %1 brakuje %2: %3")
                       .arg(element, several ? QStringLiteral("jednego z wymaganych elementów") : QStringLiteral("wymaganego elementu"),
                            expected)
                   + end;
        }
        if (expected.isEmpty())
            return QStringLiteral("Element %1 nie może stać w tym miejscu: po poprzednich elementach nie jest tu "
                                  "dozwolony żaden inny.").arg(element);
        return QStringLiteral("Element %1 nie może stać w tym miejscu; oczekiwano %2: %3")
                   .arg(element, several ? QStringLiteral("jednego z elementów") : QStringLiteral("elementu"), expected)
               + end;
    }
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_2_3:
        return QStringLiteral("Element %1 może zawierać tylko inne elementy, a zawiera tekst.").arg(element);
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_2_2:
    case XML_SCHEMAV_CVC_TYPE_3_1_2:
        return QStringLiteral("Element %1 może zawierać tylko wartość, a zawiera inne elementy.").arg(element);
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_2_1:
        return QStringLiteral("Element %1 musi być pusty.").arg(element);
    case XML_SCHEMAV_CVC_ELT_1: {
        const QString space = between(message, QStringLiteral("'{"), QStringLiteral("}"));
        return QStringLiteral("Dokument nie jest fakturą FA(3): schemat nie zna jego elementu głównego %1 %2.")
            .arg(element, space.isEmpty() ? QStringLiteral("bez przestrzeni nazw")
                                          : QStringLiteral("z przestrzeni nazw %1").arg(space));
    }
    case XML_SCHEMAV_CVC_AU:
    case XML_SCHEMAV_CVC_ELT_5_2_2_2_1:
    case XML_SCHEMAV_CVC_ELT_5_2_2_2_2:
        return value + QStringLiteral(" jest inna niż wymagana przez schemat: %1.").arg(quoted(limit));
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_4:
        return QStringLiteral("W elemencie %1 brakuje wymaganego atrybutu %2.").arg(element, error.str1);
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1:
    case XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_2:
    case XML_SCHEMAV_CVC_TYPE_3_1_1:
        return QStringLiteral("Element %1 ma atrybut %2, którego schemat nie przewiduje.").arg(element, attribute);
    case XML_SCHEMAV_CVC_IDC:
        return QStringLiteral("Wartość %1 %2 powtarza się, a musi być niepowtarzalna.")
            .arg(quoted(between(message, QStringLiteral("['"), QStringLiteral("']"))), place);
    default:
        return QStringLiteral("Element %1 nie spełnia wymagań schematu FA(3).").arg(element);
    }
}

// A text that is no well-formed XML.
QString parseReason(const XmlError &error)
{
    for (const ParseForm &known : ParseForms) {
        if (known.code != error.code || (known.fragment && !error.message.contains(QLatin1String(known.fragment))))
            continue;
        QString text = QString::fromUtf8(known.text);
        if (text.contains(QLatin1String("%1")))
            text = text.arg(error.str1);
        if (text.contains(QLatin1String("%2")))
            text = text.arg(error.str2);
        if (known.where && !error.path.isEmpty())
            text += QStringLiteral(", w elemencie ") + error.path;
        return text + u'.';
    }
    QString text = QStringLiteral("Tekst nie jest poprawnym dokumentem XML");
    if (!error.path.isEmpty())
        text += QStringLiteral(", błąd w elemencie ") + error.path;
    return text + u'.';
}

} // namespace

QString polishReason(const XmlError &error)
{
    return error.domain == XML_FROM_SCHEMASV ? schemaReason(error) : parseReason(error);
}

QString loadFailureReason(const XmlError &error)
{
    QString support = error.message.simplified();
    if (support.size() > ShownMessage)
        support = support.left(ShownMessage - 1) + u'…';
    return polishReason(error) + QStringLiteral("\r\nKomunikat parsera: ") + support;
}

} // namespace velkor
