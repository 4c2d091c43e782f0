#include "TableText.h"

#include "core/support/ExtraString.h"

namespace velkor {

QString tableText(const QStringList &headers, const std::vector<ListRow> &allRows, const QList<int> &rows,
                  bool withHeader)
{
    static const QString Tab = QStringLiteral("\t");
    ExtraString builder;
    bool lineBreakNeeded = false;
    if (withHeader && !headers.isEmpty()) {
        builder.Add(headers[0]);
        for (qsizetype column = 1; column < headers.size(); ++column)
            builder.Add(Tab + headers[column]);
        lineBreakNeeded = true;
    }
    for (int index : rows) {
        const ListRow &row = allRows[std::size_t(index)];
        builder.Add(row.cell(0), lineBreakNeeded);
        for (int column = 1; column < headers.size(); ++column)
            builder.Add(Tab + QString(row.cell(column)).remove(QChar(0x00A0)));
        lineBreakNeeded = true;
    }
    return builder.Text();
}

} // namespace velkor
