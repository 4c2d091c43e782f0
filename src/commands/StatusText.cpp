#include "StatusText.h"

namespace velkor {

namespace {

bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

} // namespace

QString listRowStatus(StatusStyle style, const QStringList &headers, const ListRow &row)
{
    if (style == StatusStyle::FieldValue)
        return row.cell(0) + QStringLiteral(": ") + row.cell(1);
    QString text = headers.value(0) + QStringLiteral(": ") + row.cell(0);
    for (int column = 1; column < headers.size(); ++column) {
        const QString cell = row.cell(column);
        if (isBlank(cell))
            continue;
        text += QStringLiteral("   ") + headers[column] + QStringLiteral(": ") + cell;
    }
    return text;
}

} // namespace velkor
