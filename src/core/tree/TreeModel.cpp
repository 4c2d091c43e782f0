#include "TreeModel.h"

namespace velkor {

TreeModel::TreeModel(QObject *parent) : QAbstractItemModel(parent), m_tree(std::make_shared<XmlTree>())
{
}

void TreeModel::setTree(std::shared_ptr<const XmlTree> tree)
{
    beginResetModel();
    m_tree = tree ? std::move(tree) : std::make_shared<XmlTree>();
    endResetModel();
}

QModelIndex TreeModel::indexOfNode(int node) const
{
    if (node < 0 || node >= m_tree->nodeCount())
        return {};
    return createIndex(m_tree->row(node), 0, quintptr(node));
}

int TreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? int(index.internalId()) : XmlTree::NoNode;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0)
        return {};
    const int node = m_tree->child(nodeOf(parent), row);
    return node == XmlTree::NoNode ? QModelIndex() : createIndex(row, 0, quintptr(node));
}

QModelIndex TreeModel::parent(const QModelIndex &child) const
{
    const int node = nodeOf(child);
    return node == XmlTree::NoNode ? QModelIndex() : indexOfNode(m_tree->parent(node));
}

int TreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return m_tree->childCount(nodeOf(parent));
}

int TreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool TreeModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant TreeModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_tree->text(nodeOf(index)).toString();
}

} // namespace velkor
