#include "CorrectedDocuments.h"

#include "views/XmlNavigation.h"

namespace velkor {

CorrectedDocuments buildCorrectedDocuments(const InvoiceDocument &document)
{
    CorrectedDocuments result;
    try {
        const QByteArray &ns = document.faNamespaceUtf8();
        int k = 0;
        for (const xmlNode *corrected : FaPath(document, "n:Faktura/n:Fa/n:DaneFaKorygowanej").selectAll()) {
            ++k;
            ListRow row;
            row.cells = QStringList{NodeText(firstFaChild(corrected, ns, "DataWystFaKorygowanej")),
                                    NodeText(firstFaChild(corrected, ns, "NrFaKorygowanej")),
                                    NodeText(firstFaChild(corrected, ns, "NrKSeFFaKorygowanej"))};
            row.tag = QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t") + QString::number(k);
            result.rows.push_back(std::move(row));
        }
    } catch (...) {
        result.failure = failureFromCurrentException();
    }
    return result;
}

} // namespace velkor
