#pragma once

#include "core/tree/XmlTree.h"

#include <QString>

#include <memory>
#include <vector>

namespace velkor {

// The invoice as a text of paths: one line per tree node without children,
// in enumeration order, each the node's full path; lines joined by CR LF.
// Only the order of those nodes is kept: a line's text is the node's path,
// produced when asked for, so even the largest invoice costs four bytes a
// line and a line's place is found without searching the text.
class TextView
{
public:
    TextView() = default;
    static TextView build(std::shared_ptr<const XmlTree> tree);

    int lineCount() const { return int(m_lineNodes.size()); }
    QString lineText(int line) const;
    int lineLength(int line) const;
    // The longest line, in characters.
    int maxLineLength() const { return m_maxLineLength; }
    // The whole text as the builder writes it: lines joined by CR LF, no
    // break after the last line.
    QString wholeText() const;
    // The text from (line, column) up to (line, column), lines joined by CR LF.
    QString textBetween(int fromLine, int fromColumn, int toLine, int toColumn) const;

    // The first line that belongs to `node`: its own line for a node without
    // children, otherwise the line of its first descendant without children;
    // -1 for no node.
    int firstLineOf(int node) const;
    int nodeOfLine(int line) const { return m_lineNodes[std::size_t(line)]; }

private:
    std::shared_ptr<const XmlTree> m_tree;
    std::vector<int> m_lineNodes;    // the tree node of each line, ascending
    std::vector<int> m_lineLengths;  // characters of each line
    int m_maxLineLength = 0;
};

} // namespace velkor
