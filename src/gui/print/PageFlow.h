#pragma once

#include "gui/print/PageLayout.h"

#include <QFontMetricsF>
#include <QStringList>

#include <vector>

class QPaintDevice;

namespace velkor::print {

constexpr QRgb Black = 0xff000000;

// One cell of a placed row: its lines, where they go and how they look.
struct Cell
{
    double x = 0, width = 0;
    QStringList lines;
    PrintFont font = PrintFont::Body;
    QRgb colour = Black;
    Align align = Align::Left;
};

struct Row
{
    std::vector<Cell> cells;
    QRgb fill = 0;
    bool ruleBelow = false;
    bool ruleAbove = false;
};

// Rows flowing down the pages of a device: measures text in the printout's
// fonts, starts a new page where a row does not fit (with a table's header
// again), splits a row taller than a page between its lines, and records
// what each page shows. What goes where is the page layout's business.
class PageFlow
{
protected:
    explicit PageFlow(QPaintDevice &device);

    // --- measuring ---------------------------------------------------------

    const QFontMetricsF &metrics(PrintFont font) const { return m_metrics[std::size_t(font)]; }
    double lineHeight(PrintFont font) const { return metrics(font).lineSpacing(); }

    // The text broken into lines no wider than `width`: at its line breaks,
    // then between words, and inside a word longer than a line.
    QStringList wrap(const QString &text, PrintFont font, double width) const;

    double rowHeight(const Row &row) const;

    // --- placing -----------------------------------------------------------

    PageContent &page() { return m_result.pages.back(); }
    double top() const { return m_geometry.content().top(); }
    double bottom() const { return m_geometry.content().bottom(); }
    double left() const { return m_geometry.content().left(); }
    double width() const { return m_geometry.content().width(); }

    void newPage();

    // Starts a new page unless `height` fits below, or the page is empty.
    void keep(double height);

    void text(double x, double y, const QString &text, PrintFont font, QRgb colour);

    void lineOfCell(const Cell &cell, int index, double y);

    void rule(double y) { page().lines.emplace_back(left(), y, left() + width(), y); }

    // Places a row at the current position, on a new page (after `header`)
    // when it does not fit; a row taller than a page goes line by line.
    void placeRow(const Row &row, const Row *header = nullptr);

    double tallestLine(const Row &row) const;

    // Paints lines [from, to) of every cell (to -1: all) in a band `height` high.
    void paintRow(const Row &row, int from, int to, double height);

    Cell cell(double x, double cellWidth, const QString &content, PrintFont font, QRgb colour = Black,
              Align align = Align::Left) const;


    QPaintDevice &m_device;
    PageGeometry m_geometry;
    PrintFonts m_fonts;
    std::vector<QFontMetricsF> m_metrics;
    double m_padX = 0, m_padY = 0;
    double m_y = 0; // where the next row goes on the current page
    PageLayoutResult m_result;
};

} // namespace velkor::print
