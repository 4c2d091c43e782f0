#include "PageLayout.h"

#include "gui/print/ColumnWidths.h"
#include "gui/print/PageFlow.h"

#include <QPaintDevice>

#include <algorithm>

namespace velkor::print {

namespace {

constexpr QRgb Grey = 0xff5a5a5a;
constexpr QRgb NoteText = 0xff9a1010;
constexpr QRgb HeaderFill = 0xffe6e6e6;
constexpr QRgb TitleFill = 0xfff0f0f0;
constexpr QRgb NoteFill = 0xfffbeaea;

constexpr double CodeSide = 32; // the QR code, with its quiet zone

// The printout's parts placed one after another: the title block, the
// sections with their fields, blocks side by side, tables and paragraphs,
// the verification code and the footers.
class Layout : private PageFlow
{
public:
    Layout(const PrintDocument &document, QPaintDevice &device)
        : PageFlow(device), m_document(document)
    {
    }

    PageLayoutResult run()
    {
        newPage();
        titleBlock();
        for (const Section &section : m_document.sections)
            placeSection(section);
        codeBlock();
        footers();
        return std::move(m_result);
    }

private:
    // --- parts of the document ---------------------------------------------

    void titleBlock()
    {
        // The title on the left; its fields, which hold the long KSeF
        // number, take the wider part.
        const double titleWidth = width() * 0.42;
        double leftY = m_y;
        for (const QString &line : wrap(m_document.title, PrintFont::Title, titleWidth)) {
            text(left(), leftY, line, PrintFont::Title, Black);
            leftY += lineHeight(PrintFont::Title);
        }
        if (!m_document.number.isEmpty()) {
            for (const QString &line : wrap(QStringLiteral("nr ") + m_document.number, PrintFont::Number, titleWidth)) {
                text(left(), leftY, line, PrintFont::Number, Black);
                leftY += lineHeight(PrintFont::Number);
            }
        }
        const double start = m_y;
        placeFields(m_document.titleFields, left() + titleWidth, width() - titleWidth);
        m_y = std::max({m_y, leftY, start});
        m_y += m_geometry.millimetres(2);
        rule(m_y);
    }

    void placeSection(const Section &section)
    {
        m_y += m_geometry.millimetres(3);
        if (!section.title.isEmpty()) {
            const double titleHeight = lineHeight(PrintFont::SectionTitle) + m_geometry.points(2);
            keep(titleHeight + 3 * lineHeight(PrintFont::Body));
            text(left(), m_y, section.title, PrintFont::SectionTitle, Black);
            m_y += titleHeight;
            rule(m_y - m_geometry.points(1));
        }
        for (const Item &item : section.items) {
            if (const Fields *fields = std::get_if<Fields>(&item))
                placeFields(*fields, left(), width());
            else if (const Blocks *blocks = std::get_if<Blocks>(&item))
                placeBlocks(*blocks);
            else if (const Table *table = std::get_if<Table>(&item))
                placeTable(*table);
            else if (const Paragraph *paragraph = std::get_if<Paragraph>(&item))
                placeParagraph(*paragraph);
        }
    }

    double labelWidth(const Fields &fields, double available) const
    {
        double widest = 0;
        for (const Field &field : fields) {
            if (!field.heading)
                widest = std::max(widest, metrics(PrintFont::Body).horizontalAdvance(field.label));
        }
        return std::min(widest + 2 * m_padX + m_geometry.points(4), available * 0.4);
    }

    // A label and its value on each row; a heading across both.
    void placeFields(const Fields &fields, double x, double available)
    {
        const double labels = labelWidth(fields, available);
        for (const Field &field : fields) {
            Row row;
            if (field.heading) {
                row.cells.push_back(cell(x, available, field.label, PrintFont::Bold));
                keep(rowHeight(row) + 2 * lineHeight(PrintFont::Body)); // not alone at the foot of a page
            } else {
                row.cells = {cell(x, labels, field.label, PrintFont::Body, Grey),
                             cell(x + labels, available - labels, field.value, PrintFont::Body)};
            }
            placeRow(row);
        }
    }

    // The rows of one block in its column: the title, then its fields.
    std::vector<Row> blockRows(const Block &block, double x, double columnWidth) const
    {
        std::vector<Row> rows(1);
        rows.front().cells.push_back(cell(x, columnWidth, block.title, PrintFont::Bold));
        rows.front().fill = TitleFill;
        const double labels = labelWidth(block.fields, columnWidth);
        for (const Field &field : block.fields) {
            Row row;
            if (field.heading)
                row.cells.push_back(cell(x, columnWidth, field.label, PrintFont::Bold));
            else
                row.cells = {cell(x, labels, field.label, PrintFont::Body, Grey),
                             cell(x + labels, columnWidth - labels, field.value, PrintFont::Body)};
            rows.push_back(std::move(row));
        }
        return rows;
    }

    // Blocks two by two, side by side, each flowing down its own column; a
    // pair taller than a page goes row by row.
    void placeBlocks(const Blocks &blocks)
    {
        const double gap = m_geometry.millimetres(6);
        const double half = (width() - gap) / 2;
        for (std::size_t b = 0; b < blocks.size(); b += 2) {
            std::vector<Row> sides[2];
            double heights[2] = {0, 0};
            for (std::size_t side = 0; side < 2 && b + side < blocks.size(); ++side) {
                sides[side] = blockRows(blocks[b + side], left() + double(side) * (half + gap), half);
                for (const Row &row : sides[side])
                    heights[side] += rowHeight(row);
            }
            if (b > 0)
                m_y += m_geometry.millimetres(2);
            const double height = std::max(heights[0], heights[1]);
            if (height <= bottom() - top()) {
                keep(height);
                const double start = m_y;
                for (const std::vector<Row> &rows : sides) {
                    m_y = start;
                    for (const Row &row : rows) {
                        paintRow(row, 0, -1, rowHeight(row));
                        m_y += rowHeight(row);
                    }
                }
                m_y = start + height;
                continue;
            }
            for (std::size_t r = 0; r < std::max(sides[0].size(), sides[1].size()); ++r) {
                Row row;
                for (const std::vector<Row> &rows : sides) {
                    if (r < rows.size())
                        row.cells.insert(row.cells.end(), rows[r].cells.begin(), rows[r].cells.end());
                }
                placeRow(row);
            }
        }
    }

