#include "core/tree/TextView.h"

#include "fixtures/WindowFixture.h"

using namespace velkor;
using namespace velkor::test;

namespace {

TestInvoice threeLineCorrection()
{
    TestInvoice invoice;
    invoice.correcting(2);
    invoice.beforeLines = QStringLiteral(
        "<DodatkowyOpis><NrWiersza>3</NrWiersza><Klucz>Kolor</Klucz><Wartosc>zielony</Wartosc></DodatkowyOpis>");
    invoice.lines = invoiceLine("1", {{"P_7", "Pierwsza"}, {"P_8A", "szt"}, {"P_8B", "1"}, {"P_9A", "1"}, {"P_11", "1"}})
                    + invoiceLine("2", {{"P_7", "Druga"}, {"P_8B", "5"}, {"P_9A", "2"}, {"P_11", "10"}, {"StanPrzed", "1"}})
                    + invoiceLine("2", {{"P_7", "Druga"}, {"P_8B", "4"}, {"P_9A", "2"}, {"P_11", "8"}})
                    + invoiceLine("3", {{"P_7", "Trzecia"}, {"P_8B", "3"}, {"P_9A", "3"}, {"P_11", "9"}});
    return invoice;
}

} // namespace

class TestReveal : public QObject
{
    Q_OBJECT
    WindowFixture f;

    WindowControls &c() { return f.c(); }

    QString selectedTreePath()
    {
        const int node = c().treeModel->nodeOf(c().drzewo->currentIndex());
        return node < 0 ? QString() : c().treeModel->tree().fullPath(node);
    }

    QString selectedTreeValue()
    {
        const QModelIndex current = c().drzewo->currentIndex();
        return c().treeModel->index(0, 0, current).data().toString();
    }

    // The selected text and the whole line it sits on.
    QPair<QString, QString> textSelection()
    {
        const TextLinesView *text = c().struktura;
        if (!text->textView())
            return {};
        return {text->selectedText(), text->textView()->lineText(text->cursorLine())};
    }

