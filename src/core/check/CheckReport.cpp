#include "CheckReport.h"

#include "core/support/ExtraString.h"

#include <algorithm>

namespace velkor {

QString markText(Mark mark)
{
    switch (mark) {
    case Mark::Ok: return QStringLiteral("OK");
    case Mark::Remark: return QStringLiteral("UWAGA");
    case Mark::Error: return QStringLiteral("BŁĄD");
    case Mark::Info: break;
    }
    return QStringLiteral("INFO");
}

int CheckReport::remarkCount() const
{
    int count = 0;
    for (const CheckSection &section : sections) {
        count += int(std::count_if(section.findings.begin(), section.findings.end(), [](const Finding &finding) {
            return finding.mark == Mark::Remark || finding.mark == Mark::Error;
        }));
    }
    return count;
}

QString CheckReport::text() const
{
    ExtraString builder;
    builder.Adn(title);
    for (const CheckSection &section : sections) {
        builder.Adn(QString());
        builder.Adn(section.title);
        for (const Finding &finding : section.findings)
            builder.Adn(markText(finding.mark).leftJustified(6) + finding.text);
    }
    return builder.Text();
}

QString countOf(qint64 count, const char *one, const char *few, const char *many)
{
    const qint64 lastTwo = count % 100;
    const qint64 last = count % 10;
    const char *noun = count == 1 ? one : (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) ? few : many;
    return QString::number(count) + u' ' + QString::fromUtf8(noun);
}

QString checkStatusText(int remarks)
{
    if (remarks == 0)
        return QStringLiteral("Kontrola: bez uwag");
    return QStringLiteral("Kontrola: ") + countOf(remarks, "uwaga", "uwagi", "uwag");
}

} // namespace velkor
