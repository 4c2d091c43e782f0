#include "check/CheckWindow.h"
#include "check/InvoiceCheck.h"
#include "load/OfflineResources.h"

#include "support/TestDocuments.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

class TestCheckWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    // The window shows the report, draws a QR code that a reader decodes to
    // the link, copies the link, and keeps its place in its own section.
    void showsTheReportAndAReadableCode()
    {
        const QString ksef = QStringLiteral("5265877635-20250826-0100001AF629-AF");
        const auto document = validDocument(fileBytes(ownExample("faktura-podstawowa.xml")), true);
        QVERIFY(document);
        CheckReport report = checkInvoice(*document, buildInvoiceLines(*document, QStringLiteral(",")), ksef,
                                          QStringLiteral(","));
        addVerificationLink(report, *document, ksef);

        QTemporaryDir temp;
        QSettings settings(temp.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat);
        QString copied;
        CheckWindow window(settings, report, [&copied](const QString &text) { copied = text; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Kontrola faktury"));
        QCOMPARE(window.reportView()->toPlainText(), QString(report.text()).remove(u'\r'));
        QCOMPARE(window.captionView()->text(), ksef);

        const QString image = temp.filePath(QStringLiteral("qr.png"));
        QVERIFY(window.qrView()->pixmap().save(image));
        QProcess zbarimg;
        zbarimg.start(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), QStringLiteral("--raw"), image});
        QVERIFY2(zbarimg.waitForFinished(20000), "zbarimg (zbar-tools) is needed");
        QCOMPARE(QString::fromUtf8(zbarimg.readAllStandardOutput()).trimmed(), report.link);

        window.copyLinkButton()->click();
        QCOMPARE(copied, report.link);
        QTest::keyClick(window.reportView(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        for (const char *key : {"Kontrola/Left", "Kontrola/Top", "Kontrola/Width", "Kontrola/Height"})
            QVERIFY2(settings.contains(QLatin1String(key)), key);
        QVERIFY(!settings.contains(QStringLiteral("Kontrola/State")));
    }
};

QTEST_MAIN(TestCheckWindow)
#include "tst_checkwindow.moc"
