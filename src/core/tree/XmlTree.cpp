#include "XmlTree.h"

#include "core/support/TrimSpaces.h"

#include <QStringDecoder>

#include <algorithm>
#include <functional>

namespace velkor {

const QString XmlTree::Separator = QStringLiteral(" / ");

QString CleanNodeText(const QString &text)
{
    QString cleaned;
    cleaned.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 0x0D: case 0x0A: case 0x09: case 0x0C: case 0x0B: case 0xA0:
            break;
        default:
            cleaned += c;
        }
    }
    const QStringView trimmed = trimSpaces(cleaned);
    return trimmed.size() == cleaned.size() ? cleaned : trimmed.toString();
}

QString LocalName(const QString &qualifiedName)
{
    const qsizetype colon = qualifiedName.lastIndexOf(u':');
    return colon < 0 ? qualifiedName : qualifiedName.mid(colon + 1);
}

// Walks the document once and fills the tree's arrays.
class XmlTree::Builder
{
public:
    explicit Builder(XmlTree &tree) : m_tree(tree) {}

    void addChildrenOf(const xmlNode *root)
    {
        for (const xmlNode *child = root->children; child; child = child->next)
            fillTreeNode(NoNode, NoNode, child);
        linkChildren();
    }

private:
    // Adds the node for one XML node and, recursively, for its descendants.
    // The depth is bounded by the parser's nesting limit.
    void fillTreeNode(int parent, int parentPath, const xmlNode *x)
    {
        if (x->children) {
            const int pathId = internPath(parentPath, x->name);
            const int node = addNode(parent, pathId, nameRange(x->name), x);
            for (const xmlNode *child = x->children; child; child = child->next)
                fillTreeNode(node, pathId, child);
            return;
        }
        // A node without children: a text, CDATA section, comment, or an empty
        // element (whose content is empty). Blank texts yield nothing, and a
        // text directly under the root has no parent to go under.
        if (parent == NoNode)
            return;
        const bool plainText = x->type == XML_TEXT_NODE || x->type == XML_CDATA_SECTION_NODE
                               || x->type == XML_COMMENT_NODE || x->type == XML_PI_NODE;
        if (plainText && isBlank(x->content))
            return; // the indentation between elements, half of all nodes
        const int begin = int(m_tree.m_texts.size());
        if (plainText)
            appendUtf8(m_tree.m_texts, x->content);
        else
            m_tree.m_texts.append(contentOf(x));
        const int length = cleanInPlace(m_tree.m_texts, begin);
        if (length == 0)
            return;
        addNode(parent, NoNode, {begin, length}, x);
        m_tree.m_pathHasTextChildren[std::size_t(parentPath)] = true;
    }

    // Decodes UTF-8 straight onto the end of the pool.
    void appendUtf8(QString &pool, const xmlChar *text)
    {
        const QByteArrayView bytes(reinterpret_cast<const char *>(text));
        const qsizetype start = pool.size();
        pool.resize(start + bytes.size()); // UTF-16 never needs more units than UTF-8 has bytes
        QChar *end = m_decoder.appendToBuffer(pool.data() + start, bytes);
        pool.truncate(end - pool.constData());
    }

    // Whether UTF-8 text holds nothing but what CleanNodeText removes.
    static bool isBlank(const xmlChar *text)
    {
        for (const xmlChar *p = text; p && *p; ++p) {
            switch (*p) {
            case ' ': case '\r': case '\n': case '\t': case '\f': case '\v':
                continue;
            case 0xC2: // U+00A0, the no-break space, is C2 A0
                if (p[1] == 0xA0) {
                    ++p;
                    continue;
                }
                return false;
            default:
                return false;
            }
        }
        return true;
    }

