#pragma once

#include <QByteArray>

namespace velkor {

// The SHA-256 digest (32 bytes) of `bytes`. Nettle's, which uses the
// processor's SHA instructions where it has them, when the build found it;
// Qt's otherwise. A register hashes every file it reads.
QByteArray sha256(const QByteArray &bytes);

} // namespace velkor
