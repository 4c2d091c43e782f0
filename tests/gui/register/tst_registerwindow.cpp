#include "core/register/RegisterSet.h"
#include "core/window/StartupParameters.h"
#include "gui/register/RegisterCommand.h"
#include "gui/register/RegisterModel.h"
#include "gui/register/RegisterWindow.h"

#include "fixtures/WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

using namespace velkor;
using namespace velkor::test;

namespace {

QByteArray invoiceBytes(const char *number, const char *date, const char *gross)
{
    TestInvoice invoice;
    invoice.faStart = QStringLiteral("<KodWaluty>PLN</KodWaluty>\n<P_1>%1</P_1>\n<P_2>%2</P_2>\n")
                          .arg(QLatin1String(date), QLatin1String(number));
    invoice.totals = QStringLiteral("<P_15>%1</P_15>\n").arg(QLatin1String(gross));
    return invoice.toXml().toUtf8();
}

} // namespace

class TestRegisterWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }

    // F8, the folder dialog, the rows read, sorted, filtered, exported and opened.
    void throughTheKeyboard()
    {
        QTemporaryDir folder;
        writeTestFile(folder.path(), QStringLiteral("a.xml"), invoiceBytes("FV/1/2026", "2026-01-31", "900.00"));
        writeTestFile(folder.path(), QStringLiteral("b/c.xml"), invoiceBytes("FV/2/2026", "2026-02-01", "1000.00"));
        writeTestFile(folder.path(), QStringLiteral("d.xml"), invoiceBytes("FV/3/2026", "2026-02-11", "50.00"));
        WindowFixture f;
        QVERIFY(f.startFresh());
        f.desktop.folderResult = folder.path();
        QTest::keyClick(f.window.get(), Qt::Key_F8);
        RegisterWindow *window = f.window->commands().registerCommand().window();
        QVERIFY(window);
        const QString title = QStringLiteral("Rejestr faktur  »»  ") + QDir::toNativeSeparators(folder.path());
        QTRY_COMPARE(window->windowTitle(), title);
        QCOMPARE(window->model().rowCount(), 3);
        QVERIFY(window->totalsText().endsWith(QStringLiteral("PLN: 3 faktury; P_15 1950,00")));

        // Amounts sort as numbers, not as text.
        window->table()->sortByColumn(registerColumns().indexOf(QStringLiteral("P_15")), Qt::DescendingOrder);
        QCOMPARE(window->filter().index(0, 0).data().toString(), QStringLiteral("b/c.xml"));
        QCOMPARE(window->filter().index(2, 0).data().toString(), QStringLiteral("d.xml"));

        auto *month = window->findChild<QComboBox *>(QStringLiteral("Miesiac"));
        QCOMPARE(month->count(), 3); // every month, 2026-01, 2026-02
        month->setCurrentIndex(2);
        QCOMPARE(window->filter().rowCount(), 2);
        QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("Filtr")), QStringLiteral("fv/3"));
        QCOMPARE(window->filter().rowCount(), 1);
        QVERIFY(window->totalsText().endsWith(QStringLiteral("PLN: 1 faktura; P_15 50,00")));

        f.desktop.saveDialogResult = folder.filePath(QStringLiteral("rejestr.csv"));
        QTest::keyClick(window->table(), Qt::Key_S, Qt::ControlModifier);
        QFile csv(f.desktop.saveDialogResult);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), registerCsv(window->filter().shownRows()));
        QCOMPARE(int(window->filter().shownRows().size()), 1);

        window->table()->setFocus();
        window->table()->setCurrentIndex(window->filter().index(0, 0));
        QTest::keyClick(window->table(), Qt::Key_Return);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Velkor  ") + QDir::toNativeSeparators(folder.filePath(QStringLiteral("d.xml"))));
        QVERIFY(f.desktop.messages.isEmpty());

        // Every valid row shown as a PDF, none written over.
        QTemporaryDir pdfs;
        writeTestFile(pdfs.path(), QStringLiteral("FV_1_2026.pdf"), "mine");
        f.desktop.folderResult = pdfs.path();
        window->findChild<QLineEdit *>(QStringLiteral("Filtr"))->clear();
        month->setCurrentIndex(0);
        QTest::keyClick(window->table(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QDir(pdfs.path()).entryList(QDir::Files),
                 QStringList({"FV_1_2026 (2).pdf", "FV_1_2026.pdf", "FV_2_2026.pdf", "FV_3_2026.pdf"}));
        QCOMPARE(fileBytes(pdfs.filePath(QStringLiteral("FV_1_2026.pdf"))), QByteArray("mine"));
        QVERIFY(fileBytes(pdfs.filePath(QStringLiteral("FV_2_2026.pdf"))).startsWith("%PDF"));
        QVERIFY(f.desktop.messages.isEmpty());

        QTest::keyClick(window->table(), Qt::Key_Escape);
        QTRY_VERIFY(!f.window->commands().registerCommand().window());
    }

    // Shift+F8: several files, or one package, from the open dialog; a
    // package's CSV is offered beside it, not inside it.
    void filesOrPackage()
    {
        QTemporaryDir folder;
        const QString a = writeTestFile(folder.path(), QStringLiteral("a.xml"), invoiceBytes("FV/1/2026", "2026-01-31", "1.00"));
        const QString b = writeTestFile(folder.path(), QStringLiteral("b.xml"), invoiceBytes("FV/2/2026", "2026-01-31", "2.00"));
        const QString zip = writeTestFile(folder.path(), QStringLiteral("paczka.zip"), "PK");
        WindowFixture f;
        QVERIFY(f.startFresh());
        f.desktop.filesResult = QStringList{a, b};
        QTest::keyClick(f.window.get(), Qt::Key_F8, Qt::ShiftModifier);
        RegisterWindow *window = f.window->commands().registerCommand().window();
        QVERIFY(window);
        QTRY_VERIFY(!window->isReading());
        QCOMPARE(window->model().rowCount(), 2);
        QCOMPARE(window->model().row(1).number, QStringLiteral("FV/2/2026"));

        f.desktop.filesResult = QStringList{zip};
        QTest::keyClick(f.window.get(), Qt::Key_F8, Qt::ShiftModifier);
        QTRY_VERIFY(!window->isReading());
        QCOMPARE(window->windowTitle(), QStringLiteral("Rejestr faktur  »»  ") + QDir::toNativeSeparators(zip));
        QCOMPARE(window->model().rowCount(), 1);
        window->exportCsv();
        QCOMPARE(f.desktop.saveDialogCalls.size(), 1);
        QCOMPARE(f.desktop.saveDialogCalls[0][1], QFileInfo(zip).absolutePath() + QStringLiteral("/rejestr.csv"));
    }

    // A folder or a package named at start opens the register, as the
    // whole parameter string, and only as an absolute path.
    void startupPath()
    {
        QTemporaryDir folder;
        writeTestFile(folder.path(), QStringLiteral("a.xml"), invoiceBytes("FV/1/2026", "2026-01-31", "1.00"));
        QCOMPARE(startupRegisterPath(folder.path()), folder.path());
        QCOMPARE(startupRegisterPath(folder.path() + QStringLiteral("«»")), QString());
        QCOMPARE(startupRegisterPath(QStringLiteral("ksef¤¤") + folder.path()), QString());
        QCOMPARE(startupRegisterPath(folder.filePath(QStringLiteral("a.xml"))), QString());
        QTemporaryDir packages;
        const QString zip = writeTestFile(packages.path(), QStringLiteral("paczka.zip"), "PK");
        QCOMPARE(startupRegisterPath(zip), zip);
        QCOMPARE(startupRegisterPath(packages.filePath(QStringLiteral("brak.zip"))), QString());
        QVERIFY(QDir::setCurrent(folder.path()));
        QCOMPARE(startupRegisterPath(QStringLiteral(".")), QString());
        WindowFixture::clearSettings();
        WindowFixture f;
        QVERIFY(f.start(folder.path()));
        RegisterWindow *window = f.window->commands().registerCommand().window();
        QVERIFY(window);
        QTRY_VERIFY(!window->isReading());
        QCOMPARE(window->model().rowCount(), 1);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Velkor"));
    }
};

QTEST_MAIN(TestRegisterWindow)
#include "tst_registerwindow.moc"
