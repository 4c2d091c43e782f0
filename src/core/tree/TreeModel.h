#pragma once

#include "core/tree/XmlTree.h"

#include <QAbstractItemModel>

#include <memory>

namespace velkor {

// Presents an XmlTree to a tree view without copying it: an index's internal
// id is the node's number.
class TreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit TreeModel(QObject *parent = nullptr);

    void setTree(std::shared_ptr<const XmlTree> tree);
    const XmlTree &tree() const { return *m_tree; }

    QModelIndex indexOfNode(int node) const;
    int nodeOf(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const XmlTree> m_tree;
};

} // namespace velkor
