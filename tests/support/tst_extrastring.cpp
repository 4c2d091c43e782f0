#include "support/ExtraString.h"

#include <QtTest>

using velkor::ExtraString;

class TestExtraString : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newBuilderIsEmpty()
    {
        ExtraString builder;
        QCOMPARE(builder.Text(), QString());
    }

    void adnJoinsLinesWithoutFinalBreak()
    {
        ExtraString builder;
        builder.Adn(QStringLiteral("a"));
        builder.Adn(QStringLiteral("b"));
        builder.Adn(QStringLiteral("c"));
        QCOMPARE(builder.Text(), QStringLiteral("a\r\nb\r\nc"));
    }

    void adnOfEmptyTextStillBreaksTheLine()
    {
        ExtraString builder;
        builder.Adn(QStringLiteral("a"));
        builder.Adn(QString());
        QCOMPARE(builder.Text(), QStringLiteral("a\r\n"));
    }

    void firstAdnOfEmptyTextLeavesBuilderEmpty()
    {
        ExtraString builder;
        builder.Adn(QString());
        builder.Adn(QStringLiteral("x"));
        QCOMPARE(builder.Text(), QStringLiteral("x"));
    }

    void addAppendsWithOptionalBreakAndReset()
    {
        ExtraString builder;
        builder.Add(QStringLiteral("a"));
        builder.Add(QStringLiteral("b"), true);
        QCOMPARE(builder.Text(), QStringLiteral("a\r\nb"));

        builder.Add(QStringLiteral("x"), true, true);
        QCOMPARE(builder.Text(), QStringLiteral("\r\nx"));

        ExtraString empty;
        empty.Add(QStringLiteral("y"), true);
        QCOMPARE(empty.Text(), QStringLiteral("\r\ny"));
    }

    void addAndAdnMix()
    {
        ExtraString builder;
        builder.Add(QStringLiteral("Opis: "));
        builder.Add(QStringLiteral("tekst"));
        builder.Adn(QStringLiteral("dalej"));
        QCOMPARE(builder.Text(), QStringLiteral("Opis: tekst\r\ndalej"));
    }

    void readingTextTwiceKeepsAppendingAtTheEnd()
    {
        ExtraString builder;
        builder.Adn(QStringLiteral("a"));
        const QString first = builder.Text();
        QCOMPARE(builder.Text(), first);
        builder.Adn(QStringLiteral("b"));
        QCOMPARE(builder.Text(), QStringLiteral("a\r\nb"));
        QCOMPARE(first, QStringLiteral("a")); // an earlier read is not changed
    }
};

QTEST_GUILESS_MAIN(TestExtraString)
#include "tst_extrastring.moc"
