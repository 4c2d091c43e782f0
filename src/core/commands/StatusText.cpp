#include "StatusText.h"

#include "core/support/TrimSpaces.h"

namespace velkor {

QString listRowStatus(StatusStyle style, const QStringList &headers, const ListRow &row)
{
    if (style == StatusStyle::FieldValue)
        return row.cell(0) + QStringLiteral(": ") + row.cell(1);
    QString text = headers.value(0) + QStringLiteral(": ") + row.cell(0);
    for (int column = 1; column < headers.size(); ++column) {
        const QString cell = row.cell(column);
        if (trimSpaces(cell).isEmpty())
            continue;
        text += QStringLiteral("   ") + headers[column] + QStringLiteral(": ") + cell;
    }
    return text;
}

} // namespace velkor