    void placeTable(const Table &table)
    {
        if (table.header.isEmpty())
            return;
        const std::vector<double> widths = columnWidths(table, metrics(PrintFont::Small), metrics(PrintFont::SmallBold), width(), 2 * m_padX);
        const auto rowOf = [&](const QStringList &cells, PrintFont font, QRgb colour) {
            Row row;
            double x = left();
            for (std::size_t c = 0; c < widths.size(); ++c) {
                row.cells.push_back(cell(x, widths[c], cells.value(int(c)), font, colour, table.align[c]));
                x += widths[c];
            }
            return row;
        };
        Row header = rowOf(table.header, PrintFont::SmallBold, Black);
        header.fill = HeaderFill;
        m_y += m_geometry.points(3);
        const double titleHeight = table.title.isEmpty() ? 0 : lineHeight(PrintFont::Bold) + m_geometry.points(1);
        keep(titleHeight + rowHeight(header) + 2 * lineHeight(PrintFont::Small));
        if (!table.title.isEmpty()) {
            text(left(), m_y, table.title, PrintFont::Bold, Black);
            m_y += titleHeight;
        }
        placeRow(header);
        for (const TableRow &tableRow : table.rows) {
            const bool strong = tableRow.kind == RowKind::Change || tableRow.kind == RowKind::Total;
            Row row = rowOf(tableRow.cells, strong ? PrintFont::SmallBold : PrintFont::Small,
                            tableRow.kind == RowKind::Before ? Grey : Black);
            row.ruleBelow = tableRow.kind != RowKind::Before;
            row.ruleAbove = tableRow.kind == RowKind::Total;
            placeRow(row, &header);
        }
    }

    void placeParagraph(const Paragraph &paragraph)
    {
        Row row;
        row.cells.push_back(cell(left(), width(), paragraph.text, PrintFont::Body, paragraph.note ? NoteText : Black));
        if (paragraph.note) {
            row.fill = NoteFill;
            m_y += m_geometry.points(3);
        }
        placeRow(row);
    }

    // The verification code at the foot of the last page: its caption under
    // it, the link beside it.
    void codeBlock()
    {
        if (m_document.link.isEmpty())
            return;
        const double side = m_geometry.millimetres(CodeSide);
        // The caption (a KSeF number is wider than the code) is centred
        // under the code as far as the margin lets it.
        const QStringList caption = wrap(m_document.qrCaption, PrintFont::Small, width());
        const double height = side + caption.size() * lineHeight(PrintFont::Small) + m_geometry.points(2);
        m_y += m_geometry.millimetres(4);
        if (m_y + height > bottom())
            newPage();
        const double y = bottom() - height;
        m_result.codeArea = QRectF(left(), y, side, side);
        double captionY = y + side;
        for (const QString &line : caption) {
            const double centred = left() + (side - metrics(PrintFont::Small).horizontalAdvance(line)) / 2;
            text(std::max(left(), centred), captionY, line, PrintFont::Small, Black);
            captionY += lineHeight(PrintFont::Small);
        }
        const double x = left() + side + m_geometry.millimetres(4);
        const double textWidth = width() - side - m_geometry.millimetres(4);
        double lineY = y + m_geometry.millimetres(3);
        text(x, lineY, QStringLiteral("Kod weryfikacyjny faktury (KOD I)"), PrintFont::Bold, Black);
        lineY += lineHeight(PrintFont::Bold) * 1.3;
        QString link = m_document.link;
        for (const QString &line : wrap(link, PrintFont::Small, textWidth)) {
            text(x, lineY, line, PrintFont::Small, Black);
            lineY += lineHeight(PrintFont::Small);
        }
    }

    // "strona N z M" and the invoice's number on every page.
    void footers()
    {
        const QRectF footer = m_geometry.footer();
        const QString invoice = m_document.title + QStringLiteral(" nr ") + m_document.number;
        const int count = int(m_result.pages.size());
        const double y = footer.top() + m_geometry.points(3);
        for (int n = 0; n < count; ++n) {
            PageContent &content = m_result.pages[std::size_t(n)];
            content.lines.emplace_back(footer.left(), footer.top(), footer.right(), footer.top());
            const QString number = QStringLiteral("strona %1 z %2").arg(n + 1).arg(count);
            const double numberWidth = metrics(PrintFont::Small).horizontalAdvance(number);
            const QStringList name = wrap(invoice, PrintFont::Small, footer.width() - numberWidth - m_geometry.millimetres(5));
            content.texts.push_back({QPointF(footer.left(), y + metrics(PrintFont::Small).ascent()), name.value(0),
                                     PrintFont::Small, Grey});
            content.texts.push_back({QPointF(footer.right() - numberWidth, y + metrics(PrintFont::Small).ascent()),
                                     number, PrintFont::Small, Grey});
        }
    }

    const PrintDocument &m_document;
};

} // namespace

PageLayoutResult layOutPages(const PrintDocument &document, QPaintDevice &device)
{
    return Layout(document, device).run();
}

} // namespace velkor::print
