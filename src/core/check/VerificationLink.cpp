#include "VerificationLink.h"

#include "core/support/Sha256.h"

namespace velkor {

QString sha256Base64Url(const QByteArray &bytes)
{
    return QString::fromLatin1(sha256(bytes)
                                   .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString verificationLink(const QString &sellerNip, const QDate &issueDate, const QByteArray &fileBytes)
{
    return QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/%1/%2/%3")
        .arg(sellerNip, issueDate.toString(QStringLiteral("dd-MM-yyyy")), sha256Base64Url(fileBytes));
}

} // namespace velkor
