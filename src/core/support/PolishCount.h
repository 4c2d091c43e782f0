#pragma once

#include <QString>

namespace velkor {

// A count with the Polish form of its noun: 1 `one`, 2-4 (not 12-14) `few`,
// otherwise `many`: "1 uwaga", "3 uwagi", "5 uwag", "12 uwag", "22 uwagi".
inline QString countOf(qint64 count, const char *one, const char *few, const char *many)
{
    const qint64 lastTwo = count % 100;
    const qint64 last = count % 10;
    const char *noun = count == 1 ? one : (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) ? few : many;
    return QString::number(count) + u' ' + QString::fromUtf8(noun);
}

} // namespace velkor
