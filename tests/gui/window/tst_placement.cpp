#include "core/window/Layout.h"
#include "core/window/WindowPlacement.h"
#include "gui/widgets/WindowGeometry.h"

#include "gui/desktop/MsgTextInfo.h"

#include "fixtures/WindowFixture.h"

#include <QHeaderView>
#include <QPlainTextEdit>

#include <QScreen>
#include <QStatusBar>

using namespace velkor;
using namespace velkor::test;

namespace {

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Velkor"), QStringLiteral("Velkor"));
}

QString stored(const char *key)
{
    return store().value(QStringLiteral("Okno/") + QLatin1String(key)).toString();
}

void storePlacement(const QStringList &values)
{
    QSettings settings = store();
    const QStringList keys{"Left", "Top", "Width", "Height", "State"};
    for (int k = 0; k < keys.size(); ++k)
        settings.setValue("Okno/" + keys[k], values[k]);
}

QRect asRect(const TwipRect &r)
{
    return {r.left, r.top, r.width, r.height};
}

} // namespace

// The windows' placement and column widths through the settings store, and
// the main window's layout.
class TestPlacement : public QObject
{
    Q_OBJECT
    WindowFixture f;
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;

    // The information window's stored Left, Top, Width and Height.
    QString infoStored() const
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
    void initTestCase() { initializeXmlLibrary(); }
    void init()
    {
        WindowFixture::clearSettings();
        f.desktop = FakeDesktop();
        m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("velkor.ini")), QSettings::IniFormat);
        m_settings->clear();
    }
    void cleanup() { f.stop(); }

    // On a 1920 x 1080 screen at 96 dpi (28800 x 16200 twips) with a task
    // bar 40 pixels high: edges fall back to 200 and stay 1000 twips inside
    // the screen, sizes missing are 6000, unusable 14000 x 9000, and no
    // larger than the free part of the screen right of and below the corner.
    void restoredPlacement_data()
    {
        QTest::addColumn<QStringList>("stored"); // left, top, width, height, state; "-": missing
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<int>("state"); // -1: ignored
        QTest::newRow("empty store") << QStringList{"-", "-", "-", "-", "-"} << QRect(200, 200, 6000, 6000) << 2;
        QTest::newRow("stored as is") << QStringList{"1200", "900", "9000", "7000", "0"} << QRect(1200, 900, 9000, 7000) << 0;
        QTest::newRow("maximised one's position") << QStringList{"-120", "-120", "-", "-", "2"} << QRect(200, 200, 6000, 6000) << 2;
        QTest::newRow("zero edges") << QStringList{"0", "0", "9000", "7000", "1"} << QRect(200, 200, 9000, 7000) << 1;
        QTest::newRow("beyond the screen") << QStringList{"40000", "20000", "9000", "7000", "0"} << QRect(27800, 15200, 1000, 400) << 0;
        QTest::newRow("just inside") << QStringList{"19800", "8600", "9000", "7000", "0"} << QRect(19800, 8600, 9000, 7000) << 0;
        QTest::newRow("not numbers") << QStringList{"lewo", "x", "szeroko", "x", "duży"} << QRect(200, 200, 14000, 9000) << -1;
        QTest::newRow("zero and negative sizes") << QStringList{"300", "300", "0", "-5", "3"} << QRect(300, 300, 14000, 9000) << -1;
        QTest::newRow("blanks around") << QStringList{" 300 ", "300", " 7000", "7000 ", ""} << QRect(300, 300, 7000, 7000) << -1;
        QTest::newRow("fractions") << QStringList{"300.6", "300.4", "7000.4", "7000.5", "1.5"} << QRect(301, 300, 7000, 7001) << -1;
        QTest::newRow("huge") << QStringList{"1e300", "1e300", "1e300", "1e9", "0"} << QRect(27800, 15200, 1000, 400) << 0;
        QTest::newRow("from a larger monitor") << QStringList{"300", "300", "38400", "21600", "0"} << QRect(300, 300, 28500, 15300) << 0;
        QTest::newRow("from a larger monitor, off the corner") << QStringList{"20000", "10000", "38400", "21600", "0"}
                                                               << QRect(20000, 10000, 8800, 5600) << 0;
    }
    void restoredPlacement()
    {
        QFETCH(QStringList, stored);
        QFETCH(QRect, rect);
        QFETCH(int, state);
        const auto text = [&](int k) { return stored[k] == u"-" ? std::nullopt : std::optional<QString>(stored[k]); };
        const StoredPlacement placement{text(0), text(1), text(2), text(3), text(4)};
        const RestoredPlacement restored = restorePlacement(placement, ScreenTwips{28800, 16200, 28800, 15600}, true);
        QCOMPARE(asRect(restored.rect), rect);
        QCOMPARE(restored.state ? int(*restored.state) : -1, state);
    }

    void whatEachStateWrites()
    {
        const auto keysOf = [](const QList<QPair<QString, QString>> &values) {
            QStringList texts;
            for (const auto &[key, value] : values)
                texts << key + u'=' + value;
            return texts.join(u' ');
        };
        const TwipRect outer{-120, -120, 29040, 15600};
        QCOMPARE(keysOf(placementToSave(PlacementKind::MainWindow, WindowState::Normal, {1500, 900, 16000, 10000})),
                 QStringLiteral("Left=1500 Width=16000 Top=900 Height=10000 State=0"));
        // Maximised: the normal size of the last normal exit survives.
        QCOMPARE(keysOf(placementToSave(PlacementKind::MainWindow, WindowState::Maximized, outer)),
                 QStringLiteral("Left=-120 Top=-120 State=2"));
        QCOMPARE(keysOf(placementToSave(PlacementKind::MainWindow, WindowState::Minimized, outer)), QString());
        // The information window has no state.
        QCOMPARE(keysOf(placementToSave(PlacementKind::InfoWindow, WindowState::Maximized, {200, 200, 6000, 6000})),
                 QStringLiteral("Left=200 Width=6000 Top=200 Height=6000"));
        QVERIFY(!restorePlacement({}, ScreenTwips{28800, 16200, 28800, 15600}, false).state);
    }

    void columnWidths()
    {
        QCOMPARE(restoredColumnWidth(std::nullopt), 100);
        QCOMPARE(restoredColumnWidth(QStringLiteral("180")), 180);
        QCOMPARE(restoredColumnWidth(QStringLiteral("0")), 0); // a hidden column stays hidden
        QCOMPARE(restoredColumnWidth(QStringLiteral("szeroka")), 100);
        QCOMPARE(columnWidthKey(QStringLiteral("ListaK"), 3), QStringLiteral("ListaK~col~3"));
    }

    // The rectangles of a client area, laid out from the window's first
    // size (17280 x 11055 twips, a status bar of 300), worked out by hand
    // from the grid: margins of 105, frames from 525 down, an upper row 5370
    // high, a right column 5475 wide, buttons 210 down against the right
    // edge of their frame. A placement that would be negative keeps the
    // control where it was.
    void layoutOfTheClientArea_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("pane");
        QTest::addColumn<QRect>("rect");
        const auto row = [](QSize client, Pane pane, const char *name, QRect rect) {
            QTest::addRow("%d x %d, %s", client.width(), client.height(), name) << client << int(pane) << rect;
        };
        const QSize first(17280, 11055);
        row(first, Pane::RamkaD, "RamkaD", {105, 525, 11490, 5370});
        row(first, Pane::RamkaS, "RamkaS", {11700, 525, 5475, 5370});
        row(first, Pane::RamkaK, "RamkaK", {11700, 525, 5475, 5370});
        row(first, Pane::Ramka, "Ramka", {105, 6000, 11490, 4755});
        row(first, Pane::RamkaE, "RamkaE", {11700, 6000, 5475, 4755});
        row(first, Pane::RamkaT, "RamkaT", {105, 525, 11490, 10230});
        row(first, Pane::Korygowane, "Korygowane", {11700, 105, 3270, 225});
        row(first, Pane::Drzewo, "Drzewo", {105, 630, 11280, 4635});
        row(first, Pane::Struktura, "Struktura", {105, 630, 11280, 9495});
        row(first, Pane::ListaS, "ListaS", {105, 630, 5265, 4635});
        row(first, Pane::ListaK, "ListaK", {105, 630, 5265, 4635});
        row(first, Pane::Lista, "Lista", {105, 630, 11280, 4020});
        row(first, Pane::ListaE, "ListaE", {105, 630, 5265, 4020});
        row(first, Pane::Command1, "Command1", {3360, 210, 2010, 330});
        row(first, Pane::Command2, "Command2", {9375, 210, 2010, 330});
        row(first, Pane::Command3, "Command3", {3360, 210, 2010, 330});
        row(first, Pane::Command4, "Command4", {3360, 210, 2010, 330});
        row(first, Pane::Command5, "Command5", {7365, 210, 2010, 330});
        row(first, Pane::Command6, "Command6", {9375, 210, 2010, 330});
        row(first, Pane::Command7, "Command7", {9375, 210, 2010, 330});
        row(first, Pane::Command11, "Command11", {8940, 210, 435, 330});
        row(first, Pane::Command12, "Command12", {105, 210, 960, 330});
        // 1500 twips wider and higher: the left column widens, the lower row heightens.
        const QSize larger(18780, 12555);
        row(larger, Pane::RamkaD, "RamkaD", {105, 525, 12990, 5370});
        row(larger, Pane::RamkaS, "RamkaS", {13200, 525, 5475, 5370});
        row(larger, Pane::Ramka, "Ramka", {105, 6000, 12990, 6255});
        row(larger, Pane::Command6, "Command6", {10875, 210, 2010, 330});
        row(larger, Pane::Lista, "Lista", {105, 630, 12780, 5520});
        // Narrower than the right column: the left column and the lower row keep theirs.
        const QSize small(3000, 5000);
        row(small, Pane::RamkaD, "RamkaD", {105, 525, 11490, 5370});
        row(small, Pane::RamkaT, "RamkaT", {105, 525, 11490, 4175});
        row(QSize(0, 0), Pane::Lista, "minimised, Lista", {105, 630, 11280, 4020});
    }
    void layoutOfTheClientArea()
    {
        QFETCH(QSize, client);
        QFETCH(int, pane);
        QFETCH(QRect, rect);
        const PaneRects first = layoutMainWindow(17280, 11055, 300, initialPaneRects());
        const PaneRects rects = layoutMainWindow(client.width(), client.height(), 300, first);
        QCOMPARE(asRect(rectOf(rects, Pane(pane))), rect);
    }

    void normalPlacementAndColumnWidthsComeBackAsLeft()
    {
        storePlacement({"1500", "900", "16000", "10000", "0"});
        store().setValue(QStringLiteral("Okno/Lista~col~2"), QStringLiteral("0"));
        store().setValue(QStringLiteral("Okno/Lista~col~3"), QStringLiteral("szeroka"));
        store().setValue(QStringLiteral("Okno/ListaS~col~2"), QStringLiteral("260"));
        QVERIFY(f.start());
        QVERIFY(!f.window->isMaximized());
        QCOMPARE(f.window->frameGeometry(), QRect(100, 60, 1067, 667)); // in pixels
        QCOMPARE(f.c().lista->columnWidth(1), 0);
        QCOMPARE(f.c().lista->columnWidth(2), 100);

        f.c().listaE->setColumnWidth(0, 177);
        f.window->move(200, 140);
        f.window->close();
        QCOMPARE(stored("Left"), QStringLiteral("3000"));
        QCOMPARE(stored("Top"), QStringLiteral("2100"));
        QCOMPARE(stored("Width"), QStringLiteral("16005"));
        QCOMPARE(stored("Height"), QStringLiteral("10005"));
        QCOMPARE(stored("State"), QStringLiteral("0"));
        QCOMPARE(stored("ListaE~col~1"), QStringLiteral("177"));
        QCOMPARE(stored("Lista~col~2"), QStringLiteral("0"));
        QCOMPARE(stored("Lista~col~3"), QStringLiteral("100"));
        QCOMPARE(stored("ListaK~col~3"), QStringLiteral("100")); // the last list's last column
        QCOMPARE(stored("ListaS~col~2"), QStringLiteral("260")); // stretched, but the user's width is kept

        // And again: the same rectangle, no drift.
        f.stop();
        QVERIFY(f.start());
        QCOMPARE(outerRectOf(f.window.get()), (TwipRect{3000, 2100, 16005, 10005}));
        QCOMPARE(f.c().listaE->columnWidth(0), 177);
    }

    // After a load, a column of figures narrower than its widest figure or
    // its header widens to fit them; one hidden stays hidden, none narrows,
    // and the store keeps the user's widths. The last column of the header
    // and line details fills its pane, their names widening to fit.
    void figuresAreNeverCutOff()
    {
        store().setValue(QStringLiteral("Okno/Lista~col~1"), QStringLiteral("300"));
        store().setValue(QStringLiteral("Okno/Lista~col~4"), QStringLiteral("0"));
        store().setValue(QStringLiteral("Okno/Lista~col~7"), QStringLiteral("20"));
        QVERIFY(f.start());
        f.paste(QString::fromUtf8(fileBytes(ownExample("faktura-podstawowa.xml"))));
        ListView *lista = f.c().lista;
        for (const int column : {4, 6, 8})
            QVERIFY(lista->columnWidth(column) >= std::max(lista->sizeHintForColumn(column),
                                                           lista->horizontalHeader()->sectionSizeHint(column)));
        QCOMPARE(lista->columnWidth(0), 300);
        QCOMPARE(lista->columnWidth(3), 0);
        for (ListView *list : {f.c().listaS, f.c().listaE}) {
            QCOMPARE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
            QVERIFY(list->columnWidth(0) >= std::min(list->sizeHintForColumn(0), list->viewport()->width() / 2));
        }
        f.window->close();
        QCOMPARE(stored("Lista~col~4"), QStringLiteral("0"));
        QCOMPARE(stored("Lista~col~7"), QStringLiteral("20"));
    }

    void aStoreFromALargerScreenFitsThisOne()
    {
        storePlacement({"1500", "900", "1e9", "90000", "0"});
        QVERIFY(f.start());
        // All of it on the screen: what is left right of and below the corner.
        QCOMPARE(f.window->frameGeometry(), QRect(100, 60, 1820, 1020));
        QCOMPARE(stored("Width"), QStringLiteral("1e9")); // replaced only when saved
        f.window->close();
        QCOMPARE(stored("Width"), QStringLiteral("27300"));
    }

    // Stored minimised, the window starts minimised; closed minimised, it
    // leaves the placement as it was but saves the column widths.
    void minimisedStartAndExit()
    {
        storePlacement({"1500", "900", "16000", "10000", "1"});
        f.controls.reset();
        f.window = std::make_unique<MainWindow>(&f.desktop); // a minimised window does not become active
        f.window->Edit(QString());
        QVERIFY(f.window->windowState() & Qt::WindowMinimized);
        f.c().lista->setColumnWidth(0, 55);
        f.window->close();
        QCOMPARE(stored("Left"), QStringLiteral("1500"));
        QCOMPARE(stored("Width"), QStringLiteral("16000"));
        QCOMPARE(stored("State"), QStringLiteral("1"));
        QCOMPARE(stored("Lista~col~1"), QStringLiteral("55"));
    }

    // The outer size, frame included, stays at least 14325 x 8835 twips
    // (955 x 589 pixels); the panes follow the size down to the status bar
    // and toggling the views moves nothing.
    void theWindowKeepsItsMinimumSizeAndTheGrid()
    {
        storePlacement({"300", "300", "16000", "10000", "0"});
        QVERIFY(f.start());
        f.window->resize(100, 100);
        const QSize frame = f.window->frameGeometry().size() - f.window->size();
        QVERIFY(f.window->width() + frame.width() >= 955);
        QVERIFY(f.window->height() + frame.height() >= 589);

        f.window->resize(1200, 800);
        auto &c = f.c();
        QCOMPARE(c.ramka->geometry().bottom() + 1, c.status->geometry().top());
        QCOMPARE(c.status->geometry().bottom(), 799);
        QCOMPARE(c.ramkaS->geometry().right(), 1192); // 105 twips, 7 pixels, from the right edge
        const QRect tree = c.ramkaD->geometry();
        c.strukturaOn->click();
        c.strukturaOn->click();
        QCOMPARE(c.ramkaD->geometry(), tree);
    }

    // A settings store that is garbage or cannot be written never stops the
    // program from starting, loading or closing.
    void aBrokenStoreStopsNothing_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("garbage") << true;
        QTest::newRow("cannot be written") << false;
    }
    void aBrokenStoreStopsNothing()
    {
        QFETCH(bool, writable);
        const QFileInfo file(store().fileName());
        QDir(file.absolutePath()).removeRecursively();
        if (writable) {
            QByteArray garbage(3000, '\0');
            for (int i = 0; i < garbage.size(); ++i)
                garbage[i] = char((i * 131 + 7) % 256);
            garbage += "\n[Okno]\nLeft=lewo\nTop=1e999\nWidth=-\nHeight=\nState=maksymalnie\nPath=\"\\x0\"\n"
                       "Lista%7Ecol%7E1=szeroko\nLista%7Ecol%7E2=-7\n[Okno\nzepsute";
            QVERIFY(!writeTestFile(file.absolutePath(), file.fileName(), garbage).isEmpty());
        } else {
            // The store's folder is a file: nothing can be created below it,
            // whoever runs the test.
            QFile blocker(file.absolutePath());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        QVERIFY(f.start());
        f.desktop.dialogResult = ownExample("faktura-podstawowa.xml");
        f.c().command[8]->click(); // remembers its folder: a write
        QVERIFY(f.window->state().invoiceDoc);
        f.window->close(); // writes the placement and the column widths
        QVERIFY(!f.window->isVisible());
        f.stop();
        QCOMPARE(QFileInfo(file.absolutePath()).isFile(), !writable);
        QFile::remove(file.absolutePath());
    }
    // The information window, at the offscreen screen's 96 dpi: 15 twips a
    // pixel.
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
        QCOMPARE(infoStored(), QStringLiteral("200 200 6000 6000"));
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
            QCOMPARE(infoStored(), QStringLiteral("3000 1500 4500 9000"));
            QVERIFY(!m_settings->contains(QStringLiteral("MsgTextInfo/State")));
        }
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            QVERIFY(show(window));
            window.resize(396, 296); // the offscreen frame adds 2 px a side: 400 x 300 outside
            window.close();          // the close box
            QCOMPARE(infoStored(), QStringLiteral("3000 1500 6000 4500"));
        }
        {
            MsgTextInfo window(*m_settings, QStringLiteral("t"), QStringLiteral("c"));
            QVERIFY(show(window));
            window.move(0, 0);
            window.closeButton()->click();
            QCOMPARE(infoStored(), QStringLiteral("0 0 6000 4500"));
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

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
