#include "CheckReport.h"

#include "core/support/ExtraString.h"

#include <QStringList>

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
    return count(Mark::Remark) + count(Mark::Error);
}

int CheckReport::count(Mark mark) const
{
    int count = 0;
    for (const CheckSection &section : sections) {
        count += int(std::count_if(section.findings.begin(), section.findings.end(),
                                   [mark](const Finding &finding) { return finding.mark == mark; }));
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

QString findingsCountText(int errors, int remarks)
{
    QStringList parts;
    if (errors > 0)
        parts << countOf(errors, "błąd", "błędy", "błędów");
    if (remarks > 0)
        parts << countOf(remarks, "uwaga", "uwagi", "uwag");
    return parts.isEmpty() ? QStringLiteral("bez uwag") : parts.join(QStringLiteral(", "));
}

QString checkStatusText(const CheckReport &report)
{
    return QStringLiteral("Kontrola: ") + findingsCountText(report.count(Mark::Error), report.count(Mark::Remark));
}

} // namespace velkor
