#include "CorrectedDocuments.h"

#include "core/tree/XmlNavigation.h"

namespace velkor {

CorrectedDocuments buildCorrectedDocuments(const InvoiceDocument &document)
{
    CorrectedDocuments result;
    try {
        int k = 0;
        for (const xmlNode *corrected : FaPath(document, "n:Faktura/n:Fa/n:DaneFaKorygowanej").selectAll()) {
            ++k;
            ListRow row;
            row.setCells({NodeText(firstFaChild(document, corrected, "DataWystFaKorygowanej")),
                                    NodeText(firstFaChild(document, corrected, "NrFaKorygowanej")),
                                    NodeText(firstFaChild(document, corrected, "NrKSeFFaKorygowanej"))});
            row.tag = QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t") + QString::number(k);
            result.rows.push_back(std::move(row));
        }
    } catch (...) {
        result.failure = failureFromCurrentException();
    }
    return result;
}

} // namespace velkor
