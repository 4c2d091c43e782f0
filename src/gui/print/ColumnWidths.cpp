#include "ColumnWidths.h"

#include <algorithm>
#include <numeric>

namespace velkor::print {

std::vector<double> columnWidths(const Table &table, const QFontMetricsF &plain, const QFontMetricsF &bold,
                                 double available, double padding)
{
    const std::size_t columns = std::size_t(table.header.size());
    const auto widestWord = [](const QFontMetricsF &fm, QStringView text) {
        double widest = 0;
        for (const QStringView word : text.split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, fm.horizontalAdvance(word.toString()));
        return widest;
    };
    std::vector<double> need(columns, 0), fit(columns, 0), want(columns, 0);
    for (std::size_t c = 0; c < columns; ++c) {
        need[c] = fit[c] = widestWord(bold, table.header[int(c)]);
        want[c] = bold.horizontalAdvance(table.header[int(c)]);
    }
    for (const TableRow &row : table.rows) {
        const QFontMetricsF &fm = row.kind == RowKind::Change || row.kind == RowKind::Total ? bold : plain;
        for (std::size_t c = 0; c < columns && c < std::size_t(row.cells.size()); ++c) {
            const QString &content = row.cells[int(c)];
            if (content.isEmpty())
                continue;
            for (const QStringView line : QStringView(content).split(u'\n')) {
                const double advance = fm.horizontalAdvance(line.toString());
                if (advance <= fit[c])
                    continue;
                fit[c] = advance;
                need[c] = table.align[c] == Align::Right ? advance : std::max(need[c], widestWord(fm, line));
            }
        }
    }
    for (std::size_t c = 0; c < columns; ++c) {
        need[c] = std::min(need[c] + padding, available / 4);
        fit[c] += padding;
        want[c] = std::max(want[c] + padding, fit[c]);
    }
    const auto sum = [](const std::vector<double> &values) { return std::accumulate(values.begin(), values.end(), 0.0); };
    // From `low` towards `high`, as far as the room goes.
    const auto between = [&](const std::vector<double> &low, const std::vector<double> &high) {
        std::vector<double> widths = low;
        const double room = available - sum(low), lacking = sum(high) - sum(low);
        for (std::size_t c = 0; lacking > 0 && c < columns; ++c)
            widths[c] += (high[c] - low[c]) * std::min(1.0, room / lacking);
        return widths;
    };
    if (sum(need) >= available) {
        std::vector<double> widths = need;
        for (double &w : widths)
            w *= available / sum(need);
        return widths;
    }
    if (sum(fit) > available)
        return between(need, fit);
    if (sum(want) > available)
        return between(fit, want);
    std::vector<double> widths = want, share(columns, 0);
    for (std::size_t c = 0; c < columns; ++c)
        share[c] = table.align[c] == Align::Left ? want[c] : 0;
    if (sum(share) == 0)
        share = want;
    const double extra = available - sum(want), total = sum(share);
    for (std::size_t c = 0; c < columns; ++c)
        widths[c] += extra * share[c] / total;
    return widths;
}

} // namespace velkor::print
