#include "NodeDescription.h"

#include "core/schema/SchemaDescription.h"
#include "core/support/Desktop.h"

namespace velkor {

NodeDescription::NodeDescription(Desktop &desktop, QString schemaFile)
    : m_desktop(desktop), m_schemaFile(std::move(schemaFile))
{
}

NodeDescription::~NodeDescription() = default;

void NodeDescription::ShowNodeDescription(const XmlTree &tree, int selectedNode)
{
    if (!m_loadTried) {
        m_loadTried = true;
        m_schemaDoc = SchemaDocument::load(m_schemaFile);
    }
    if (!m_schemaDoc || tree.isEmpty())
        return;
    const QStringList path = describedElementPath(tree, selectedNode);
    if (path.isEmpty())
        return;
    try {
        m_desktop.showTextInfo(describeElement(*m_schemaDoc, path), descriptionCaption(path.last()));
    } catch (...) {
        // Nothing is reported: the description simply does not appear.
    }
}

} // namespace velkor
