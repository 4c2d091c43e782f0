#include "app/ReportError.h"
#include "app/StartupParameters.h"

#include "support/FakeDesktop.h"

#include <QtTest>

using namespace velkor;

class TestReportError : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void messages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MessageIcon>("icon");
        const QString label = QStringLiteral("FillList");
        QTest::newRow("zero with description")
            << 0 << "Opis" << "Wystąpił błąd w procedurze: FillList\r\n\r\nOpis" << MessageIcon::Critical;
        QTest::newRow("minus one with description")
            << -1 << "Opis" << "Wystąpił błąd w procedurze: FillList\r\n\r\nOpis" << MessageIcon::Critical;
        QTest::newRow("one above the application base")
            << int(-2147221504 + 1) << "Opis" << "Wystąpił błąd 1 w procedurze: FillList\r\n\r\nOpis"
            << MessageIcon::Critical;
        QTest::newRow("65534 above the base")
            << int(-2147221504 + 65534) << "" << "Wystąpił błąd 65534 w procedurze: FillList\r\n\r\n"
                   + standardErrorText(65534)
            << MessageIcon::Critical;
        QTest::newRow("65535 above the base is outside")
            << int(-2147221504 + 65535) << "Opis" << "Wystąpił błąd w procedurze: FillList\r\n\r\nOpis"
            << MessageIcon::Exclamation;
        QTest::newRow("the base itself is outside")
            << int(-2147221504) << "Opis" << "Wystąpił błąd w procedurze: FillList\r\n\r\nOpis"
            << MessageIcon::Exclamation;
        QTest::newRow("negative parser code")
            << int(-1072897500) << "Zły dokument" << "Wystąpił błąd w procedurze: FillList\r\n\r\nZły dokument"
            << MessageIcon::Exclamation;
        QTest::newRow("ordinary run-time number without description")
            << 6 << "" << "Wystąpił błąd w procedurze: FillList\r\n\r\n" + standardErrorText(6)
            << MessageIcon::Exclamation;
        // The lowest 32-bit number must not overflow while the base is added.
        QTest::newRow("minimum int")
            << int(INT32_MIN) << "x" << "Wystąpił błąd w procedurze: FillList\r\n\r\nx" << MessageIcon::Exclamation;
        QTest::newRow("maximum int")
            << int(INT32_MAX) << "x" << "Wystąpił błąd w procedurze: FillList\r\n\r\nx" << MessageIcon::Exclamation;
    }
    void messages()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(MessageIcon, icon);
        const std::optional<Message> message = errorReportMessage(number, description, QStringLiteral("FillList"));
        QVERIFY(message);
        QCOMPARE(message->title, QStringLiteral("Wystąpił błąd"));
        QCOMPARE(message->text, text);
        QCOMPARE(message->icon, icon);
        QCOMPARE(message->buttons, MessageButtons::Ok);
    }

    void nothingToSayShowsNothing()
    {
        QVERIFY(!errorReportMessage(0, QString(), QStringLiteral("FillTree")));
        QVERIFY(!errorReportMessage(-1, QString(), QStringLiteral("FillTree")));
        test::FakeDesktop desktop;
        ReportError(desktop, 0, QString(), QStringLiteral("FillTree"));
        QVERIFY(desktop.messages.isEmpty());
        ReportError(desktop, 0, QStringLiteral("x"), QStringLiteral("Kopiowanie tabeli"));
        QCOMPARE(desktop.messages.size(), 1);
        QVERIFY(desktop.messages[0].text.startsWith(QStringLiteral("Wystąpił błąd w procedurze: Kopiowanie tabeli")));
    }

    void ksefNumberFromParameters_data()
    {
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("number");
        QTest::newRow("none") << "" << "";
        QTest::newRow("one pair") << "ksef¤¤X-123" << "X-123";
        QTest::newRow("capitals and trailing separator") << "KSEF¤¤X«»" << "X";
        QTest::newRow("three parts") << "ksef¤¤X¤¤Y" << "";
        QTest::newRow("empty value") << "ksef¤¤" << "";
        QTest::newRow("other keys") << "nip¤¤1«»ksef¤¤A«»x¤¤y" << "A";
        QTest::newRow("later pair wins") << "ksef¤¤A«»Ksef¤¤B" << "B";
        QTest::newRow("later empty pair wins") << "ksef¤¤A«»ksef¤¤" << "";
        QTest::newRow("no pair at all") << "coś zupełnie innego" << "";
        QTest::newRow("empty pieces") << "«»«»ksef¤¤Z«»«»" << "Z";
        QTest::newRow("value with spaces") << "ksef¤¤1 2 3" << "1 2 3";
    }
    void ksefNumberFromParameters()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, number);
        QCOMPARE(velkor::ksefNumberFromParameters(parameters), number);
    }

    void startupTitles()
    {
        QCOMPARE(startupTitle(QString()), QStringLiteral("Velkor"));
        QCOMPARE(startupTitle(QStringLiteral("X")), QStringLiteral("Velkor »» KSEF: X"));
        QCOMPARE(parameterStringFromArguments({}), QString());
        QCOMPARE(parameterStringFromArguments({QStringLiteral("ksef¤¤A B")}), QStringLiteral("ksef¤¤A B"));
        QCOMPARE(parameterStringFromArguments({QStringLiteral("ksef¤¤A"), QStringLiteral("B")}),
                 QStringLiteral("ksef¤¤A B"));
    }
};

QTEST_GUILESS_MAIN(TestReportError)
#include "tst_reporterror.moc"