    // CleanNodeText applied to the end of `pool` from `begin`, in place;
    // returns the cleaned length.
    static int cleanInPlace(QString &pool, int begin)
    {
        QChar *data = pool.data();
        const qsizetype end = pool.size();
        qsizetype out = begin;
        for (qsizetype in = begin; in < end; ++in) {
            switch (data[in].unicode()) {
            case 0x0D: case 0x0A: case 0x09: case 0x0C: case 0x0B: case 0xA0:
                break;
            default:
                data[out++] = data[in];
            }
        }
        const QStringView trimmed = trimSpaces(QStringView(data + begin, out - begin));
        const qsizetype length = trimmed.size();
        if (trimmed.data() != data + begin)
            std::copy(trimmed.begin(), trimmed.end(), data + begin);
        pool.truncate(begin + length);
        return int(length);
    }

    static QString contentOf(const xmlNode *x)
    {
        switch (x->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            return fromXml(x->content);
        default: {
            XmlCharsHandle content(xmlNodeGetContent(x));
            return fromXml(content);
        }
        }
    }

    int addNode(int parent, int pathId, std::pair<int, int> text, const xmlNode *source)
    {
        const int index = int(m_tree.m_nodes.size());
        int row;
        if (parent == NoNode) {
            row = int(m_tree.m_topLevel.size());
            m_tree.m_topLevel.push_back(index);
        } else {
            row = m_tree.m_nodes[std::size_t(parent)].childCount++;
        }
        m_tree.m_nodes.push_back(Node{parent, row, 0, 0, text.first, text.second, pathId, source});
        if (pathId != NoNode)
            m_tree.m_nodesByPath[std::size_t(pathId)].push_back(index);
        return index;
    }

    // Element names repeat: each distinct name is stored once.
    std::pair<int, int> nameRange(const xmlChar *name)
    {
        const auto found = m_names.find(name);
        if (found != m_names.end())
            return found->second;
        const QString text = LocalName(fromXml(name));
        const std::pair<int, int> range{int(m_tree.m_texts.size()), int(text.size())};
        m_tree.m_texts += text;
        m_names.emplace(name, range);
        return range;
    }

    int internPath(int parentPath, const xmlChar *name)
    {
        // libxml2 keeps names in a dictionary, so the pointer identifies the
        // name; the case-folded table behind it merges names that differ only
        // in letter case.
        const auto key = std::make_pair(parentPath, name);
        const auto cached = m_pathCache.find(key);
        if (cached != m_pathCache.end())
            return cached->second;
        const QPair<int, QString> folded(parentPath, LocalName(fromXml(name)).toCaseFolded());
        int id = m_tree.m_pathIds.value(folded, NoNode);
        if (id == NoNode) {
            id = int(m_tree.m_nodesByPath.size());
            m_tree.m_pathIds.insert(folded, id);
            m_tree.m_nodesByPath.emplace_back();
            m_tree.m_pathHasTextChildren.push_back(false);
        }
        m_pathCache.emplace(key, id);
        return id;
    }

    // Every node's children become one contiguous run of m_children.
    void linkChildren()
    {
        auto &nodes = m_tree.m_nodes;
        int offset = 0;
        for (Node &node : nodes) {
            node.firstChild = offset;
            offset += node.childCount;
        }
        m_tree.m_children.assign(std::size_t(offset), NoNode);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const int parent = nodes[i].parent;
            if (parent != NoNode)
                m_tree.m_children[std::size_t(nodes[std::size_t(parent)].firstChild + nodes[i].row)] = int(i);
        }
    }

    struct PairHash
    {
        std::size_t operator()(const std::pair<int, const xmlChar *> &key) const
        {
            return std::hash<const void *>()(key.second) ^ (std::size_t(key.first) * 0x9E3779B97F4A7C15ull);
        }
    };

    XmlTree &m_tree;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    std::unordered_map<const xmlChar *, std::pair<int, int>> m_names;
    std::unordered_map<std::pair<int, const xmlChar *>, int, PairHash> m_pathCache;
};

XmlTree XmlTree::build(const InvoiceDocument &document)
{
    XmlTree tree;
    // An FA(3) invoice has about one tree node per 16 bytes and a third of
    // its bytes in texts; reserving so spares the copies of growing.
    tree.m_nodes.reserve(std::size_t(document.sourceSize() / 14));
    tree.m_texts.reserve(document.sourceSize() / 3);
    if (const xmlNode *root = document.root())
        Builder(tree).addChildrenOf(root);
    return tree;
}

