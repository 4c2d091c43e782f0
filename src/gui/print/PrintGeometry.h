#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <array>

class QPaintDevice;

namespace velkor::print {

// The fonts of the printout, by their part.
enum class PrintFont { Body, Bold, Small, SmallBold, Title, Number, SectionTitle, Count };

// The geometry of a sheet of the device: its size and the printed area.
class PageGeometry
{
public:
    explicit PageGeometry(const QPaintDevice &device);
    double points(double pt) const { return pt * m_unitsPerPoint; }
    double millimetres(double mm) const { return points(mm * 72.0 / 25.4); }
    QRectF content() const { return m_content; } // the area above the footer
    QRectF footer() const { return m_footer; }

private:
    double m_unitsPerPoint;
    QRectF m_content;
    QRectF m_footer;
};

// The fonts in the device's metrics. The family is DejaVu Sans, loaded from
// its file so that every Polish letter prints and a PDF embeds it.
class PrintFonts
{
public:
    explicit PrintFonts(QPaintDevice &device);
    const QFont &operator[](PrintFont font) const { return m_fonts[std::size_t(font)]; }

    // The family loaded for printing, or the best one installed.
    static QString family();

private:
    std::array<QFont, std::size_t(PrintFont::Count)> m_fonts;
};

} // namespace velkor::print
