#include "commands/CommandDispatch.h"
#include "load/OfflineResources.h"
#include "views/InvoicePanes.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TextAndReveal.h"
#include "views/TreeModel.h"
#include "views/XmlTree.h"
#include "app/InvoiceState.h"

#include "support/TestPaths.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include "views/TextLinesView.h"
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

namespace {

TestInvoice correctingInvoice()
{
    TestInvoice invoice;
    invoice.correcting(1);
    invoice.lines = invoiceLine("1", {{"P_7", "Długopis niebieski z bardzo długą nazwą towaru"}, {"P_8A", "szt"},
                                      {"P_8B", "2"}, {"P_9A", "3"}, {"P_11", "6"}, {"P_12", "23"}})
                    + invoiceLine("2", {{"P_7", "Zeszyt"}, {"P_8B", "1"}, {"P_9A", "4"}, {"P_11", "4"}, {"P_12", "8"}});
    return invoice;
}

TestInvoice ordinaryInvoice()
{
    TestInvoice invoice;
    invoice.lines = invoiceLine("1", {{"P_7", "Papier ksero A4"}, {"P_8A", "ryza"}, {"P_8B", "5"}, {"P_9A", "20"},
                                      {"P_11", "100"}, {"P_12", "23"}})
                    + invoiceLine("2", {{"P_7", "Toner"}, {"P_8B", "1"}, {"P_9A", "10"}, {"P_11", "10"}, {"P_12", "23"}});
    return invoice;
}

// What the panes show once a load has settled: the line details, the
// status bar, the element the reveal selected and the focused pane.
struct Shown
{
    QStringList details;
    QString status;
    QString revealed;
    QString focus;
};

} // namespace

// The keys and buttons of the panes, in the view and corrections states that
// change what they do.
class TestCommands : public QObject
{
    Q_OBJECT
    WindowFixture f;
    QTemporaryDir m_temp;

    MainWindowControls &c() { return f.c(); }
    QWidget *focused() { return QApplication::focusWidget(); }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = focused() ? focused() : f.window.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    void toTextView()
    {
        key(Qt::Key_F11);
        QVERIFY(c().ramkaT->isVisible());
    }

