#include "core/register/LocalTimeZone.h"

#include <QByteArray>

namespace velkor {

void nameLocalTimeZoneOnce()
{
#if defined(Q_OS_LINUX)
    // Qt's time zone code knows this value as "the system's zone".
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
#endif
}

} // namespace velkor
