#include "app/WindowGeometry.h"
#include "support/MsgTextInfo.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;

// The figures are worked out for the offscreen screen's 96 dpi: 15 twips a
// pixel.
class TestMsgTextInfo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;

    // The stored Left, Top, Width and Height.
    QString stored() const
    {
        QStringList values;
        for (const char *key : {"Left", "Top", "Width", "Height"})
            values << m_settings->value(QStringLiteral("MsgTextInfo/") + QLatin1String(key)).toString();
        return values.join(u' ');
    }

    bool show(MsgTextInfo &window)
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window) && twipsFor(&window).dpi() == 96.0;
    }

private Q_SLOTS:
    void init()
    {
        m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat);
        m_settings->clear();
    }

    void firstUseOpensAt200With6000Twips()
    {
        MsgTextInfo window(*m_settings, QStringLiteral("tekst"), QStringLiteral("Informacje dla: P_1"));
        QVERIFY(show(window));
        // 200 twips are 13.3 px, 6200 twips 413.3 px.
        QCOMPARE(window.frameGeometry(), QRect(13, 13, 400, 400));
        QCOMPARE(window.windowTitle(), QStringLiteral("Informacje dla: P_1"));
        QVERIFY(window.windowFlags() & Qt::Tool);
        QVERIFY(!(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Closed where it opened, it keeps the very numbers, which pixels would round.
        window.close();
        QCOMPARE(stored(), QStringLiteral("200 200 6000 6000"));
    }

    void storedPlacementComesBackAndIsSavedOnEveryClose()
    {
        m_settings->setValue(QStringLiteral("MsgTextInfo/Left"), QStringLiteral("1500"));
        m_settings->setValue(QStringLiteral("MsgTextInfo/Top"), QStringLiteral("-120"));
        m_settings->setValue(QStringLiteral("MsgTextInfo/Width"), QStringLiteral("4500"));
        m_settings->setValue(QStringLiteral("MsgTextInfo/Height"), QStringLiteral("abc"));
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            QVERIFY(show(window));
            // Off the screen's top it comes back at 200; an unreadable height is 9000.
            QCOMPARE(window.frameGeometry(), QRect(100, 13, 300, 600));
            window.move(200, 100);
            QTest::keyClick(window.pole(), Qt::Key_Escape); // the cancel button
            QVERIFY(!window.isVisible());
            QCOMPARE(stored(), QStringLiteral("3000 1500 4500 9000"));
            QVERIFY(!m_settings->contains(QStringLiteral("MsgTextInfo/State")));
        }
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            QVERIFY(show(window));
            window.resize(396, 296); // the offscreen frame adds 2 px a side: 400 x 300 outside
            window.close();          // the close box
            QCOMPARE(stored(), QStringLiteral("3000 1500 6000 4500"));
        }
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            QVERIFY(show(window));
            window.move(0, 0);
            window.closeButton()->click();
            QCOMPARE(stored(), QStringLiteral("0 0 6000 4500"));
        }
    }

    void textIsReadOnlyWrappedAndSelectableUnderItsButton()
    {
        const QString text = QStringLiteral("Opis węzła : P_12\r\n\r\n") + QString(2000, u'x');
        MsgTextInfo window(*m_settings, text, QStringLiteral("c"));
        QVERIFY(show(window));
        QCOMPARE(window.pole()->toPlainText(), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(window.pole()->isReadOnly());
        QCOMPARE(window.pole()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(window.pole()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(window.pole()->textInteractionFlags() & Qt::TextSelectableByMouse);
        QCOMPARE(window.closeButton()->text(), QStringLiteral("Zamknij Esc"));
        window.resize(5, 5);
        QCOMPARE(window.size(), QSize(33, 33)); // at least 500 twips
    }
};

QTEST_MAIN(TestMsgTextInfo)
#include "tst_msgtextinfo.moc"
