#pragma once

#include "core/check/QrCode.h"

#include <QImage>

namespace velkor {

// A QR code as a black-on-white image, `modulePixels` pixels a module, with
// the quiet zone of four modules around it that readers need.
QImage qrImage(const QrCode &code, int modulePixels);

} // namespace velkor
