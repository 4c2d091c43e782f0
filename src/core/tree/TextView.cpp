#include "TextView.h"

#include "core/support/ExtraString.h"

#include <algorithm>

namespace velkor {

TextView TextView::build(std::shared_ptr<const XmlTree> tree)
{
    TextView view;
    view.m_tree = tree ? std::move(tree) : std::make_shared<XmlTree>();
    const XmlTree &t = *view.m_tree;
    // Nodes come in pre-order, so a node's path length is its parent's plus
    // the separator and its own text.
    std::vector<int> pathLength(std::size_t(t.nodeCount()), 0);
    for (int node = 0; node < t.nodeCount(); ++node) {
        const int parent = t.parent(node);
        const int length = (parent == XmlTree::NoNode ? 0 : pathLength[std::size_t(parent)] + int(XmlTree::Separator.size()))
                           + int(t.text(node).size());
        pathLength[std::size_t(node)] = length;
        if (t.childCount(node) == 0) {
            view.m_lineNodes.push_back(node);
            view.m_lineLengths.push_back(length);
            view.m_maxLineLength = std::max(view.m_maxLineLength, length);
        }
    }
    return view;
}

QString TextView::lineText(int line) const
{
    return m_tree->fullPath(m_lineNodes[std::size_t(line)]);
}

int TextView::lineLength(int line) const
{
    return m_lineLengths[std::size_t(line)];
}

QString TextView::wholeText() const
{
    ExtraString builder;
    qsizetype size = 0;
    for (int length : m_lineLengths)
        size += length + 2;
    builder.reserve(size);
    for (int line = 0; line < lineCount(); ++line)
        builder.Adn(lineText(line));
    return builder.Text();
}

QString TextView::textBetween(int fromLine, int fromColumn, int toLine, int toColumn) const
{
    if (lineCount() == 0)
        return {};
    fromLine = std::clamp(fromLine, 0, lineCount() - 1);
    toLine = std::clamp(toLine, 0, lineCount() - 1);
    if (fromLine == toLine)
        return lineText(fromLine).mid(fromColumn, std::max(0, toColumn - fromColumn));
    QString text = lineText(fromLine).mid(fromColumn);
    for (int line = fromLine + 1; line < toLine; ++line)
        text += ExtraString::CRLF + lineText(line);
    return text + ExtraString::CRLF + lineText(toLine).left(toColumn);
}

int TextView::firstLineOf(int node) const
{
    if (!m_tree || node < 0 || node >= m_tree->nodeCount())
        return -1;
    // In pre-order a node's descendants follow it directly, so its first line
    // is the first line of any node at or after it.
    const auto it = std::lower_bound(m_lineNodes.begin(), m_lineNodes.end(), node);
    return it == m_lineNodes.end() ? -1 : int(it - m_lineNodes.begin());
}

} // namespace velkor
