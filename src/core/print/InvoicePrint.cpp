#include "InvoicePrint.h"

#include "core/check/Identifiers.h"
#include "core/check/InvoiceCheck.h"
#include "core/print/AttachmentSections.h"
#include "core/print/FieldWriter.h"
#include "core/print/LinesTable.h"
#include "core/print/PrintLabels.h"
#include "core/print/VatSummaryTable.h"
#include "core/support/Decimal.h"
#include "core/tree/XmlNavigation.h"

#include <cstring>
#include <initializer_list>

namespace velkor::print {

namespace {

class DocumentBuilder
{
public:
    DocumentBuilder(const InvoiceDocument &document, const PrintSources &sources)
        : m_document(document), m_sources(sources), m_fa(at("n:Faktura/n:Fa")), m_descriptions(document)
    {
    }

    PrintDocument build()
    {
        PrintDocument result;
        result.title = invoiceTitle(m_document);
        result.number = text("n:Faktura/n:Fa/n:P_2");
        result.titleFields = titleFields();
        addParties(result);
        addLines(result);
        addSection(result, QStringLiteral("Podsumowanie VAT"),
                   vatSummaryItems(m_document, m_sources.separator));
        addSection(result, QStringLiteral("Adnotacje"), faChildrenNamed({"Adnotacje", "FP", "TP", "ZwrotAkcyzy"}));
        addSection(result, QStringLiteral("Korekta"),
                   faChildrenNamed({"PrzyczynaKorekty", "TypKorekty", "DaneFaKorygowanej", "OkresFaKorygowanej",
                                    "NrFaKorygowany", "Podmiot1K", "Podmiot2K", "P_15ZK", "KursWalutyZK"}));
        addSection(result, QStringLiteral("Zaliczki"), faChildrenNamed({"ZaliczkaCzesciowa", "FakturaZaliczkowa"}));
        addSection(result, QStringLiteral("Rozliczenie"), childrenOf(at("n:Faktura/n:Fa/n:Rozliczenie")));
        addSection(result, QStringLiteral("Płatność"), childrenOf(at("n:Faktura/n:Fa/n:Platnosc")));
        addSection(result, QStringLiteral("Warunki transakcji"), childrenOf(at("n:Faktura/n:Fa/n:WarunkiTransakcji")));
        addSection(result, QStringLiteral("Informacje dodatkowe"), remainingDescriptions());
        addSection(result, QStringLiteral("Stopka"), childrenOf(at("n:Faktura/n:Stopka")));
        for (Section &section : attachmentSections(m_document))
            result.sections.push_back(std::move(section));
        result.link = m_sources.link;
        result.qrCaption = m_sources.qrCaption;
        // A handed-over number the check finds wrong is printed nowhere.
        if (!m_sources.ksefNumber.isEmpty() && ksefNumber().isEmpty())
            result.qrCaption.clear();
        return result;
    }

private:
    xmlNode *at(const char *path) const { return FaPath(m_document, path).selectFirst(); }
    QString text(const char *path) const { return NodeText(at(path)).trimmed(); }
    // The handed-over KSeF number, when it is sound and the seller's.
    QString ksefNumber() const
    {
        return sellersKsefNumber(m_sources.ksefNumber, text("n:Faktura/n:Podmiot1/n:DaneIdentyfikacyjne/n:NIP"));
    }

    Fields titleFields()
    {
        std::vector<Item> items;
        FieldWriter writer(m_document, m_sources.separator, items);
        writer.writeField(QStringLiteral("Numer KSeF"), ksefNumber());
        for (const char *name : {"P_1", "P_1M", "P_6"})
            writer.writeElement(firstFaChild(m_document, m_fa, name));
        if (const xmlNode *period = firstFaChild(m_document, m_fa, "OkresFa")) {
            writer.writeField(QStringLiteral("Okres dostawy lub usługi"),
                              NodeText(firstFaChild(m_document, period, "P_6_Od")).trimmed() + QStringLiteral(" – ")
                                  + NodeText(firstFaChild(m_document, period, "P_6_Do")).trimmed());
        }
        writer.writeElement(firstFaChild(m_document, m_fa, "KodWaluty"));
        // The rate every line has, before and after a correction, as the
        // lines list writes a rate.
        const std::optional<Decimal> rate = rateOfEveryLine(m_sources.lines);
        if (rate && *rate != Decimal::fromInt(1))
            writer.writeField(QStringLiteral("Kurs waluty"), rate->format(6, m_sources.separator));
        writer.writeElement(firstFaChild(m_document, m_fa, "KursWalutyZ"));
        QStringList documents;
        for (const xmlNode *wz : faChildren(m_document, m_fa)) {
            if (isFaElement(m_document, wz, "WZ"))
                documents << NodeText(wz).trimmed();
        }
        writer.writeField(labelOf("WZ"), documents.join(QStringLiteral(", ")));
        writer.writeChildren(at("n:Faktura/n:Naglowek"));
        return items.empty() ? Fields() : std::get<Fields>(items.front());
    }

