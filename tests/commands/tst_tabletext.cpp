#include "commands/KeyTable.h"
#include "commands/TableText.h"

#include <QtTest>

using namespace velkor;

namespace {

ListRow row(const QStringList &cells)
{
    ListRow r;
    r.setCells(cells);
    return r;
}

} // namespace

class TestTableText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void headerAndRowsJoinedByCrLfWithoutFinalBreak()
    {
        const std::vector<ListRow> rows{row({"1", "A", "3,00"}), row({"2", "", "1,00"})};
        QCOMPARE(tableText({"Lp", "Kod", "Ilość"}, rows, {0, 1}, true),
                 QStringLiteral("Lp\tKod\tIlość\r\n1\tA\t3,00\r\n2\t\t1,00"));
    }

    void selectedRowsOnlyWithoutHeader()
    {
        const std::vector<ListRow> rows{row({"1", "a"}), row({"2", "b"}), row({"3", "c"})};
        QCOMPARE(tableText({"Lp", "X"}, rows, {0, 2}, false), QStringLiteral("1\ta\r\n3\tc"));
        QCOMPARE(tableText({"Lp", "X"}, rows, {}, false), QString());
        QCOMPARE(tableText({"Lp", "X"}, rows, {}, true), QStringLiteral("Lp\tX"));
    }

    void noBreakSpacesLeaveEveryCellButTheFirst()
    {
        const QString nbsp(QChar(0x00A0));
        const std::vector<ListRow> rows{row({"1" + nbsp + "0", "1" + nbsp + "234,50", " "})};
        QCOMPARE(tableText({"L" + nbsp + "p", "Kwota", "CenaW"}, rows, {0}, true),
                 "L" + nbsp + "p\tKwota\tCenaW\r\n1" + nbsp + "0\t1234,50\t ");
    }

    void missingCellsStillGiveTheirTab()
    {
        const std::vector<ListRow> rows{row({"1"})};
        QCOMPARE(tableText({"A", "B", "C"}, rows, {0}, false), QStringLiteral("1\t\t"));
    }

    void keyTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("command");
        const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << none << int(KeyCommand::Exit);
        QTest::newRow("Shift+Esc") << int(Qt::Key_Escape) << shift << int(KeyCommand::None);
        QTest::newRow("F1") << int(Qt::Key_F1) << none << int(KeyCommand::Info);
        QTest::newRow("F2") << int(Qt::Key_F2) << none << int(KeyCommand::FocusTree);
        QTest::newRow("Ctrl+F2") << int(Qt::Key_F2) << ctrl << int(KeyCommand::CopyTreeOrText);
        QTest::newRow("Shift+F2") << int(Qt::Key_F2) << shift << int(KeyCommand::CopyXml);
        QTest::newRow("Ctrl+Shift+F2") << int(Qt::Key_F2) << (ctrl | shift) << int(KeyCommand::None);
        QTest::newRow("F3") << int(Qt::Key_F3) << none << int(KeyCommand::FocusHeader);
        QTest::newRow("Ctrl+F3") << int(Qt::Key_F3) << ctrl << int(KeyCommand::CopyHeader);
        QTest::newRow("Shift+F3") << int(Qt::Key_F3) << shift << int(KeyCommand::None);
        QTest::newRow("F5") << int(Qt::Key_F5) << none << int(KeyCommand::OpenFile);
        QTest::newRow("Ctrl+F5") << int(Qt::Key_F5) << ctrl << int(KeyCommand::Paste);
        QTest::newRow("Keypad Ctrl+F5") << int(Qt::Key_F5) << (ctrl | int(Qt::KeypadModifier)) << int(KeyCommand::Paste);
        QTest::newRow("Alt+F5") << int(Qt::Key_F5) << alt << int(KeyCommand::None);
        QTest::newRow("Shift+F5") << int(Qt::Key_F5) << shift << int(KeyCommand::None);
        QTest::newRow("Ctrl+Shift+F5") << int(Qt::Key_F5) << (ctrl | shift) << int(KeyCommand::None);
        QTest::newRow("F6") << int(Qt::Key_F6) << none << int(KeyCommand::FocusLines);
        QTest::newRow("Ctrl+F6") << int(Qt::Key_F6) << ctrl << int(KeyCommand::CopyTable);
        QTest::newRow("F7") << int(Qt::Key_F7) << none << int(KeyCommand::FocusDetails);
        QTest::newRow("Ctrl+F7") << int(Qt::Key_F7) << ctrl << int(KeyCommand::CopyDetails);
        QTest::newRow("F11") << int(Qt::Key_F11) << none << int(KeyCommand::ToggleView);
        QTest::newRow("Ctrl+F11") << int(Qt::Key_F11) << ctrl << int(KeyCommand::None);
        QTest::newRow("F12") << int(Qt::Key_F12) << none << int(KeyCommand::ToggleCorrections);
        QTest::newRow("F4") << int(Qt::Key_F4) << none << int(KeyCommand::None);
        QTest::newRow("C") << int(Qt::Key_C) << ctrl << int(KeyCommand::None);
        QTest::newRow("Ctrl+P") << int(Qt::Key_P) << ctrl << int(KeyCommand::Print);
        QTest::newRow("Ctrl+Shift+P") << int(Qt::Key_P) << (ctrl | shift) << int(KeyCommand::SavePdf);
        QTest::newRow("P") << int(Qt::Key_P) << none << int(KeyCommand::None);
        QTest::newRow("Alt+P") << int(Qt::Key_P) << alt << int(KeyCommand::None);
    }
    void keyTable()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, command);
        QCOMPARE(int(keyCommand(key, Qt::KeyboardModifiers(modifiers))), command);
    }

    void listCopyKeysAreExactlyCtrlCAndCtrlInsert()
    {
        QVERIFY(isListCopyKey(Qt::Key_C, Qt::ControlModifier));
        QVERIFY(isListCopyKey(Qt::Key_Insert, Qt::ControlModifier));
        QVERIFY(isListCopyKey(Qt::Key_Insert, Qt::ControlModifier | Qt::KeypadModifier));
        QVERIFY(!isListCopyKey(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY(!isListCopyKey(Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY(!isListCopyKey(Qt::Key_Insert, Qt::ShiftModifier)); // the paste key
        QVERIFY(!isListCopyKey(Qt::Key_C, Qt::AltModifier));
        QVERIFY(!isListCopyKey(Qt::Key_C, Qt::NoModifier));
        QVERIFY(!isListCopyKey(Qt::Key_V, Qt::ControlModifier));
    }
};

QTEST_GUILESS_MAIN(TestTableText)
#include "tst_tabletext.moc"
