#pragma once

#include <QDate>
#include <QString>

namespace velkor {

// Checks of the numbers an invoice carries. Each returns an empty text when
// the number passes, else a short Polish reason.

// A Polish tax number: ten digits whose last is the check digit, the sum of
// the first nine weighted 6 5 7 2 3 4 5 6 7, modulo 11 (10 is never valid).
QString nipProblem(const QString &nip);

// A number of the national e-invoice system, as the system assigns it:
// NIP-YYYYMMDD-XXXXXXXXXXXX-CC, 35 characters (in place of the NIP also M
// and nine digits, or three letters and seven), twelve hexadecimal digits and
// a check of two: the CRC-8 (polynomial 0x07, initial value 0) of the first
// 32 characters. Only the form and the check digits; see the caller for the
// NIP and the date.
QString ksefNumberProblem(const QString &number);
// The NIP and the date a well-formed KSeF number names.
QString ksefNumberNip(const QString &number);
QDate ksefNumberDate(const QString &number);
// `number` when it is a well-formed KSeF number, its check sum right and
// its NIP `sellerNip`; else an empty text.
QString sellersKsefNumber(const QString &number, const QString &sellerNip);
// The CRC-8 above, of any bytes.
quint8 crc8(QByteArrayView bytes);

// A Polish account number (NRB): 26 digits, with or without "PL" and
// blanks, whose first two digits are the IBAN check digits (modulo 97).
// `checked` is false for other numbers, which are not checked.
QString polishAccountProblem(const QString &account, bool &checked);

} // namespace velkor