    void clickRow(ListView *list, int row)
    {
        const QRect cell = list->visualRect(list->listModel()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    void showTextViewAndComeBack()
    {
        QTest::keyClick(c().drzewo, Qt::Key_F11);
        QTest::keyClick(c().struktura, Qt::Key_F11);
    }

    // The text view of a 200-line invoice, shown and focused, with no
    // reveal pending.
    TextLinesView *longText()
    {
        TestInvoice invoice;
        for (int line = 1; line <= 200; ++line)
            invoice.lines += invoiceLine(QString::number(line), {{"P_7", QStringLiteral("Towar numer %1").arg(line)}});
        f.paste(invoice.toXml());
        c().zegar->stop();
        c().strukturaOn->click();
        return c().struktura;
    }

private Q_SLOTS:
    void initTestCase() { initializeXmlLibrary(); }
    void init() { QVERIFY(f.startFresh()); }
    void cleanup() { f.stop(); }

    // F11 switches between the tree with the lines and the text view; the
    // text is built at the first switch after a load, and only then.
    void textViewIsBuiltOncePerLoad()
    {
        QTest::keyClick(c().lista, Qt::Key_F11);
        QVERIFY(c().strukturaOn->isChecked());
        QVERIFY(c().ramkaT->isVisible() && !c().ramkaD->isVisible() && !c().ramka->isVisible());
        QCOMPARE(QApplication::focusWidget(), c().struktura);
        QVERIFY(c().struktura->isEmpty()); // before any load
        QTest::keyClick(c().struktura, Qt::Key_F11);
        QVERIFY(!c().strukturaOn->isChecked());
        QVERIFY(c().ramkaD->isVisible() && c().ramka->isVisible() && !c().ramkaT->isVisible());
        QCOMPARE(QApplication::focusWidget(), c().drzewo);

        f.paste(TestInvoice().toXml());
        QVERIFY(f.window->textAndReveal().builtText().isEmpty()); // not before the first switch
        c().strukturaOn->click();
        const QString built = f.window->textAndReveal().builtText();
        QVERIFY(built.startsWith(QStringLiteral("Naglowek / KodFormularza / FA\r\n")));
        QCOMPARE(c().struktura->lineCount(), built.count(QStringLiteral("\r\n")) + 1);
        const TextView *view = c().struktura->textView();
        c().strukturaOn->click();
        c().strukturaOn->click();
        QCOMPARE(c().struktura->textView(), view); // reused, not rebuilt

        // A load switches back to the tree and forgets the text.
        f.paste(threeLineCorrection().toXml());
        QVERIFY(!c().strukturaOn->isChecked() && c().ramkaD->isVisible());
        QVERIFY(f.window->textAndReveal().builtText().isEmpty());
        QVERIFY(c().struktura->isEmpty());
        c().strukturaOn->click();
        QVERIFY(f.window->textAndReveal().builtText().contains(u"Trzecia"));
    }

    // A row of any list reveals its own element in the tree and the text.
    void rowsRevealTheirElementInTreeAndText()
    {
        f.paste(threeLineCorrection().toXml());
        showTextViewAndComeBack();
        QTRY_VERIFY(!c().zegar->isActive()); // the load's own reveal is done
        clickRow(c().listaS, 0); // NIP
        QCOMPARE(c().infoPanel->text(), QStringLiteral("NIP: 6891152920"));
        QVERIFY(c().zegar->isActive());
        QTRY_COMPARE(selectedTreePath(), QStringLiteral("Podmiot1 / DaneIdentyfikacyjne / NIP"));
        QVERIFY(c().drzewo->isExpanded(c().drzewo->currentIndex()));
        QCOMPARE(selectedTreeValue(), QStringLiteral("6891152920"));
        QCOMPARE(textSelection(), qMakePair(QStringLiteral("Podmiot1 / DaneIdentyfikacyjne / NIP"),
                                            QStringLiteral("Podmiot1 / DaneIdentyfikacyjne / NIP / 6891152920")));

        clickRow(c().lista, 2); // line 3, the fourth FaWiersz
        QCOMPARE(c().listaEModel->row(0).cells(), (QStringList{"Lp", "3"}));
        QTRY_COMPARE(selectedTreePath(), QStringLiteral("Fa / FaWiersz"));
        QCOMPARE(c().treeModel->index(0, 0, c().treeModel->index(0, 0, c().drzewo->currentIndex())).data().toString(),
                 QStringLiteral("3"));
        QCOMPARE(textSelection(), qMakePair(QStringLiteral("Fa / FaWiersz"), QStringLiteral("Fa / FaWiersz / NrWierszaFa / 3")));
        // The line's description row reveals that very description.
        int kolor = -1;
        for (int row = 0; row < c().listaEModel->rowCount(); ++row)
            kolor = c().listaEModel->row(row).cell(0) == u"Kolor" ? row : kolor;
        QVERIFY(kolor >= 0);
        clickRow(c().listaE, kolor);
        QTRY_COMPARE(selectedTreePath(), QStringLiteral("Fa / DodatkowyOpis"));
        QCOMPARE(textSelection().second, QStringLiteral("Fa / DodatkowyOpis / NrWiersza / 3"));

        // A corrected document's row reveals its own occurrence.
        c().korygowane->click();
        clickRow(c().listaK, 1);
        QTRY_COMPARE(selectedTreeValue(), QStringLiteral("FV/2/2026"));
        QCOMPARE(selectedTreePath(), QStringLiteral("Fa / DaneFaKorygowanej / NrFaKorygowanej"));
    }

    // Of quick requests the last wins; a path not in the tree collapses it
    // and leaves the text's selection.
    void revealsAreDeferredAndMayFindNothing()
    {
        f.paste(TestInvoice().toXml());
        showTextViewAndComeBack();
        QTRY_VERIFY(!c().zegar->isActive());
        c().listaS->setFocus();
        clickRow(c().listaS, 0);
        clickRow(c().listaS, 1);
        QTRY_VERIFY(!c().zegar->isActive());
        QCOMPARE(selectedTreePath(), QStringLiteral("Podmiot1 / DaneIdentyfikacyjne / Nazwa"));
        // Moving on with the keyboard does the same.
        QTest::keyClick(c().listaS, Qt::Key_Down);
        QTest::keyClick(c().listaS, Qt::Key_Down);
        QTRY_COMPARE(selectedTreePath(), QStringLiteral("Fa / RodzajFaktury"));

        const auto before = textSelection();
        QCOMPARE(before.first, QStringLiteral("Fa / RodzajFaktury"));
        f.window->textAndReveal().ScheduleReveal(QStringLiteral("Fa / Brak\t1"));
        QTRY_VERIFY(!c().zegar->isActive());
        for (int row = 0; row < c().treeModel->rowCount(); ++row)
            QVERIFY(!c().drzewo->isExpanded(c().treeModel->index(row, 0)));
        QCOMPARE(textSelection(), before);
    }

    void ctrlCCopiesSelectedLinesAndValues()
    {
        // In an empty list the key is consumed and copies nothing.
        f.desktop.clipboard = QStringLiteral("stare");
        c().lista->setFocus();
        QTest::keyClick(c().lista, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
        QCOMPARE(f.desktop.clipboardWrites, 0);

        f.paste(threeLineCorrection().toXml());
        c().lista->setFocus();
        c().lista->selectAll();
        QTest::keyClick(c().lista, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = f.desktop.clipboard.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("1\t\tszt\t") + regional("1.00")));
        QVERIFY(lines[2].startsWith(QStringLiteral("3\t")));
        QCOMPARE(lines[0].count(u'\t'), 13);

        // No selected line: the clipboard ends up empty.
        c().lista->clearSelection();
        QTest::keyClick(c().lista, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QString());

        c().listaS->setFocus();
        c().listaS->selectRow(1);
        QTest::keyClick(c().listaS, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("Sprzedawca Sp. z o.o."));

        // Nothing selected in a field list: the clipboard keeps its text.
        c().listaS->clearSelection();
        c().listaS->selectionModel()->clearCurrentIndex();
        QTest::keyClick(c().listaS, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("Sprzedawca Sp. z o.o."));
    }

    void textBoxSelectsCopiesAndScrolls()
    {
        TextLinesView *text = longText();
        const TextView *view = text->textView();
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(text->selectedText(), view->lineText(0));
        QTest::keyClick(text, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(f.desktop.clipboard.startsWith(view->lineText(0) + QStringLiteral("\r\n")));
        // Moving without Shift drops the selection: nothing to copy.
        QTest::keyClick(text, Qt::Key_Right);
        QCOMPARE(text->selectedText(), QString());
        f.desktop.clipboard = QStringLiteral("stare");
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.desktop.clipboard, QStringLiteral("stare"));
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(text->selectedText(), view->wholeText());

        // Dragging over a line break selects it; a double click the line.
        QWidget *area = text->viewport();
        const int height = text->fontMetrics().lineSpacing();
        const QPoint first(1, height / 2), second(1, height + height / 2);
        QTest::mousePress(area, Qt::LeftButton, {}, first);
        QMouseEvent move(QEvent::MouseMove, second, area->mapToGlobal(second), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area, &move);
        QTest::mouseRelease(area, Qt::LeftButton, {}, second);
        QCOMPARE(text->selectedText(), view->lineText(0) + QStringLiteral("\r\n"));
        QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(20, height / 2));
        QCOMPARE(text->selectedText(), view->lineText(0));

        // A revealed line is scrolled into view.
        const int last = text->lineCount() - 1;
        text->selectInLine(last, 0, 13);
        QCOMPARE(text->selectedText(), QStringLiteral("Fa / FaWiersz"));
        QVERIFY(text->firstVisibleLine() > 0 && text->firstVisibleLine() <= last);
        QVERIFY(last - text->firstVisibleLine() < text->viewport()->height() / text->fontMetrics().lineSpacing());
        QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(text->firstVisibleLine(), 0);
    }
};

QTEST_MAIN(TestReveal)
#include "tst_reveal.moc"
