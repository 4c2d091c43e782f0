#pragma once

#include "core/load/InvoiceDocument.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <unordered_map>
#include <vector>

namespace velkor {

// The text of a node after removing CR, LF, TAB, FF, VT and no-break spaces
// and trimming spaces at both ends.
QString CleanNodeText(const QString &text);
// The part of a qualified name after its last ":".
QString LocalName(const QString &qualifiedName);

// The invoice as an outline: one node per element that has child nodes
// (named by its local name) and one per non-blank text, under its element.
// The root element has no node; its children are the top-level nodes.
// Nodes are stored in the order they are added, a depth-first pre-order walk
// of the document, which is the enumeration order every consumer relies on.
class XmlTree
{
public:
    static constexpr int NoNode = -1;
    static const QString Separator; // " / "

    XmlTree() = default;
    static XmlTree build(const InvoiceDocument &document);

    int nodeCount() const { return int(m_nodes.size()); }
    bool isEmpty() const { return m_nodes.empty(); }

    QStringView text(int node) const;
    int parent(int node) const { return m_nodes[node].parent; }
    int row(int node) const { return m_nodes[node].row; }
    bool isTextNode(int node) const { return m_nodes[node].pathId == NoNode; }
    // Children of `node`, or the top-level nodes for NoNode.
    int childCount(int node) const;
    int child(int node, int row) const;
    const xmlNode *source(int node) const { return m_nodes[node].source; }

    // The texts of the node's ancestors and its own, joined by " / ".
    QString fullPath(int node) const;
    // Every node whose full path equals `path` ignoring letter case, in
    // enumeration order.
    std::vector<int> nodesWithPath(QStringView path) const;
    // The n-th (1-based) such node, or NoNode.
    int findNode(QStringView path, int occurrence) const;
    // The position (1-based) of a node among the nodes of the same full path.
    int occurrenceOf(int node) const;
    // The node of an element, or NoNode when it has none (an empty element,
    // the root).
    int nodeOf(const xmlNode *element) const;

private:
    struct Node
    {
        int parent;
        int row;
        int firstChild; // into m_children
        int childCount;
        int textBegin;  // into m_texts
        int textLength;
        int pathId;     // element nodes: their path; text nodes: NoNode
        const xmlNode *source;
    };

    class Builder;

    int lookupPath(int parentPath, QStringView name) const;

    std::vector<Node> m_nodes;
    std::vector<int> m_children; // children lists, each contiguous
    std::vector<int> m_topLevel;
    QString m_texts;

    // Element paths, interned: (parent path, case-folded local name) -> id.
    QHash<QPair<int, QString>, int> m_pathIds;
    std::vector<std::vector<int>> m_nodesByPath;
    std::vector<bool> m_pathHasTextChildren;
};

} // namespace velkor
