#pragma once

#include "views/XmlTree.h"

#include <QString>

#include <vector>

namespace velkor {

// The invoice as a text of paths: one line per tree node without children,
// in enumeration order, each the node's full path; lines joined by CR LF.
// Keeps where each node's text begins, so a reveal finds its line at once.
class TextView
{
public:
    TextView() = default;
    static TextView build(const XmlTree &tree);

    const QString &text() const { return m_text; }
    int lineCount() const { return int(m_lineStarts.size()); }
    // Where line `line` starts in text().
    qsizetype lineStart(int line) const { return m_lineStarts[std::size_t(line)]; }
    // The first line that belongs to `node`: its own line for a node without
    // children, otherwise the line of its first descendant without children.
    int firstLineOf(int node) const;

private:
    QString m_text;
    std::vector<qsizetype> m_lineStarts;
    std::vector<int> m_firstLine; // per node
};

} // namespace velkor
