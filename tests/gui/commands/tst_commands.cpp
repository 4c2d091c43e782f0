#include "core/commands/TableText.h"
#include "core/tree/XmlTree.h"

#include "fixtures/WindowFixture.h"

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

// What a user sees of the window and the desktop: the focused pane, the
// clipboard, the windows shown and the view.
struct Seen
{
    QString focus, clipboard;
    qsizetype messages = 0, dialogs = 0, infos = 0, checks = 0;
    bool textView = false, corrections = false;
};

} // namespace

// The keys and buttons of the panes, in the view and corrections states that
// change what they do.
class TestCommands : public QObject
{
    Q_OBJECT
    WindowFixture f;

    WindowControls &c() { return f.c(); }
    QWidget *focused() { return QApplication::focusWidget(); }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = focused() ? focused() : f.window.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    Seen seen()
    {
        const FakeDesktop &d = f.desktop;
        Seen now{focused() ? focused()->objectName() : QString(), d.clipboard, d.messages.size(), d.dialogCalls.size(),
                 d.textInfos.size(), d.checkReports.size(), c().ramkaT->isVisible(), c().korygowane->isChecked()};
        return now;
    }

    // What changed between two looks, in words: the copied text's first line
    // with its CR ("…" when more follow), the windows shown, the view and the focus.
    QString changes(const Seen &before, const Seen &after)
    {
        QStringList said;
        const QString first = after.clipboard.section(u'\n', 0, 0);
        if (after.clipboard != before.clipboard)
            said << "copied " + first + (first == after.clipboard ? "" : "…");
        if (after.messages > before.messages)
            said << "message " + f.desktop.messages.last().title;
        if (after.dialogs > before.dialogs)
            said << "dialog " + f.desktop.dialogCalls.last().value(2);
        if (after.infos > before.infos)
            said << "info " + f.desktop.textInfos.last().second;
        if (after.checks > before.checks)
            said << "check";
        if (after.textView != before.textView)
            said << (after.textView ? "text view" : "structure view");
        if (after.corrections != before.corrections)
            said << (after.corrections ? "corrections" : "header");
        if (after.focus != before.focus)
            said << "focus " + after.focus;
        return said.join("; ");
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

    // Every row of the key table, and the buttons without a key, in the
    // states that change what they do. Each starts with the focus on the
    // view's check box and a row chosen in every list.
    void everyKeyDoesItsCommandOnly_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("keys"); // a key sequence, or "Command<n>" for a button
        QTest::addColumn<QString>("effect");
        const QString table = QStringLiteral("Lp\tKodDostawcy\tJm\tIlość\tCena\tCenaW\tWartość\tWartośćW\tVAT\tKurs\tNazwa\tEAN\tGTU\tPKWIU\r…");
        const QList<QStringList> rows{
            {"loaded", "Esc", "message Zakończ?"},
            {"loaded", "Shift+Esc", ""},
            {"loaded", "F1", "info Informacje dla: KodFormularza"}, // from the value below the element
            {"loaded", "F2", "focus Drzewo"},
            {"loaded", "Ctrl+F2", "copied FA; focus Drzewo"},
            {"loaded", "Shift+F2", "copied <?xml version=\"1.0\" encoding=\"UTF-8\"?>…; focus Drzewo"},
            {"loaded", "Ctrl+Shift+F2", ""},
            {"loaded", "F3", "focus ListaS"},
            {"loaded", "Ctrl+F3", "copied Sprzedawca Sp. z o.o.; focus ListaS"},
            {"loaded", "F4", ""},
            {"loaded", "F5", "dialog Importuj FA3 z pliku XML"},
            {"loaded", "Ctrl+F5", "message Wklej XML - błąd"},
            {"loaded", "Ctrl+Num+F5", "message Wklej XML - błąd"},
            {"loaded", "Shift+F5", ""},
            {"loaded", "Alt+F5", ""},
            {"loaded", "F6", "focus Lista"},
            {"loaded", "Ctrl+F6", "copied " + table + "; focus Lista"},
            {"loaded", "F7", "focus ListaE"},
            {"loaded", "Ctrl+F7", "copied 1; focus ListaE"},
            {"loaded", "F9", "check"},
            {"loaded", "F11", "text view; focus Struktura"},
            {"loaded", "Ctrl+F11", ""},
            {"loaded", "F12", "corrections; focus ListaK"},
            {"nothing selected", "Ctrl+F3", "focus ListaS"}, // the clipboard keeps its text
            {"corrections", "F3", "focus ListaK"},
            {"corrections", "Ctrl+F3", "copied FV/1/2026; focus ListaK"},
            {"corrections", "F12", "header; focus ListaS"},
            {"text view", "F1", ""},
            {"text view", "F2", "focus Struktura"},
            {"text view", "Ctrl+F2", "copied Naglowek / KodFormularza / FA\r…; focus Struktura"},
            {"text view", "Shift+F2", ""},
            {"text view", "Command5", "copied <?xml version=\"1.0\" encoding=\"UTF-8\"?>…; focus Struktura"},
            {"text view", "Ctrl+F3", "copied Sprzedawca Sp. z o.o.; focus ListaS"},
            {"text view", "F6", ""},
            {"text view", "Ctrl+F6", ""},
            {"text view", "F11", "structure view; focus Drzewo"},
            {"ordinary invoice", "F12", "focus ListaS"}, // the box is disabled
            {"nothing loaded", "F2", ""},
            {"nothing loaded", "F3", ""},
            {"nothing loaded", "F6", ""},
            {"nothing loaded", "F7", ""},
            {"nothing loaded", "F9", ""},
            {"nothing loaded", "Ctrl+F6", ""},
            {"nothing loaded", "Ctrl+F7", ""},
            {"nothing loaded", "Shift+F2", "focus Drzewo"},
            {"nothing loaded", "Command11", ""},
        };
        for (const QStringList &row : rows)
            QTest::addRow("%s, %s", qPrintable(row[0]), qPrintable(row[1])) << row[0] << row[1] << row[2];
    }
    void everyKeyDoesItsCommandOnly()
    {
        QFETCH(QString, state);
        QFETCH(QString, keys);
        QFETCH(QString, effect);
        if (state == u"nothing loaded") {
            f.stop();
            QVERIFY(f.startFresh());
        } else if (state == u"ordinary invoice") {
            f.paste(ordinaryInvoice().toXml());
        }
        // No event loop runs from here on: the pending reveal waits.
        const QModelIndex kod = c().treeModel->index(0, 0, c().treeModel->index(0, 0));
        c().drzewo->setCurrentIndex(c().treeModel->index(0, 0, kod)); // the text "FA" of KodFormularza
        for (ListView *list : {c().listaS, c().listaE, c().listaK}) {
            if (state == u"nothing selected")
                list->clearSelection();
            else if (!list->listModel()->isEmpty())
                list->selectRow(list == c().listaS ? 1 : 0);
        }
        if (state == u"corrections")
            key(Qt::Key_F12);
        else if (state == u"text view")
            key(Qt::Key_F11);
        c().strukturaOn->setFocus();
        f.desktop.nextAnswer = MessageAnswer::Cancel;
        const Seen before = seen();
        if (keys.startsWith(u"Command")) {
            f.window->findChild<QPushButton *>(keys)->click();
        } else {
            const QKeyCombination pressed = QKeySequence::fromString(keys)[0];
            QVERIFY(pressed.key() != Qt::Key_unknown);
            key(pressed.key(), pressed.keyboardModifiers());
        }
        QCOMPARE(changes(before, seen()), effect);
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

    // A list as a spreadsheet takes it: TABs between cells, CR LF between
    // lines and none at the end, no no-break spaces after the first cell.
    void tableTextForASpreadsheet_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("withHeader");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole table") << QList<int>{0, 1, 2} << true
                                     << "Lp\tX\tIlość\r\n1\ta\t3,00\r\n2\t\t\r\n1 000\t1234,50\t2,50";
        QTest::newRow("chosen rows") << QList<int>{0, 2} << false << "1\ta\t3,00\r\n1 000\t1234,50\t2,50";
        QTest::newRow("no rows") << QList<int>{} << false << "";
        QTest::newRow("header only") << QList<int>{} << true << "Lp\tX\tIlość";
    }
    void tableTextForASpreadsheet()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(bool, withHeader);
        QFETCH(QString, text);
        const QString nbsp(QChar(0x00A0));
        // The second row lacks its last cells; the third has no-break spaces
        // (the spaces of the expected text).
        const std::vector<ListRow> rows{ListRow({"1", "a", "3,00"}), ListRow({"2"}),
                                        ListRow({"1" + nbsp + "000", "1" + nbsp + "234,50", "2,50"})};
        QCOMPARE(tableText({"Lp", "X", "Ilość"}, rows, chosen, withHeader), QString(text).replace(u' ', nbsp));
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
    // button show the report with the verification link.
    void checkAfterEveryLoadAndOnF9_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("status");
        QTest::newRow("adds up") << "" << "" << "Kontrola: bez uwag";
        QTest::newRow("a total off by 1,00 and a wrong NIP") << "<P_15>1626.44" << "<P_15>1627.44"
                                                               << "Kontrola: 2 błędy";
    }
    void checkAfterEveryLoadAndOnF9()
    {
        QFETCH(QString, original);
        QFETCH(QString, changed);
        QFETCH(QString, status);
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

    // A check that fails still opens on F9, with the failure as its BŁĄD.
    // Here a total of 80 digits: the schema would refuse it, but a document
    // put in place directly reaches the check.
    void failedCheckShowsItsFailureOnF9()
    {
        const QString xml = QString::fromUtf8(fileBytes(ownExample("faktura-podstawowa.xml")))
                                .replace(QStringLiteral("<P_13_1>1234.50"), QStringLiteral("<P_13_1>") + QString(80, u'9'));
        f.window->panes().showInvoice(unvalidatedDocument(xml));
        QCOMPARE(c().checkPanel->text(), QStringLiteral("Kontrola: nie wykonano"));
        f.desktop.checkReports.clear();
        key(Qt::Key_F9);
        QCOMPARE(f.desktop.checkReports.size(), 1);
        QVERIFY2(f.desktop.checkReports[0].text().contains(QStringLiteral("BŁĄD  Kontroli nie dało się wykonać: Przepełnienie")),
                 qPrintable(f.desktop.checkReports[0].text()));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
