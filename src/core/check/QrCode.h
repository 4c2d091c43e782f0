#pragma once

#include <QString>

#include <vector>

namespace velkor {

// The modules of a QR code (ISO/IEC 18004), drawn by libqrencode at error
// correction level M: size x size, dark where true, row by row. Empty when
// the text cannot be encoded.
struct QrCode
{
    int size = 0;
    std::vector<bool> modules;

    bool isDark(int x, int y) const { return modules[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
    static QrCode encode(const QString &text);
};

} // namespace velkor
