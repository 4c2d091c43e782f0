#pragma once

#include <QString>

#include <memory>

namespace velkor {

class Desktop;
class SchemaDocument;
class XmlTree;

// The schema's own documentation of the element behind a tree node, shown in
// the information window. The schema file is read once, at the first use; if
// that fails, nothing is shown then or later in the run.
class NodeDescription
{
public:
    NodeDescription(Desktop &desktop, QString schemaFile);
    ~NodeDescription();

    void ShowNodeDescription(const XmlTree &tree, int selectedNode);

private:
    Desktop &m_desktop;
    QString m_schemaFile;
    bool m_loadTried = false;
    std::unique_ptr<SchemaDocument> m_schemaDoc;
};

} // namespace velkor
