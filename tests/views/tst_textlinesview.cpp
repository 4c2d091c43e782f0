#include "load/OfflineResources.h"
#include "views/TextLinesView.h"
#include "views/TextView.h"

#include "support/TestDocuments.h"

#include <QScrollBar>
#include <QtTest>

using namespace velkor;
using namespace velkor::test;

// The text box of the XML text view: selecting with keys and mouse, copying,
// scrolling to a revealed line.
class TestTextLinesView : public QObject
{
    Q_OBJECT

    std::unique_ptr<InvoiceDocument> m_document;
    std::shared_ptr<const TextView> m_view;
    std::unique_ptr<TextLinesView> m_widget;
    QStringList m_copied;

private Q_SLOTS:
    void initTestCase()
    {
        initializeXmlLibrary();
        TestInvoice invoice;
        for (int line = 1; line <= 200; ++line)
            invoice.lines += invoiceLine(QString::number(line), {{"P_7", QStringLiteral("Towar numer %1").arg(line)}});
        m_document = validDocument(invoice.toXml());
        QVERIFY(m_document);
        m_view = std::make_shared<TextView>(TextView::build(std::make_shared<XmlTree>(XmlTree::build(*m_document))));
    }

    void init()
    {
        m_widget = std::make_unique<TextLinesView>();
        m_widget->resize(400, 200);
        m_widget->setCopyHandler([this](const QString &text) { m_copied << text; });
        m_widget->setTextView(m_view);
        m_widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
        m_widget->setFocus();
        m_copied.clear();
    }

    void keyboardSelectionAndCopy()
    {
        QTest::keyClick(m_widget.get(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(m_widget->selectedText(), m_view->lineText(0));
        QTest::keyClick(m_widget.get(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(m_widget.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(m_copied.size(), 1);
        QVERIFY(m_copied[0].startsWith(m_view->lineText(0) + QStringLiteral("\r\n")));
        // Moving without Shift drops the selection.
        QTest::keyClick(m_widget.get(), Qt::Key_Right);
        QCOMPARE(m_widget->selectedText(), QString());
        QTest::keyClick(m_widget.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(m_copied.size(), 1); // nothing selected, nothing copied
    }

    void selectAllGivesTheWholeText()
    {
        QTest::keyClick(m_widget.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_widget->selectedText(), m_view->wholeText());
    }

    void revealScrollsTheLineIntoView()
    {
        const int last = m_widget->lineCount() - 1;
        m_widget->selectInLine(last, 0, 13);
        QCOMPARE(m_widget->selectedText(), QStringLiteral("Fa / FaWiersz"));
        QVERIFY(m_widget->firstVisibleLine() > 0);
        QVERIFY(m_widget->firstVisibleLine() <= last);
        QVERIFY(last - m_widget->firstVisibleLine() < m_widget->viewport()->height() / m_widget->fontMetrics().lineSpacing());
        QTest::keyClick(m_widget.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(m_widget->firstVisibleLine(), 0);
    }

    void mouseDragSelects()
    {
        const int height = m_widget->fontMetrics().lineSpacing();
        QTest::mousePress(m_widget->viewport(), Qt::LeftButton, {}, QPoint(1, height / 2));
        QMouseEvent move(QEvent::MouseMove, QPointF(1, height + height / 2), m_widget->viewport()->mapToGlobal(QPointF(1, height + height / 2)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_widget->viewport(), &move);
        QTest::mouseRelease(m_widget->viewport(), Qt::LeftButton, {}, QPoint(1, height + height / 2));
        QCOMPARE(m_widget->selectedText(), m_view->lineText(0) + QStringLiteral("\r\n"));
        QTest::mouseDClick(m_widget->viewport(), Qt::LeftButton, {}, QPoint(20, height / 2));
        QCOMPARE(m_widget->selectedText(), m_view->lineText(0));
    }

    void emptyViewTakesKeysQuietly()
    {
        m_widget->setTextView(nullptr);
        QVERIFY(m_widget->isEmpty());
        QTest::keyClick(m_widget.get(), Qt::Key_Down);
        QTest::keyClick(m_widget.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_widget->selectedText(), QString());
    }
};

QTEST_MAIN(TestTextLinesView)
#include "tst_textlinesview.moc"
