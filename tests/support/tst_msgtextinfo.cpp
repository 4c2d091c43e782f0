#include "app/WindowGeometry.h"
#include "support/MsgTextInfo.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkor;

class TestMsgTextInfo : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;

    QString stored(const char *key) const
    {
        return m_settings->value(QStringLiteral("MsgTextInfo/") + QLatin1String(key)).toString();
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
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const Twips twips = twipsFor(&window);
        QCOMPARE(window.frameGeometry(), twips.toPixels({200, 200, 6000, 6000}));
        QCOMPARE(window.windowTitle(), QStringLiteral("Informacje dla: P_1"));
        QVERIFY(window.windowFlags() & Qt::Tool);
        QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        // Closed where it opened, it keeps the very numbers, which pixels would round.
        window.close();
        QCOMPARE(stored("Left"), QStringLiteral("200"));
        QCOMPARE(stored("Top"), QStringLiteral("200"));
        QCOMPARE(stored("Width"), QStringLiteral("6000"));
    }

    void storedPlacementComesBackAndIsSavedOnEveryClose()
    {
        m_settings->setValue(QStringLiteral("MsgTextInfo/Left"), QStringLiteral("1500"));
        m_settings->setValue(QStringLiteral("MsgTextInfo/Top"), QStringLiteral("-120"));
        m_settings->setValue(QStringLiteral("MsgTextInfo/Width"), QStringLiteral("4500"));
        m_settings->setValue(QStringLiteral("MsgTextInfo/Height"), QStringLiteral("abc"));
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const Twips twips = twipsFor(&window);
            QCOMPARE(window.frameGeometry(), twips.toPixels({1500, 200, 4500, 9000}));
            window.move(twips.toPixels(3000), twips.toPixels(1500));
            QTest::keyClick(window.pole(), Qt::Key_Escape); // the cancel button
            QVERIFY(!window.isVisible());
            QCOMPARE(stored("Left"), QString::number(twips.fromPixels(twips.toPixels(3000))));
            QCOMPARE(stored("Top"), QString::number(twips.fromPixels(twips.toPixels(1500))));
            QCOMPARE(stored("Width"), QString::number(twips.fromPixels(twips.toPixels(4500))));
            QVERIFY(!m_settings->contains(QStringLiteral("MsgTextInfo/State")));
        }
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const Twips twips = twipsFor(&window);
            window.resize(twips.toPixels(5000), twips.toPixels(5000));
            const int outerWidth = twips.fromPixels(window.frameGeometry().width());
            window.close(); // the close box
            QCOMPARE(stored("Width"), QString::number(outerWidth));
        }
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.move(0, 0);
            window.closeButton()->click();
            QCOMPARE(stored("Left"), QStringLiteral("0"));
        }
    }

    void windowKeepsAtLeast500TwipsAndLaysOutItsControls()
    {
        MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const Twips twips = twipsFor(&window);
        window.resize(5, 5);
        QVERIFY(window.width() >= twips.toPixels(500));
        QVERIFY(window.height() >= twips.toPixels(500));

        window.resize(twips.toPixels(6000), twips.toPixels(4000));
        QCOMPARE(window.closeButton()->text(), QStringLiteral("Zamknij Esc"));
        QCOMPARE(window.closeButton()->geometry(),
                 twips.toPixels({twips.fromPixels(window.width()) - 1065 - 60, 0, 1065, 435}));
        QCOMPARE(window.pole()->geometry().topLeft(), QPoint(twips.toPixels(60), twips.toPixels(525)));
        QCOMPARE(window.pole()->geometry().bottom() + 1, twips.toPixels(twips.fromPixels(window.height()) - 60));
    }

    void textIsReadOnlyWrappedAndSelectable()
    {
        const QString text = QStringLiteral("Opis węzła : P_12\r\n\r\n") + QString(2000, u'x');
        MsgTextInfo window(*m_settings, text, QStringLiteral("c"));
        QCOMPARE(window.pole()->toPlainText(), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(window.pole()->isReadOnly());
        QCOMPARE(window.pole()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(window.pole()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(window.pole()->textInteractionFlags() & Qt::TextSelectableByMouse);
    }
};

QTEST_MAIN(TestMsgTextInfo)
#include "tst_msgtextinfo.moc"
