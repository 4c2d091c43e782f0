#include "QrCode.h"

#include <qrencode.h>

#include <memory>

namespace velkor {

QrCode QrCode::encode(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    QrCode result;
    if (!code)
        return result;
    result.size = code->width;
    result.modules.resize(std::size_t(code->width) * std::size_t(code->width));
    for (std::size_t i = 0; i < result.modules.size(); ++i)
        result.modules[i] = code->data[i] & 1; // the lowest bit of each byte: dark
    return result;
}

} // namespace velkor