    Shown shown()
    {
        // The reveal follows 200 ms after the line's details.
        if (!QTest::qWaitFor([this] { return !c().zegar->isActive(); }, 2000))
            return {};
        Shown now;
        for (const ListRow &row : c().listaEModel->rows())
            now.details << row.cells();
        now.status = c().infoPanel->text();
        const int node = c().treeModel->nodeOf(c().drzewo->currentIndex());
        if (node != XmlTree::NoNode)
            now.revealed = f.window->state().tree->fullPath(node);
        now.focus = focused() ? focused()->objectName() : QString();
        return now;
    }

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }
    void init()
    {
        QVERIFY(f.startFresh());
        f.paste(correctingInvoice().toXml());
        f.desktop.clipboard = QStringLiteral("stare");
        f.desktop.clipboardWrites = 0;
    }
    void cleanup() { f.stop(); }

    void focusKeysMoveBetweenPanes()
    {
        key(Qt::Key_F3);
        QCOMPARE(focused(), c().listaS);
        key(Qt::Key_F7);
        QCOMPARE(focused(), c().listaE);
        key(Qt::Key_F2);
        QCOMPARE(focused(), c().drzewo);
        key(Qt::Key_F6);
        QCOMPARE(focused(), c().lista);
        key(Qt::Key_F12);
        QVERIFY(c().korygowane->isChecked());
        QCOMPARE(focused(), c().listaK);
        key(Qt::Key_F2);
        key(Qt::Key_F3);
        QCOMPARE(focused(), c().listaK);
        toTextView();
        key(Qt::Key_F6); // the lines frame is hidden in the text view
        QCOMPARE(focused(), c().struktura);
        key(Qt::Key_F2);
        QCOMPARE(focused(), c().struktura);
    }

    // Every load leaves the panes as the first load of that invoice does,
    // wherever the focus was before it and whichever way it was started.
    void everyLoadShowsTheFirstLineAsTheFirstLoadDoes_data()
    {
        QTest::addColumn<int>("focusKey"); // focuses a pane before the second load
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("load");
        const QList<QPair<int, QString>> panes{{Qt::Key_F6, "Lista"}, {Qt::Key_F3, "ListaS"}, {Qt::Key_F2, "Drzewo"}};
        for (const auto &[focusKey, pane] : panes) {
            for (const char *load : {"Ctrl+F5", "button", "F5"})
                QTest::addRow("%s, %s", qPrintable(pane), load) << focusKey << pane << QString::fromLatin1(load);
        }
    }
    void everyLoadShowsTheFirstLineAsTheFirstLoadDoes()
    {
        QFETCH(int, focusKey);
        QFETCH(QString, pane);
        QFETCH(QString, load);
        const QString xml = ordinaryInvoice().toXml();
        const QString path = writeTestFile(m_temp.path(), QStringLiteral("zwykla.xml"), xml.toUtf8());

        f.stop();
        QVERIFY(f.startFresh());
        f.paste(xml);
        const Shown first = shown();
        QCOMPARE(first.focus, QStringLiteral("Lista"));
        QVERIFY(first.details.contains(QStringLiteral("Papier ksero A4")));
        QVERIFY(first.status.startsWith(QStringLiteral("Lp: 1")));
        QVERIFY(first.revealed.startsWith(QStringLiteral("Fa / FaWiersz")));

        f.stop();
        QVERIFY(f.startFresh());
        f.paste(correctingInvoice().toXml());
        key(focusKey);
        QCOMPARE(focused()->objectName(), pane);
        QVERIFY(shown().status != first.status);
        f.desktop.clipboard = xml;
        f.desktop.dialogResult = path;
        if (load == QLatin1String("Ctrl+F5"))
            key(Qt::Key_F5, Qt::ControlModifier);
        else if (load == QLatin1String("button"))
            c().command[9]->click();
        else
            key(Qt::Key_F5);
        const Shown second = shown();
        QCOMPARE(second.details, first.details);
        QCOMPARE(second.status, first.status);
        QCOMPARE(second.revealed, first.revealed);
        QCOMPARE(second.focus, first.focus);
    }

    // Ctrl+Insert copies exactly what Ctrl+C copies in every list, through
    // the program: never the single cell the list itself would copy.
    void bothCopyKeysCopyTheSame_data()
    {
        QTest::addColumn<QString>("list");
        for (const char *list : {"Lista", "ListaS", "ListaE", "ListaK"})
            QTest::newRow(list) << QString::fromLatin1(list);
    }
    void bothCopyKeysCopyTheSame()
    {
        QFETCH(QString, list);
        if (list == QLatin1String("ListaK"))
            key(Qt::Key_F12);
        auto *view = f.window->findChild<ListView *>(list);
        view->setFocus();
        view->selectRow(0);
        const QString cell = view->listModel()->row(0).cell(0);
        key(Qt::Key_C, Qt::ControlModifier);
        const QString copied = f.desktop.clipboard;
        QVERIFY(copied != QStringLiteral("stare") && copied != cell);
        f.desktop.clipboard = QStringLiteral("stare");
        key(Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, copied);
        QCOMPARE(f.desktop.clipboardWrites, 2);
    }

    void ctrlF3CopiesFromTheShownPane()
    {
        c().listaS->selectRow(1);
        key(Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("Sprzedawca Sp. z o.o."));
        QCOMPARE(focused(), c().listaS);
        key(Qt::Key_F12);
        key(Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("FV/1/2026"));
        QCOMPARE(focused(), c().listaK);
        // The same rule in the text view.
        toTextView();
        f.desktop.clipboard.clear();
        key(Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("FV/1/2026"));
    }

    void copyWithoutSelectionKeepsTheClipboardButMovesTheFocus()
    {
        c().listaS->clearSelection();
        c().listaS->selectionModel()->clearCurrentIndex();
        c().lista->setFocus();
        c().command[1]->click();
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
        QCOMPARE(focused(), c().listaS);
    }

    void ctrlF6CopiesTheWholeTableWithItsHeader()
    {
        key(Qt::Key_F6, Qt::ControlModifier);
        const QStringList lines = f.desktop.clipboard.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("Lp\tKodDostawcy\tJm\tIlość\tCena\tCenaW\tWartość\tWartośćW\tVAT\tKurs\tNazwa\tEAN\tGTU\tPKWIU"));
        QCOMPARE(lines[2], QStringLiteral("2\t\t\t") + regional("1.00") + u'\t' + regional("4.00") + QStringLiteral("\t \t")
                               + regional("4.00") + QStringLiteral("\t\t8\t\tZeszyt\t\t\t"));
        QCOMPARE(focused(), c().lista);

        toTextView();
        f.desktop.clipboard = QStringLiteral("stare");
        key(Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
    }

    void ctrlF7CopiesTheSelectedLineField()
    {
        c().listaE->selectRow(0);
        key(Qt::Key_F7, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("1"));
        QCOMPARE(focused(), c().listaE);
    }

    void shiftF2CopiesTheXmlInTheStructureViewOnly()
    {
        c().drzewo->setFocus();
        key(Qt::Key_F2, Qt::ShiftModifier);
        QVERIFY(f.desktop.clipboard.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")));
        QVERIFY(f.desktop.clipboard.contains(u"<NrFaKorygowanej>FV/1/2026</NrFaKorygowanej>"));
        QCOMPARE(focused(), c().drzewo);

        toTextView();
        f.desktop.clipboard = QStringLiteral("stare");
        key(Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
        // The button itself works in any view and then focuses the text.
        c().command[5]->click();
        QVERIFY(f.desktop.clipboard.startsWith(QStringLiteral("<?xml")));
        QCOMPARE(focused(), c().struktura);
    }

    void copyXmlBeforeAnyLoadCopiesNothing()
    {
        f.stop();
        QVERIFY(f.start());
        f.desktop.clipboard = QStringLiteral("stare");
        c().command[5]->click();
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
        QCOMPARE(focused(), c().drzewo);
        for (int index : {1, 2, 3, 4, 6, 7, 11, 12})
            c().command[std::size_t(index)]->click();
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
        QVERIFY(f.desktop.textInfos.isEmpty());
    }

    void ctrlF2CopiesTheNodeTextOrTheWholeTextView()
    {
        c().drzewo->setCurrentIndex(c().treeModel->index(0, 0));
        key(Qt::Key_F2, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("Naglowek"));
        QCOMPARE(focused(), c().drzewo);

        toTextView();
        key(Qt::Key_F2, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, f.window->textAndReveal().builtText());
        QVERIFY(f.desktop.clipboard.contains(QStringLiteral("\r\nFa / FaWiersz / P_7 / Zeszyt\r\n")));
        QVERIFY(!f.desktop.clipboard.endsWith(u'\n'));
    }

    void f12WithTheBoxDisabledKeepsTheHeaderPane()
    {
        f.paste(TestInvoice().toXml());
        QVERIFY(!c().korygowane->isEnabled());
        c().drzewo->setFocus();
        key(Qt::Key_F12);
        QVERIFY(!c().korygowane->isChecked());
        QVERIFY(c().ramkaS->isVisible());
        QCOMPARE(focused(), c().listaS);
    }

    void f3WithAnEmptyListMovesNoFocus()
    {
        f.stop();
        QVERIFY(f.start());
        c().drzewo->setFocus();
        key(Qt::Key_F3);
        key(Qt::Key_F6);
        key(Qt::Key_F7);
        key(Qt::Key_F2);
        QCOMPARE(focused(), c().drzewo);
    }

    void f1DescribesTheSelectedElementFromTheSchema()
    {
        const QModelIndex naglowek = c().treeModel->index(0, 0);
        const QModelIndex kod = c().treeModel->index(0, 0, naglowek);
        c().drzewo->setCurrentIndex(kod);
        key(Qt::Key_F1);
        QCOMPARE(f.desktop.textInfos.size(), 1);
        QCOMPARE(f.desktop.textInfos[0].second, QStringLiteral("Informacje dla: KodFormularza"));
        QVERIFY(f.desktop.textInfos[0].first.startsWith(QStringLiteral("Opis węzła : KodFormularza\r\n")));

        // The value below an element describes the element itself.
        c().drzewo->setCurrentIndex(c().treeModel->index(0, 0, kod));
        c().command[12]->click();
        QCOMPARE(f.desktop.textInfos.size(), 2);
        QCOMPARE(f.desktop.textInfos[1], f.desktop.textInfos[0]);

        // Not in the text view.
        toTextView();
        key(Qt::Key_F1);
        QCOMPARE(f.desktop.textInfos.size(), 2);
    }

    // "«»" fits every column to its widest cell, wherever in the list that
    // is, and to its header text.
    void fitButtonSizesColumnsToContentsAndHeaders_data()
    {
        QTest::addColumn<int>("rows"); // 0: the loaded invoice's two lines
        QTest::addColumn<int>("longRow");
        QTest::newRow("loaded invoice") << 0 << 0;
        QTest::newRow("far below the view") << 3000 << 1500;
        QTest::newRow("last of many") << 3000 << 2999;
    }
    void fitButtonSizesColumnsToContentsAndHeaders()
    {
        QFETCH(int, rows);
        QFETCH(int, longRow);
        const QString longName = QStringLiteral("Długopis niebieski z bardzo długą nazwą towaru");
        if (rows > 0) {
            std::vector<ListRow> many;
            for (int row = 0; row < rows; ++row) {
                QStringList cells(c().listaModel->columnCount(), QStringLiteral("x"));
                cells[10] = row == longRow ? longName : QStringLiteral("Zeszyt");
                many.emplace_back(cells);
            }
            c().listaModel->setRows(std::move(many));
        }
        for (int column = 0; column < c().listaModel->columnCount(); ++column)
            c().lista->setColumnWidth(column, 5);
        c().drzewo->setFocus();
        c().command[11]->click();
        QCOMPARE(focused(), c().lista);
        const QFontMetrics metrics(c().lista->font());
        // "Nazwa" holds a long name, "EAN" only its header.
        QVERIFY(c().lista->columnWidth(10) >= metrics.horizontalAdvance(longName));
        const int ean = c().lista->columnWidth(11);
        QVERIFY(ean >= metrics.horizontalAdvance(QStringLiteral("EAN")));
        QVERIFY(ean < c().lista->columnWidth(10));
    }

    // After every load the status bar counts the check's remarks; F9 and the
    // button show the report with the verification link, and only for a
    // loaded invoice.
    void checkAfterEveryLoadAndOnF9_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("status");
        QTest::newRow("adds up") << "" << "" << "Kontrola: bez uwag";
        QTest::newRow("a total off by 1,00 and a wrong NIP") << "<P_15>1626.44" << "<P_15>1627.44"
                                                               << "Kontrola: 2 uwagi";
    }
    void checkAfterEveryLoadAndOnF9()
    {
        QFETCH(QString, original);
        QFETCH(QString, changed);
        QFETCH(QString, status);
        QVERIFY(f.startFresh());
        key(Qt::Key_F9);
        QVERIFY(f.desktop.checkReports.isEmpty());
        QString xml = QString::fromUtf8(fileBytes(ownExample("faktura-podstawowa.xml")));
        if (!original.isEmpty())
            xml.replace(original, changed).replace(QStringLiteral("<NIP>3935777054"), QStringLiteral("<NIP>3935777055"));
        f.paste(xml);
        QCOMPARE(c().checkPanel->text(), status);
        key(Qt::Key_F9);
        c().command[10]->click();
        QCOMPARE(f.desktop.checkReports.size(), 2);
        const CheckReport &report = f.desktop.checkReports[0];
        QCOMPARE(report.remarkCount(), status == u"Kontrola: bez uwag" ? 0 : 2);
        QVERIFY(report.link.startsWith(QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/6891152920/02-03-2026/")));
        QCOMPARE(report.caption, QStringLiteral("OFFLINE"));
        QVERIFY(report.text().contains(report.link));
    }

    void matchedKeysAreConsumedUnmatchedPassOn()
    {
        // F5 with Alt matches no row and reaches the list, which ignores it;
        // F6 always matches and is consumed even when its condition fails.
        toTextView();
        QVERIFY(f.window->commands().Form_KeyDown(Qt::Key_F6, Qt::NoModifier));
        QVERIFY(!f.window->commands().Form_KeyDown(Qt::Key_F6, Qt::AltModifier));
        QVERIFY(!f.window->commands().Form_KeyDown(Qt::Key_F4, Qt::NoModifier));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
