// libFuzzer target: arbitrary bytes through the load from text (the
// clipboard's path) and, when the load succeeds, through every pane
// computation, the text view, the reveals and the invoice check. The same bytes are also parsed
// without the schema, so that the panes meet every shape of XML the mutations
// produce, not only the few that stay valid invoices.
#include "core/check/InvoiceCheck.h"
#include "core/check/QrCode.h"
#include "core/commands/StatusText.h"
#include "core/commands/TableText.h"
#include "core/invoice/CorrectedDocuments.h"
#include "core/invoice/HeaderFields.h"
#include "core/invoice/InvoiceLines.h"
#include "core/invoice/LineDetails.h"
#include "core/invoice/ListModel.h"
#include "core/load/InvoiceLoader.h"
#include "core/load/OfflineResources.h"
#include "core/load/XmlErrors.h"
#include "core/schema/SchemaDescription.h"
#include "core/support/Desktop.h"
#include "core/tree/RevealRequest.h"
#include "core/tree/TextView.h"
#include "core/tree/XmlTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <numeric>

using namespace velkor;

namespace {

class QuietDesktop : public Desktop
{
public:
    QString text;
    MessageAnswer showMessage(const Message &) override { return MessageAnswer::Ok; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }
    bool choosePrinter(QPrinter &) override { return false; }
    QString clipboardText() override { return text; }
    void setClipboardText(const QString &value) override { text = value; }
    void showTextInfo(const QString &, const QString &) override {}
    void showCheckReport(const CheckReport &) override {}
};

struct Environment
{
    QTemporaryDir settingsFolder;
    QSettings settings{settingsFolder.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat};
    QuietDesktop desktop;
    QString schemaFile;
    std::unique_ptr<SchemaDocument> schemaDocument;
};

Environment *g_environment = nullptr;

// The schema set: VELKOR_SCHEMA_DIR, else sql/ beside the executable.
QString schemaFile(const char *argv0)
{
    const QString configured = qEnvironmentVariable("VELKOR_SCHEMA_DIR");
    const QString folder = !configured.isEmpty()
                               ? configured
                               : QDir(QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath()).filePath(QStringLiteral("sql"));
    return QDir(folder).filePath(QStringLiteral("schemaFA3.xsd"));
}

// Every pane computation the display refresh and the pane events run.
void exercisePanes(const InvoiceDocument &document)
{
    const auto tree = std::make_shared<const XmlTree>(XmlTree::build(document));
    const TextView text = TextView::build(tree);
    if (text.lineCount() > 0) {
        (void)text.lineText(text.lineCount() - 1);
        (void)text.textBetween(0, 1, text.lineCount() - 1, 3);
    }
    (void)text.wholeText();

    const InvoiceLines lines = buildInvoiceLines(document, QStringLiteral(","));
    const HeaderFields header = buildHeaderFields(document, lines.commonRate, QStringLiteral(","));
    const CorrectedDocuments corrected = buildCorrectedDocuments(document);
    // The invoice check and its link read the same figures and the file's bytes.
    CheckReport check = checkInvoice(document, lines, QStringLiteral("5265877635-20250826-0100001AF629-AF"),
                                     QStringLiteral(","));
    addVerificationLink(check, document, QString());
    (void)check.text();
    (void)QrCode::encode(check.link);

    const QStringList lineHeaders{"Lp", "KodDostawcy", "Jm", "Ilość", "Cena", "CenaW", "Wartość", "WartośćW",
                                  "VAT", "Kurs", "Nazwa", "EAN", "GTU", "PKWIU"};
    QList<int> all(int(lines.rows.size()));
    std::iota(all.begin(), all.end(), 0);
    (void)tableText(lineHeaders, lines.rows, all, true);

    std::vector<QString> requests;
    for (std::size_t i = 0; i < lines.rows.size() && i < 64; ++i) {
        (void)listRowStatus(StatusStyle::AllColumns, lineHeaders, lines.rows[i]);
        const LineDetails details = buildLineDetails(document, *tree, lineHeaders, lines.rows[i], int(i) + 1);
        requests.push_back(details.lineRequest);
        for (const ListRow &row : details.rows)
            requests.push_back(row.tag);
    }
    for (const ListRow &row : header.rows) {
        (void)listRowStatus(StatusStyle::FieldValue, {"Pole", "Zawartość"}, row);
        requests.push_back(row.tag);
    }
    for (const ListRow &row : corrected.rows)
        requests.push_back(row.tag);
    for (const QString &request : requests) {
        const RevealRequest parsed = RevealRequest::parse(request);
        const int node = tree->findNode(parsed.path, parsed.occurrence);
        if (node != XmlTree::NoNode) {
            (void)text.firstLineOf(node);
            (void)tree->occurrenceOf(node);
        }
    }
    for (int node = 0; node < tree->nodeCount() && node < 32; ++node) {
        const QStringList path = describedElementPath(*tree, node);
        if (!path.isEmpty() && g_environment->schemaDocument)
            (void)describeElement(*g_environment->schemaDocument, path);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    initializeXmlLibrary();
    g_environment = new Environment;
    g_environment->schemaFile = schemaFile((*argv)[0]);
    g_environment->schemaDocument = SchemaDocument::load(g_environment->schemaFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Environment &environment = *g_environment;

    environment.desktop.text = QString::fromUtf8(bytes);
    LoadEnvironment load{environment.desktop, environment.settings, environment.schemaFile};
    QString fileName;
    if (const std::unique_ptr<InvoiceDocument> document = PobierzFA3(load, LoadSource::Clipboard, fileName))
        exercisePanes(*document);

    // The same bytes without the schema, with the program's own safeguards.
    XmlErrorCollector quiet;
    XmlDocHandle doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                                   XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_COMPACT
                                       | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (doc && xmlDocGetRootElement(doc.get())) {
        InvoiceDocument document(std::move(doc), QStringLiteral("http://crd.gov.pl/wzor/2025/06/25/13775/"));
        document.setSource(bytes, InvoiceDocument::SourceKind::File); // the file rules read the bytes
        exercisePanes(document);
    }
    return 0;
}
