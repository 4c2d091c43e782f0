#include "TextView.h"

#include "support/ExtraString.h"

namespace velkor {

TextView TextView::build(const XmlTree &tree)
{
    TextView view;
    const int count = tree.nodeCount();
    view.m_firstLine.assign(std::size_t(count), -1);

    // Nodes come in pre-order, so a node's path is its parent's path plus its
    // own text: the current path is kept with the length at every level.
    ExtraString builder;
    QString path;
    std::vector<std::pair<int, qsizetype>> levels; // node, length of its path
    for (int node = 0; node < count; ++node) {
        const int parent = tree.parent(node);
        while (!levels.empty() && levels.back().first != parent)
            levels.pop_back();
        path.truncate(levels.empty() ? 0 : levels.back().second);
        if (!levels.empty())
            path += XmlTree::Separator;
        path += tree.text(node);
        levels.emplace_back(node, path.size());
        if (tree.childCount(node) == 0) {
            view.m_firstLine[std::size_t(node)] = int(view.m_lineStarts.size());
            view.m_lineStarts.push_back(builder.isEmpty() ? 0 : builder.length() + 2);
            builder.Adn(path);
        }
    }
    // A node with children has its first child right after it in pre-order.
    for (int node = count - 1; node >= 0; --node) {
        if (view.m_firstLine[std::size_t(node)] < 0 && node + 1 < count)
            view.m_firstLine[std::size_t(node)] = view.m_firstLine[std::size_t(node + 1)];
    }
    view.m_text = builder.Text();
    return view;
}

int TextView::firstLineOf(int node) const
{
    if (node < 0 || std::size_t(node) >= m_firstLine.size())
        return -1;
    return m_firstLine[std::size_t(node)];
}

} // namespace velkor
