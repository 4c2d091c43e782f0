#include "RevealRequest.h"

#include "core/support/Decimal.h"

#include <climits>

namespace velkor {

RevealRequest RevealRequest::parse(const QString &request)
{
    RevealRequest parsed;
    const qsizetype firstTab = request.indexOf(u'\t');
    if (firstTab < 0) {
        parsed.path = request;
        return parsed;
    }
    parsed.path = request.left(firstTab);
    const QStringView last = QStringView(request).mid(request.lastIndexOf(u'\t') + 1);
    int occurrence = INT_MAX; // a number too large for any tree
    try {
        occurrence = Decimal::read(last).toInt32(INT_MAX);
    } catch (...) {
    }
    parsed.occurrence = occurrence == 0 ? 1 : occurrence;
    return parsed;
}

QString RevealRequest::make(const QString &path, int occurrence)
{
    return path + u'\t' + QString::number(occurrence);
}

} // namespace velkor
