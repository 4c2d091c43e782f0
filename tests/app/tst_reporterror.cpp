#include "app/ReportError.h"
#include "app/StartupParameters.h"

#include "support/FakeDesktop.h"

#include <QtTest>

using namespace velkor;

class TestReportError : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Numbers 1 to 65534 above the application base -2147221504 are the
    // program's own and shown with their offset; 0 and -1 only carry a text,
    // and without one nothing is shown.
    void messages_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MessageIcon>("icon");
        const QString in = QStringLiteral(" w procedurze: FillList\r\n\r\n");
        const int base = -2147221504;
        QTest::newRow("zero") << 0 << "Opis" << "Wystąpił błąd" + in + "Opis" << MessageIcon::Critical;
        QTest::newRow("minus one") << -1 << "Opis" << "Wystąpił błąd" + in + "Opis" << MessageIcon::Critical;
        QTest::newRow("zero, nothing to say") << 0 << "" << "" << MessageIcon::Critical;
        QTest::newRow("minus one, nothing to say") << -1 << "" << "" << MessageIcon::Critical;
        QTest::newRow("one above the base") << base + 1 << "Opis" << "Wystąpił błąd 1" + in + "Opis" << MessageIcon::Critical;
        QTest::newRow("65534 above the base, no description") << base + 65534 << ""
            << "Wystąpił błąd 65534" + in + "Błąd zdefiniowany przez aplikację lub obiekt (numer 65534)." << MessageIcon::Critical;
        QTest::newRow("65535 above the base is outside") << base + 65535 << "Opis" << "Wystąpił błąd" + in + "Opis"
                                                         << MessageIcon::Exclamation;
        QTest::newRow("the base itself is outside") << base << "Opis" << "Wystąpił błąd" + in + "Opis" << MessageIcon::Exclamation;
        QTest::newRow("ordinary number, no description") << 6 << ""
            << "Wystąpił błąd" + in + "Błąd zdefiniowany przez aplikację lub obiekt (numer 6)." << MessageIcon::Exclamation;
        // The lowest 32-bit number must not overflow while the base is added.
        QTest::newRow("minimum int") << int(INT32_MIN) << "x" << "Wystąpił błąd" + in + "x" << MessageIcon::Exclamation;
        QTest::newRow("maximum int") << int(INT32_MAX) << "x" << "Wystąpił błąd" + in + "x" << MessageIcon::Exclamation;
    }
    void messages()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(MessageIcon, icon);
        test::FakeDesktop desktop;
        ReportError(desktop, number, description, QStringLiteral("FillList"));
        const QList<Message> shown{{QStringLiteral("Wystąpił błąd"), text, icon}};
        QCOMPARE(desktop.messages, text.isEmpty() ? QList<Message>() : shown);
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
