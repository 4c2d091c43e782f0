#pragma once

#include "core/window/Layout.h"

#include <QRect>

#include <cmath>

namespace velkor {

// Converts between twips (1440 per inch) and pixels at a screen's logical
// resolution: 15 twips per pixel at 96 dpi.
class Twips
{
public:
    explicit Twips(double logicalDpi = 96.0) : m_dpi(logicalDpi > 0 ? logicalDpi : 96.0) {}

    int toPixels(int twips) const { return int(std::lround(twips * m_dpi / 1440.0)); }
    int fromPixels(int pixels) const { return int(std::lround(pixels * 1440.0 / m_dpi)); }

    // Edges are converted, not sizes, so rectangles that meet in twips meet
    // in pixels too.
    QRect toPixels(const TwipRect &rect) const
    {
        const int left = toPixels(rect.left);
        const int top = toPixels(rect.top);
        return QRect(left, top, toPixels(rect.right()) - left, toPixels(rect.bottom()) - top);
    }

    TwipRect fromPixels(const QRect &rect) const
    {
        const int left = fromPixels(rect.x());
        const int top = fromPixels(rect.y());
        return {left, top, fromPixels(rect.x() + rect.width()) - left, fromPixels(rect.y() + rect.height()) - top};
    }

    double dpi() const { return m_dpi; }

private:
    double m_dpi;
};

} // namespace velkor
