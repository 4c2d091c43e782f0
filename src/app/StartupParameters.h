#pragma once

#include <QString>

namespace velkor {

// The KSeF number handed over in a start-up parameter string: pairs separated
// by "«»", key and value by "¤¤"; the last pair whose key is "ksef" (any
// letter case) wins. Empty when there is none.
QString ksefNumberFromParameters(const QString &parameters);

// The window title after a start-up hand-over.
QString startupTitle(const QString &ksefNumber);

// The parameter string from the program's arguments: one argument as it
// stands, several joined with single spaces.
QString parameterStringFromArguments(const QStringList &arguments);

} // namespace velkor
