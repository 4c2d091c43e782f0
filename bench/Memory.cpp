// Process memory figures for the benchmark: read from /proc on Linux, the
// one platform the benchmark is run on. Kept apart from everything else.
#include "Measure.h"

#include <QFile>
#include <QString>

#if defined(__linux__)
#include <malloc.h>
#endif

namespace velkor::bench {

namespace {

std::size_t statusField(const char *name)
{
#if defined(__linux__)
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name)) {
            const QByteArray value = line.mid(qsizetype(qstrlen(name))).trimmed();
            return std::size_t(value.split(' ').value(0).toULongLong()) * 1024;
        }
    }
#else
    Q_UNUSED(name)
#endif
    return 0;
}

} // namespace

std::size_t residentBytes()
{
    return statusField("VmRSS:");
}

std::size_t peakResidentBytes()
{
    return statusField("VmHWM:");
}

void resetPeakResident()
{
#if defined(__linux__)
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
#endif
}

} // namespace velkor::bench