QStringView XmlTree::text(int node) const
{
    const Node &n = m_nodes[std::size_t(node)];
    return QStringView(m_texts).mid(n.textBegin, n.textLength);
}

int XmlTree::childCount(int node) const
{
    return node == NoNode ? int(m_topLevel.size()) : m_nodes[std::size_t(node)].childCount;
}

int XmlTree::child(int node, int row) const
{
    if (row < 0 || row >= childCount(node))
        return NoNode;
    return node == NoNode ? m_topLevel[std::size_t(row)]
                          : m_children[std::size_t(m_nodes[std::size_t(node)].firstChild + row)];
}

QString XmlTree::fullPath(int node) const
{
    std::vector<int> chain;
    for (int n = node; n != NoNode; n = parent(n))
        chain.push_back(n);
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin())
            path += Separator;
        path += text(*it);
    }
    return path;
}

int XmlTree::lookupPath(int parentPath, QStringView name) const
{
    return m_pathIds.value(qMakePair(parentPath, name.toString().toCaseFolded()), NoNode);
}

std::vector<int> XmlTree::nodesWithPath(QStringView path) const
{
    std::vector<int> found;
    if (path.isEmpty())
        return found;
    // Element names never contain " / ", so every segment but the last names
    // an element; the last part may also be a text, which can itself contain
    // the separator, so text children are matched against the whole rest.
    std::vector<qsizetype> starts{0};
    for (qsizetype at = path.indexOf(Separator); at >= 0; at = path.indexOf(Separator, at + 1))
        starts.push_back(at + Separator.size());

    int pathId = NoNode;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const qsizetype begin = starts[i];
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1] - Separator.size() : path.size();
        if (pathId != NoNode && m_pathHasTextChildren[std::size_t(pathId)]) {
            const QStringView rest = path.mid(begin);
            for (int element : m_nodesByPath[std::size_t(pathId)]) {
                for (int row = 0; row < childCount(element); ++row) {
                    const int c = child(element, row);
                    if (isTextNode(c) && text(c).compare(rest, Qt::CaseInsensitive) == 0)
                        found.push_back(c);
                }
            }
        }
        pathId = lookupPath(pathId, path.mid(begin, end - begin));
        if (pathId == NoNode)
            break;
        if (i + 1 == starts.size())
            found.insert(found.end(), m_nodesByPath[std::size_t(pathId)].begin(),
                         m_nodesByPath[std::size_t(pathId)].end());
    }
    std::sort(found.begin(), found.end());
    return found;
}

int XmlTree::findNode(QStringView path, int occurrence) const
{
    const std::vector<int> nodes = nodesWithPath(path);
    if (occurrence < 1 || std::size_t(occurrence) > nodes.size())
        return NoNode;
    return nodes[std::size_t(occurrence - 1)];
}

int XmlTree::occurrenceOf(int node) const
{
    const std::vector<int> nodes = nodesWithPath(fullPath(node));
    const auto it = std::lower_bound(nodes.begin(), nodes.end(), node);
    return (it != nodes.end() && *it == node) ? int(it - nodes.begin()) + 1 : 0;
}

int XmlTree::nodeOf(const xmlNode *element) const
{
    if (!element || !element->children)
        return NoNode;
    std::vector<const xmlNode *> chain;
    for (const xmlNode *n = element; n && n->type == XML_ELEMENT_NODE; n = n->parent)
        chain.push_back(n);
    if (chain.size() < 2)
        return NoNode; // the root element has no node
    chain.pop_back();
    int pathId = NoNode;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        pathId = lookupPath(pathId, LocalName(fromXml((*it)->name)));
        if (pathId == NoNode)
            return NoNode;
    }
    if (pathId == NoNode)
        return NoNode;
    for (int node : m_nodesByPath[std::size_t(pathId)]) {
        if (m_nodes[std::size_t(node)].source == element)
            return node;
    }
    return NoNode;
}

} // namespace velkor