    void addParties(PrintDocument &result)
    {
        Blocks blocks;
        const auto add = [&](const QString &title, const xmlNode *party) {
            if (party)
                blocks.push_back({title, FieldWriter::fieldsOf(m_document, m_sources.separator, party)});
        };
        add(QStringLiteral("Sprzedawca"), at("n:Faktura/n:Podmiot1"));
        add(QStringLiteral("Nabywca"), at("n:Faktura/n:Podmiot2"));
        const std::vector<xmlNode *> third = FaPath(m_document, "n:Faktura/n:Podmiot3").selectAll();
        for (std::size_t i = 0; i < third.size(); ++i) {
            add(third.size() == 1 ? QStringLiteral("Podmiot trzeci") : QStringLiteral("Podmiot trzeci %1").arg(i + 1),
                third[i]);
        }
        add(QStringLiteral("Podmiot upoważniony"), at("n:Faktura/n:PodmiotUpowazniony"));
        result.sections.push_back({QString(), {std::move(blocks)}});
    }

    void addLines(PrintDocument &result)
    {
        if (!m_sources.lines.elements.empty()) {
            addSection(result, QStringLiteral("Pozycje faktury"),
                       {invoiceLinesTable(m_document, m_sources.lines, m_sources.separator, m_descriptions)});
        }
        if (xmlNode *order = at("n:Faktura/n:Fa/n:Zamowienie")) {
            std::vector<Item> items;
            FieldWriter(m_document, m_sources.separator, items)
                .writeElement(firstFaChild(m_document, order, "WartoscZamowienia"));
            const std::vector<xmlNode *> lines = FaPath(m_document, "n:ZamowienieWiersz").selectAll(order);
            if (!lines.empty())
                items.emplace_back(orderLinesTable(m_document, lines, m_sources.separator, m_descriptions));
            addSection(result, QStringLiteral("Zamówienie"), std::move(items));
        }
    }

    std::vector<Item> childrenOf(const xmlNode *element) const
    {
        std::vector<Item> items;
        FieldWriter(m_document, m_sources.separator, items).writeChildren(element);
        return items;
    }

    // The children of Fa with those names, in document order.
    std::vector<Item> faChildrenNamed(std::initializer_list<const char *> names) const
    {
        std::vector<Item> items;
        FieldWriter writer(m_document, m_sources.separator, items);
        const xmlNode *previous = nullptr;
        for (const xmlNode *child : faChildren(m_document, m_fa)) {
            bool wanted = false;
            for (const char *name : names)
                wanted = wanted || std::strcmp(reinterpret_cast<const char *>(child->name), name) == 0;
            // Rows of one table are written with the first of them; every
            // other element (each buyer on the corrected invoice) by itself.
            const ElementLabel *label = elementLabel(reinterpret_cast<const char *>(child->name));
            const bool nextRow = previous && xmlStrEqual(previous->name, child->name) && label
                                 && label->kind == ValueKind::Rows;
            if (wanted && !nextRow)
                writer.writeElement(child);
            previous = child;
        }
        return items;
    }

    // The additional descriptions not printed with a line.
    std::vector<Item> remainingDescriptions()
    {
        std::vector<Item> items;
        const std::vector<const xmlNode *> rest = m_descriptions.remaining();
        if (!rest.empty())
            FieldWriter(m_document, m_sources.separator, items).writeTable(QString(), rest);
        return items;
    }

    static void addSection(PrintDocument &result, const QString &title, std::vector<Item> items)
    {
        if (!items.empty())
            result.sections.push_back({title, std::move(items)});
    }

    const InvoiceDocument &m_document;
    const PrintSources &m_sources;
    xmlNode *m_fa;
    LineDescriptions m_descriptions;
};

} // namespace

PrintDocument buildPrintDocument(const InvoiceDocument &document, const PrintSources &sources)
{
    return DocumentBuilder(document, sources).build();
}

PrintDocument buildInvoicePrintout(const InvoiceDocument &document, const QString &ksefNumber,
                                   const QString &separator, const CheckReport *linked)
{
    const InvoiceLines lines = buildInvoiceLines(document, separator);
    CheckReport linkOnly;
    if (!linked || linked->link.isEmpty()) {
        addVerificationLink(linkOnly, document, ksefNumber);
        linked = &linkOnly;
    }
    return buildPrintDocument(document, {lines, linked->link, linked->caption, ksefNumber, separator});
}

PrintDocument checkReportPrintout(const CheckReport &report)
{
    PrintDocument result;
    result.title = QStringLiteral("Raport kontroli faktury");
    result.number = report.number;
    for (const CheckSection &section : report.sections) {
        QStringList lines;
        for (const Finding &finding : section.findings)
            lines << markText(finding.mark) + u' ' + finding.text;
        result.sections.push_back({section.title, {Paragraph{lines.join(u'\n')}}});
    }
    result.link = report.link;
    result.qrCaption = report.caption;
    return result;
}

} // namespace velkor::print
