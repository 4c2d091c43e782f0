#include "QrImage.h"

#include <QPainter>

namespace velkor {

namespace {
constexpr int QuietZone = 4;
}

QImage qrImage(const QrCode &code, int modulePixels)
{
    if (code.size == 0 || modulePixels <= 0)
        return {};
    const int side = (code.size + 2 * QuietZone) * modulePixels;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code.size; ++y) {
        for (int x = 0; x < code.size; ++x) {
            if (code.isDark(x, y))
                painter.fillRect((x + QuietZone) * modulePixels, (y + QuietZone) * modulePixels, modulePixels,
                                 modulePixels, Qt::black);
        }
    }
    return image;
}

} // namespace velkor
