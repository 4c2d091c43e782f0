#include "Identifiers.h"

#include <algorithm>

namespace velkor {

namespace {

bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool allHexDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); });
}

int digit(QChar c)
{
    return c.unicode() - u'0';
}

} // namespace

QString nipProblem(const QString &nip)
{
    if (nip.size() != 10 || !allDigits(nip))
        return QStringLiteral("NIP ma mieć 10 cyfr");
    static const int weights[] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += weights[i] * digit(nip[i]);
    const int check = sum % 11;
    if (check == 10)
        return QStringLiteral("żadna cyfra kontrolna nie pasuje do pierwszych dziewięciu cyfr");
    if (check != digit(nip[9]))
        return QStringLiteral("cyfra kontrolna %1, oczekiwana %2").arg(nip[9]).arg(check);
    return {};
}

quint8 crc8(QByteArrayView bytes)
{
    quint8 crc = 0;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? quint8((crc << 1) ^ 0x07) : quint8(crc << 1);
    }
    return crc;
}

QString ksefNumberProblem(const QString &number)
{
    // 10 + 1 + 8 + 1 + 12 + 1 + 2. The issuer is named by a NIP or, as the
    // schema also admits, by M and nine digits or three letters and seven.
    const QStringView issuer = QStringView(number).left(10);
    const bool named = allDigits(issuer) || (issuer.startsWith(u'M') && allDigits(issuer.mid(1)))
                       || (issuer.size() == 10 && std::all_of(issuer.begin(), issuer.begin() + 3,
                                                              [](QChar c) { return c >= u'A' && c <= u'Z'; })
                           && allDigits(issuer.mid(3)));
    if (number.size() != 35 || number[10] != u'-' || number[19] != u'-' || number[32] != u'-'
        || !named || !allDigits(QStringView(number).mid(11, 8))
        || !allHexDigits(QStringView(number).mid(20, 12)) || !allHexDigits(QStringView(number).mid(33, 2)))
        return QStringLiteral("numer nie ma postaci NIP-RRRRMMDD-XXXXXXXXXXXX-KK (35 znaków)");
    if (!ksefNumberDate(number).isValid())
        return QStringLiteral("data %1 w numerze nie istnieje").arg(number.mid(11, 8));
    const QString expected = QStringLiteral("%1").arg(crc8(number.left(32).toLatin1()), 2, 16, QLatin1Char('0')).toUpper();
    if (number.right(2) != expected)
        return QStringLiteral("suma kontrolna %1, oczekiwana %2").arg(number.right(2), expected);
    return {};
}

QString ksefNumberNip(const QString &number)
{
    return number.left(10);
}

QString sellersKsefNumber(const QString &number, const QString &sellerNip)
{
    return ksefNumberProblem(number).isEmpty() && ksefNumberNip(number) == sellerNip ? number : QString();
}

QDate ksefNumberDate(const QString &number)
{
    return QDate::fromString(number.mid(11, 8), QStringLiteral("yyyyMMdd"));
}

QString polishAccountProblem(const QString &account, bool &checked)
{
    QString digits = account;
    digits.remove(u' ');
    if (digits.startsWith(QStringLiteral("PL"), Qt::CaseInsensitive))
        digits.remove(0, 2);
    checked = digits.size() == 26 && allDigits(digits);
    if (!checked)
        return {};
    // The IBAN check: the account with "PL" and the check digits moved to
    // the end (P = 25, L = 21) must leave 1 when divided by 97.
    const QString rearranged = digits.mid(2) + QStringLiteral("2521") + digits.left(2);
    int remainder = 0;
    for (const QChar c : rearranged)
        remainder = (remainder * 10 + digit(c)) % 97;
    if (remainder != 1)
        return QStringLiteral("cyfry kontrolne %1 nie pasują do numeru rachunku").arg(digits.left(2));
    return {};
}

} // namespace velkor
