#include "PageFlow.h"

#include <QPaintDevice>
#include <QTextLayout>

#include <algorithm>

namespace velkor::print {

PageFlow::PageFlow(QPaintDevice &device)
    : m_device(device), m_geometry(device), m_fonts(device)
{
    for (std::size_t f = 0; f < std::size_t(PrintFont::Count); ++f)
        m_metrics.emplace_back(m_fonts[PrintFont(f)], &device);
    m_padX = m_geometry.points(1.8);
    m_padY = m_geometry.points(1.1);
}

QStringList PageFlow::wrap(const QString &text, PrintFont font, double width) const
{
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n')) {
        if (metrics(font).horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, m_fonts[font], &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return lines;
}

double PageFlow::rowHeight(const Row &row) const
{
    double height = 0;
    for (const Cell &cell : row.cells)
        height = std::max(height, double(cell.lines.size()) * lineHeight(cell.font));
    return height + 2 * m_padY;
}

void PageFlow::newPage()
{
    m_result.pages.emplace_back();
    m_y = top();
}

void PageFlow::keep(double height)
{
    if (m_y + height > bottom() && m_y > top())
        newPage();
}

void PageFlow::text(double x, double y, const QString &text, PrintFont font, QRgb colour)
{
    if (!text.isEmpty())
        page().texts.push_back({QPointF(x, y + metrics(font).ascent()), text, font, colour});
}

void PageFlow::lineOfCell(const Cell &cell, int index, double y)
{
    const QString &line = cell.lines[index];
    double x = cell.x + m_padX;
    if (cell.align == Align::Right)
        x = cell.x + cell.width - m_padX - metrics(cell.font).horizontalAdvance(line);
    text(x, y, line, cell.font, cell.colour);
}

void PageFlow::placeRow(const Row &row, const Row *header)
{
    const double height = rowHeight(row);
    const double headerHeight = header ? rowHeight(*header) : 0;
    if (m_y + height > bottom() && m_y > top() + headerHeight) {
        newPage();
        if (header)
            placeRow(*header);
    }
    if (m_y + height <= bottom()) {
        paintRow(row, 0, -1, height);
        m_y += height;
        if (row.ruleBelow)
            rule(m_y);
        return;
    }
    int lines = 0;
    for (const Cell &cell : row.cells)
        lines = std::max(lines, int(cell.lines.size()));
    for (int from = 0; from < lines;) {
        double sliceHeight = 2 * m_padY;
        int to = from;
        while (to < lines && m_y + sliceHeight + tallestLine(row) <= bottom()) {
            sliceHeight += tallestLine(row);
            ++to;
        }
        if (to == from && m_y > top() + headerHeight) { // not even one line fits here
            newPage();
            if (header)
                placeRow(*header);
            continue;
        }
        if (to == from) { // a line taller than an empty page: cut off rather than waited for
            to = from + 1;
            sliceHeight += tallestLine(row);
        }
        paintRow(row, from, to, sliceHeight);
        m_y += sliceHeight;
        from = to;
        if (from < lines) {
            newPage();
            if (header)
                placeRow(*header);
        }
    }
    if (row.ruleBelow)
        rule(m_y);
}

double PageFlow::tallestLine(const Row &row) const
{
    double height = 0;
    for (const Cell &cell : row.cells)
        height = std::max(height, lineHeight(cell.font));
    return height;
}

void PageFlow::paintRow(const Row &row, int from, int to, double height)
{
    if (row.fill && !row.cells.empty()) {
        const double fillLeft = row.cells.front().x;
        const double fillRight = row.cells.back().x + row.cells.back().width;
        page().fills.push_back({QRectF(fillLeft, m_y, fillRight - fillLeft, height), row.fill});
    }
    if (row.ruleAbove)
        rule(m_y);
    for (const Cell &cell : row.cells) {
        const int end = to < 0 ? int(cell.lines.size()) : std::min(to, int(cell.lines.size()));
        double y = m_y + m_padY;
        for (int i = from; i < end; ++i, y += lineHeight(cell.font))
            lineOfCell(cell, i, y);
    }
}

Cell PageFlow::cell(double x, double cellWidth, const QString &content, PrintFont font, QRgb colour,
          Align align) const
{
    return {x, cellWidth, wrap(content, font, cellWidth - 2 * m_padX), font, colour, align};
}

} // namespace velkor::print
