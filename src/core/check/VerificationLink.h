#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace velkor {

// The verification link of an invoice (KOD I): the seller's NIP, the issue
// date and the SHA-256 of the invoice file's exact bytes, which the national
// system compares with the invoice it holds.
//   https://qr.ksef.mf.gov.pl/invoice/{NIP}/{DD-MM-YYYY}/{hash}
QString verificationLink(const QString &sellerNip, const QDate &issueDate, const QByteArray &fileBytes);

// SHA-256 of the bytes in Base64URL without padding.
QString sha256Base64Url(const QByteArray &bytes);

} // namespace velkor
