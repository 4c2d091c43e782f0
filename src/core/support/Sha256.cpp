#include "core/support/Sha256.h"

#if defined(VELKOR_HAVE_NETTLE)
#include <nettle/sha2.h>
#else
#include <QCryptographicHash>
#endif

namespace velkor {

QByteArray sha256(const QByteArray &bytes)
{
#if defined(VELKOR_HAVE_NETTLE)
    QByteArray digest(SHA256_DIGEST_SIZE, Qt::Uninitialized);
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, std::size_t(bytes.size()), reinterpret_cast<const uint8_t *>(bytes.constData()));
    sha256_digest(&context, SHA256_DIGEST_SIZE, reinterpret_cast<uint8_t *>(digest.data()));
    return digest;
#else
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
#endif
}

} // namespace velkor
