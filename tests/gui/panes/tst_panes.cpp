
#include "fixtures/WindowFixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

TestInvoice invoiceWithLines()
{
    TestInvoice invoice;
    invoice.lines = invoiceLine("1", {{"P_7", "Krzesło"}, {"Indeks", "KR-1"}, {"P_8A", "szt"}, {"P_8B", "3"},
                                      {"P_9A", "12.5"}, {"P_11", "37.5"}, {"P_12", "23"}})
                    + invoiceLine("2", {{"P_7", "Stół"}, {"P_8B", "1"}, {"P_9A", "100"}, {"P_11", "100"},
                                        {"P_12", "23"}, {"KursWaluty", "4.25"}});
    return invoice;
}

TestInvoice correctingInvoice()
{
    TestInvoice invoice = invoiceWithLines();
    invoice.correcting(2);
    return invoice;
}

TestInvoice oneLineInvoice()
{
    TestInvoice invoice;
    invoice.lines = invoiceLine("7", {{"P_7", "Inny"}, {"P_8B", "1"}, {"P_9A", "1"}, {"P_11", "1"}, {"KursWaluty", "4.25"}});
    return invoice;
}

} // namespace

class TestPanes : public QObject
{
    Q_OBJECT
    WindowFixture f;

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }
    void init() { QVERIFY(f.startFresh()); }
    void cleanup() { f.stop(); }

    // CTest runs this test under a comma and under a point locale.
    void regionalSeparatorIsInEffect()
    {
        const QByteArray expected = qgetenv("VELKOR_EXPECTED_DECIMAL_POINT");
        if (!expected.isEmpty())
            QCOMPARE(QLocale::system().decimalPoint(), QString::fromUtf8(expected));
    }

    // A load while the lines have the focus, as after a first load, fills
    // the panes as the first load does.
    void loadFillsEveryPaneAndFocusesTheLines()
    {
        auto &c = f.c();
        f.paste(oneLineInvoice().toXml());
        QCOMPARE(QApplication::focusWidget(), c.lista);
        // Its one rate is the common rate, shown in the header list.
        QCOMPARE(f.window->state().commonRate, regional("4.250000"));
        QCOMPARE(c.listaSModel->row(7).cells(), (QStringList{"Kurs", regional("4.250000")}));
        f.paste(invoiceWithLines().toXml());
        QVERIFY(f.desktop.messages.isEmpty());
        QCOMPARE(c.listaModel->rowCount(), 2);
        QCOMPARE(c.listaModel->row(1).cell(4), regional("425.00"));
        QCOMPARE(c.countPanel->text(), QStringLiteral("2"));
        QCOMPARE(c.ramka->title(), QStringLiteral("Pozycje faktury netto  F6"));
        QCOMPARE(c.lista->selectedRow(), 0);
        QCOMPARE(c.listaSModel->row(0).cell(0), QStringLiteral("NIP"));
        QCOMPARE(c.listaS->selectedRow(), 0);
        QVERIFY(c.listaKModel->isEmpty());
        QVERIFY(!c.korygowane->isEnabled());
        QCOMPARE(QApplication::focusWidget(), c.lista);
        QVERIFY(c.infoPanel->text().startsWith(QStringLiteral("Lp: 1   KodDostawcy: KR-1   Jm: szt   Ilość: ") + regional("3.00")));
        QCOMPARE(c.listaEModel->row(3).cells(), (QStringList{"Ilość", regional("3.00")}));
        QVERIFY(!f.window->state().refreshing);
        // Two lines with different rates: no common rate, no "Kurs" header row.
        QVERIFY(f.window->state().commonRate.isEmpty());
    }

    // A load while another window is active, as a file dropped from it,
    // completes the panes at once: no focus event comes to the lines yet.
    void loadIntoAnInactiveWindowShowsTheFirstLine()
    {
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f.paste(invoiceWithLines().toXml());
        QVERIFY(!f.c().listaEModel->isEmpty());
        QCOMPARE(f.c().listaEModel->row(0).cells(), (QStringList{"Lp", "1"}));
    }

    void invoiceWithoutLinesFocusesTheHeaderList()
    {
        auto &c = f.c();
        f.paste(TestInvoice().toXml());
        QCOMPARE(c.ramka->title(), QStringLiteral("Pozycje faktury  F6"));
        f.paste(invoiceWithLines().toXml());
        f.paste(TestInvoice().toXml());
        QVERIFY(c.listaModel->isEmpty());
        QCOMPARE(c.countPanel->text(), QString());
        // The caption keeps what the last fill with lines set.
        QCOMPARE(c.ramka->title(), QStringLiteral("Pozycje faktury netto  F6"));
        QCOMPARE(QApplication::focusWidget(), c.listaS);
        QCOMPARE(c.infoPanel->text(), QStringLiteral("NIP: 6891152920"));
    }

    // Without lines of its own, an advance invoice shows its order's: their
    // caption and count, every field with its VAT amount on F7, the reveal
    // to the order's line; the next invoice with lines shows them as before.
    void advanceInvoiceShowsTheOrdersLines()
    {
        auto &c = f.c();
        f.paste(QString::fromUtf8(fileBytes(ownExample("faktura-zaliczkowa.xml"))));
        QCOMPARE(c.ramka->title(), QStringLiteral("Pozycje zamówienia  F6"));
        QCOMPARE(c.ramkaE->title(), QStringLiteral("Pozycja zamówienia  F7"));
        QCOMPARE(c.countPanel->text(), QStringLiteral("1"));
        const QString price = regional("10000.00");
        QCOMPARE(c.listaModel->row(0).cells(), (QStringList{"1", "PC-12", "szt", regional("1.00"), price, " ", price, "", "23",
                                                            "", "Pompa ciepła „Żubr” 12 kW", "", "", ""}));
        QStringList details;
        for (const ListRow &row : c.listaEModel->rows())
            details << row.cell(0) + u' ' + row.tag.section(u'\t', 0, 0).section(QStringLiteral(" / "), 3);
        QCOMPARE(details, (QStringList{"Lp NrWierszaZam", "KodDostawcy IndeksZ", "Jm P_8AZ", "Ilość P_8BZ", "Cena P_9AZ",
                                       "Wartość P_11NettoZ", "VAT P_12Z", "Nazwa P_7Z", "Kwota VAT "}));
        QCOMPARE(c.listaEModel->rows().back().cell(1), regional("2300.00"));
        QTRY_COMPARE(f.window->state().tree->fullPath(c.treeModel->nodeOf(c.drzewo->currentIndex())),
                     QStringLiteral("Fa / Zamowienie / ZamowienieWiersz"));
        f.paste(invoiceWithLines().toXml());
        QCOMPARE(c.ramka->title(), QStringLiteral("Pozycje faktury netto  F6"));
        QCOMPARE(c.ramkaE->title(), QStringLiteral("Pozycja faktury  F7"));
        QCOMPARE(c.listaModel->rowCount(), 2);
    }

    void correctionsPaneSwapsWithTheHeaderPane()
    {
        auto &c = f.c();
        f.paste(correctingInvoice().toXml());
        QVERIFY(c.korygowane->isEnabled());
        QCOMPARE(c.listaKModel->rowCount(), 2);
        QCOMPARE(c.listaKModel->row(1).tag, QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej\t2"));
        QCOMPARE(c.listaK->selectedRow(), 0);

        c.korygowane->click();
        QVERIFY(c.ramkaK->isVisible() && !c.ramkaS->isVisible());
        QCOMPARE(QApplication::focusWidget(), c.listaK);
        QCOMPARE(c.infoPanel->text(), QStringLiteral("Data: 2026-01-31   Dokument: FV/1/2026"));

        c.korygowane->click();
        QVERIFY(!c.ramkaK->isVisible() && c.ramkaS->isVisible());
        QCOMPARE(QApplication::focusWidget(), c.listaS);

        // Loading an ordinary invoice while the corrections pane is shown
        // brings the header pane back and disables the box.
        c.korygowane->click();
        QVERIFY(c.ramkaK->isVisible());
        f.paste(invoiceWithLines().toXml());
        QVERIFY(!c.korygowane->isChecked() && !c.korygowane->isEnabled());
        QVERIFY(c.ramkaS->isVisible() && !c.ramkaK->isVisible());
    }

    void statusFollowsTheFocusedPane()
    {
        auto &c = f.c();
        f.paste(correctingInvoice().toXml());

        c.listaS->setFocus();
        QCOMPARE(c.infoPanel->text(), QStringLiteral("NIP: 6891152920"));
        c.lista->selectRow(1); // while the lines lack the focus
        c.drzewo->setCurrentIndex(c.treeModel->index(0, 0));
        c.drzewo->setFocus();
        QCOMPARE(c.infoPanel->text(), QStringLiteral("Naglowek"));
        // The lines' focus shows the selected line and its details.
        c.lista->setFocus();
        QVERIFY(c.infoPanel->text().startsWith(QStringLiteral("Lp: 2   Ilość: ") + regional("1.00")));
        QCOMPARE(c.listaEModel->row(0).cells(), (QStringList{"Lp", "2"}));
        c.listaE->setFocus();
        QCOMPARE(c.infoPanel->text(), QStringLiteral("Lp: 2"));
        c.ramkaT->show();
        c.struktura->setFocus();
        QCOMPARE(c.infoPanel->text(), QString());
    }

    // A line's long text is cut short in the info panel, whose minimum is
    // 1440 twips whatever it holds, so the check's panel stays in view.
    void theCheckPanelStaysInView()
    {
        auto &c = f.c();
        f.window->showNormal();
        f.window->resize(1000, 700);
        TestInvoice invoice;
        invoice.lines = invoiceLine("1", {{"P_7", QString(200, u'N')}});
        f.paste(invoice.toXml());
        QVERIFY(c.infoPanel->text().endsWith(QString(200, u'N')));
        QCOMPARE(c.infoPanel->minimumSizeHint().width(), 96);
        QVERIFY(c.checkPanel->text().startsWith(QStringLiteral("Kontrola: ")));
        QTRY_VERIFY(c.checkPanel->width() >= c.checkPanel->sizeHint().width());
        QVERIFY(c.checkPanel->geometry().right() < c.checkPanel->parentWidget()->width());
    }

    void clicksAndRevealsDuringTheRefreshAreInert()
    {
        auto &c = f.c();
        f.paste(invoiceWithLines().toXml());
        c.zegar->stop(); // the load's own reveal
        c.infoPanel->setText(QStringLiteral("przed"));
        f.window->state().refreshing = true;
        f.window->panes().onListItemClick(c.listaS, 1);
        f.window->panes().ShowLineDetails(1);
        f.window->textAndReveal().ScheduleReveal(QStringLiteral("Fa / P_2"));
        QCOMPARE(c.infoPanel->text(), QStringLiteral("przed"));
        QCOMPARE(c.listaEModel->row(0).cell(1), QStringLiteral("1"));
        QVERIFY(!c.zegar->isActive());
        f.window->state().refreshing = false;
    }

    void failingLineFillIsReportedAndKeepsEarlierRows()
    {
        // A line without NrWierszaFa cannot pass the schema; a document put
        // in place directly reaches the fill anyway.
        TestInvoice invoice = invoiceWithLines();
        invoice.lines += QStringLiteral("<FaWiersz><P_7>bez numeru</P_7></FaWiersz>");
        f.window->state().invoiceDoc = unvalidatedDocument(invoice.toXml());
        f.window->panes().FillTree();
        auto &c = f.c();
        QCOMPARE(f.desktop.messages.size(), 1);
        QVERIFY(f.desktop.messages[0].text.startsWith(QStringLiteral("Wystąpił błąd w procedurze: FillList\r\n\r\n")));
        QCOMPARE(c.listaModel->rowCount(), 2);
        QCOMPARE(c.countPanel->text(), QString());
        QCOMPARE(c.ramka->title(), QStringLiteral("Pozycje faktury  F6"));
        QVERIFY(!c.listaSModel->isEmpty()); // the other panes still fill
        QVERIFY(!f.window->state().refreshing);
    }

    // Every example invoice, public and our own: one that passes the schema
    // fills every pane without a message and is checked; one that does not
    // is refused with the paste message and changes nothing.
    void everyExampleFillsOrIsRefused()
    {
        QStringList files;
        for (const QString &folder : {examplesFolder(), QFileInfo(ownExample("x")).absolutePath()}) {
            const QDir dir(folder);
            for (const QString &name : dir.entryList({QStringLiteral("*.xml")}, QDir::Files))
                files << dir.filePath(name);
        }
        QVERIFY(files.size() >= 10);
        static const InvoiceSchema schema = InvoiceSchema::compile(schemaFile());
        for (const QString &path : files) {
            const QByteArray bytes = fileBytes(path);
            const bool valid = bool(parseInvoice(bytes, TextEncoding::Utf8, schema).document);
            f.desktop.messages.clear();
            f.paste(QString::fromUtf8(bytes));
            if (!valid) {
                QCOMPARE(f.desktop.messages.size(), 1);
                QCOMPARE(f.desktop.messages[0].title, QStringLiteral("Wklej XML - błąd"));
                continue;
            }
            QVERIFY2(f.desktop.messages.isEmpty(), qPrintable(path));
            QVERIFY2(!f.c().listaSModel->isEmpty(), qPrintable(path));
            const bool corrects = bytes.contains("<DaneFaKorygowanej>");
            QCOMPARE(f.c().korygowane->isEnabled(), corrects);
            QCOMPARE(f.c().listaKModel->isEmpty(), !corrects);
            // F9 shows its check with the verification link.
            f.window->commands().Command_Click(10);
            QVERIFY2(!f.desktop.checkReports.isEmpty() && !f.desktop.checkReports.last().link.isEmpty(), qPrintable(path));
            QVERIFY(f.c().checkPanel->text().startsWith(QStringLiteral("Kontrola: ")));
        }
    }
};

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
