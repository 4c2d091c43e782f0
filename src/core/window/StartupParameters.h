#pragma once

#include <QString>

namespace velkor {

// The KSeF number handed over in a start-up parameter string: pairs separated
// by "«»", key and value by "¤¤"; the last pair whose key is "ksef" (any
// letter case) wins. Empty when there is none.
QString ksefNumberFromParameters(const QString &parameters);

// The window title after a start-up hand-over.
QString startupTitle(const QString &ksefNumber);

// The file to open when the whole parameter string is an absolute path, as a
// file manager starts the program, whether or not a file is there (opening
// it reports what is wrong); empty otherwise, and then the string is a
// calling program's hand-over. A string holding "¤¤" or "«»" is always a
// hand-over, and a relative name never names a file: what the working
// folder holds must not swallow a hand-over.
QString startupFile(const QString &parameters);

// The folder or ZIP package to open in the register when the whole parameter
// string is its absolute path (holding no "¤¤" and no "«»", which only a
// calling program's hand-over has); empty otherwise.
QString startupRegisterPath(const QString &parameters);

// The parameter string from the program's arguments: one argument as it
// stands, several joined with single spaces.
QString parameterStringFromArguments(const QStringList &arguments);

} // namespace velkor
