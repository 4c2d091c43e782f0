#include "app/Layout.h"
#include "app/WindowPlacement.h"

#include <QtTest>

using namespace velkor;

namespace {

// A 1920 x 1080 screen at 96 dpi with a task bar 40 pixels high.
constexpr int ScreenWidth = 28800;
constexpr int ScreenHeight = 16200;
constexpr ScreenTwips Screen{ScreenWidth, ScreenHeight, ScreenWidth, ScreenHeight - 600};

RestoredPlacement restoreMain(const StoredPlacement &stored)
{
    return restorePlacement(stored, Screen, true);
}

QString keysOf(const QList<QPair<QString, QString>> &values)
{
    QStringList texts;
    for (const auto &[key, value] : values)
        texts << key + u'=' + value;
    return texts.join(u' ');
}

// The layout of a client area of the given size, from the window's
// initial rectangles, with a status bar of 300 twips.
PaneRects layoutFor(int width, int height, const PaneRects &from = initialPaneRects())
{
    return layoutMainWindow(width, height, 300, from);
}

TwipRect rect(const PaneRects &rects, Pane pane)
{
    return rectOf(rects, pane);
}

} // namespace

QT_BEGIN_NAMESPACE
namespace QTest {
template <>
char *toString(const TwipRect &r)
{
    return qstrdup(QStringLiteral("(%1, %2, %3 x %4)").arg(r.left).arg(r.top).arg(r.width).arg(r.height).toUtf8());
}
} // namespace QTest
QT_END_NAMESPACE

class TestPlacementAndLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyStoreOpensMaximizedAt200With6000()
    {
        const RestoredPlacement placement = restoreMain({});
        QCOMPARE(placement.rect, (TwipRect{200, 200, 6000, 6000}));
        QCOMPARE(placement.state, std::optional<WindowState>(WindowState::Maximized));
        // The information window has no state.
        QCOMPARE(restorePlacement({}, Screen, false).state, std::optional<WindowState>());
    }

    void edgesAndSizes_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("restoredLeft");
        QTest::addColumn<int>("restoredWidth");
        QTest::newRow("stored as is") << "1200" << "9000" << 1200 << 9000;
        QTest::newRow("maximised window's saved position") << "-120" << "9000" << 200 << 9000;
        QTest::newRow("zero edge") << "0" << "9000" << 200 << 9000;
        QTest::newRow("beyond the screen") << "40000" << "9000" << ScreenWidth - 1000 << 9000;
        QTest::newRow("just inside") << QString::number(ScreenWidth - 1000) << "9000" << ScreenWidth - 1000 << 9000;
        QTest::newRow("not numbers") << "lewo" << "szeroko" << 200 << 14000;
        QTest::newRow("zero width") << "300" << "0" << 300 << 14000;
        QTest::newRow("negative width") << "300" << "-5" << 300 << 14000;
        QTest::newRow("blanks around") << " 300 " << " 7000" << 300 << 7000;
        QTest::newRow("fraction") << "300.6" << "7000.4" << 301 << 7000;
        QTest::newRow("huge") << "1e300" << "1e300" << ScreenWidth - 1000 << ScreenWidth;
        QTest::newRow("from a wider monitor") << "300" << "38400" << 300 << ScreenWidth;
    }
    void edgesAndSizes()
    {
        QFETCH(QString, left);
        QFETCH(QString, width);
        QFETCH(int, restoredLeft);
        QFETCH(int, restoredWidth);
        StoredPlacement stored;
        stored.left = left;
        stored.width = width;
        const RestoredPlacement placement = restoreMain(stored);
        QCOMPARE(placement.rect.left, restoredLeft);
        QCOMPARE(placement.rect.width, restoredWidth);
    }

    void missingSizesTake6000UnusableOnesTheirOwnReplacements()
    {
        StoredPlacement stored;
        stored.top = QStringLiteral("20000");
        stored.height = QStringLiteral("x");
        const RestoredPlacement placement = restoreMain(stored);
        QCOMPARE(placement.rect, (TwipRect{200, ScreenHeight - 1000, 6000, 9000}));
        // No higher than the part the task bar leaves free.
        stored.height = QStringLiteral("1e9");
        QCOMPARE(restoreMain(stored).rect.height, ScreenHeight - 600);
    }

    void states_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("state"); // -1: ignored
        QTest::newRow("normal") << "0" << 0;
        QTest::newRow("minimised") << "1" << 1;
        QTest::newRow("maximised") << "2" << 2;
        QTest::newRow("not a state") << "3" << -1;
        QTest::newRow("not a whole number") << "1.5" << -1;
        QTest::newRow("not a number") << "duży" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void states()
    {
        QFETCH(QString, stored);
        QFETCH(int, state);
        StoredPlacement placement;
        placement.state = stored;
        const std::optional<WindowState> restored = restoreMain(placement).state;
        QCOMPARE(restored ? int(*restored) : -1, state);
    }

    void whatEachStateWrites()
    {
        const TwipRect outer{-120, -120, 29040, 15600};
        QCOMPARE(keysOf(placementToSave(PlacementKind::MainWindow, WindowState::Normal, {1500, 900, 16000, 10000})),
                 QStringLiteral("Left=1500 Width=16000 Top=900 Height=10000 State=0"));
        // Maximised: the normal size of the last normal exit survives.
        QCOMPARE(keysOf(placementToSave(PlacementKind::MainWindow, WindowState::Maximized, outer)),
                 QStringLiteral("Left=-120 Top=-120 State=2"));
        QCOMPARE(keysOf(placementToSave(PlacementKind::MainWindow, WindowState::Minimized, outer)), QString());
        QCOMPARE(keysOf(placementToSave(PlacementKind::InfoWindow, WindowState::Maximized, {200, 200, 6000, 6000})),
                 QStringLiteral("Left=200 Width=6000 Top=200 Height=6000"));
    }

    void exitMaximisedThenRestart()
    {
        // A normal exit, then a maximised one: the next start is maximised and
        // un-maximises to the size of the normal exit.
        StoredPlacement stored;
        stored.left = QStringLiteral("1500");
        stored.width = QStringLiteral("16000");
        stored.top = QStringLiteral("900");
        stored.height = QStringLiteral("10000");
        stored.state = QStringLiteral("0");
        for (const auto &[key, value] : placementToSave(PlacementKind::MainWindow, WindowState::Maximized, {-120, -120, 29040, 15600})) {
            if (key == u"Left")
                stored.left = value;
            else if (key == u"Top")
                stored.top = value;
            else if (key == u"State")
                stored.state = value;
            else
                QFAIL("a maximised exit wrote a size");
        }
        const RestoredPlacement placement = restoreMain(stored);
        QCOMPARE(placement.state, std::optional<WindowState>(WindowState::Maximized));
        QCOMPARE(placement.rect, (TwipRect{200, 200, 16000, 10000}));
    }

    void columnWidths()
    {
        QCOMPARE(restoredColumnWidth(std::nullopt), 100);
        QCOMPARE(restoredColumnWidth(QStringLiteral("180")), 180);
        QCOMPARE(restoredColumnWidth(QStringLiteral("0")), 0); // a hidden column stays hidden
        QCOMPARE(restoredColumnWidth(QStringLiteral("szeroka")), 100);
        QCOMPARE(restoredColumnWidth(QStringLiteral("12.5")), 100);
        QCOMPARE(restoredColumnWidth(QStringLiteral("-2")), 100);
        QCOMPARE(columnWidthKey(QStringLiteral("ListaK"), 3), QStringLiteral("ListaK~col~3"));
    }

    void gridFollowsTheClientSize()
    {
        const PaneRects r = layoutFor(17280, 11055);
        QCOMPARE(rect(r, Pane::RamkaD), (TwipRect{105, 525, 17280 - 315 - 5475, 5370}));
        QCOMPARE(rect(r, Pane::RamkaS), (TwipRect{105 + 11490 + 105, 525, 5475, 5370}));
        QCOMPARE(rect(r, Pane::Ramka), (TwipRect{105, 525 + 5370 + 105, 11490, 11055 - 525 - 5370 - 105 - 300}));
        QCOMPARE(rect(r, Pane::RamkaE), (TwipRect{11700, 6000, 5475, 4755}));
        QCOMPARE(rect(r, Pane::RamkaK), rect(r, Pane::RamkaS));
        QCOMPARE(rect(r, Pane::Korygowane), (TwipRect{11700, 105, 3270, 225}));
        QCOMPARE(rect(r, Pane::Drzewo), (TwipRect{105, 630, 11490 - 210, 5370 - 735}));
        QCOMPARE(rect(r, Pane::Lista), (TwipRect{105, 630, 11490 - 210, 4755 - 735}));
        QCOMPARE(rect(r, Pane::Command6), (TwipRect{11490 - 2010 - 105, 210, 2010, 330}));
        QCOMPARE(rect(r, Pane::Command12), (TwipRect{105, 210, 960, 330}));
        QCOMPARE(rect(r, Pane::Command1), (TwipRect{5475 - 2010 - 105, 210, 2010, 330}));
    }

    void textFrameCoversTreeAndLinesFrames()
    {
        const PaneRects r = layoutFor(20000, 12000);
        const TwipRect t = rect(r, Pane::RamkaT);
        QCOMPARE(t.left, rect(r, Pane::RamkaD).left);
        QCOMPARE(t.width, rect(r, Pane::RamkaD).width);
        QCOMPARE(t.top, rect(r, Pane::RamkaD).top);
        QCOMPARE(t.top, rect(r, Pane::RamkaS).top);
        QCOMPARE(t.bottom(), rect(r, Pane::Ramka).bottom());
        QCOMPARE(t.bottom(), rect(r, Pane::RamkaE).bottom());
        QCOMPARE(t.bottom(), 12000 - 300); // down to the status bar
        QCOMPARE(rect(r, Pane::Struktura), (TwipRect{105, 630, t.width - 210, t.height - 735}));
        QCOMPARE(rect(r, Pane::Command7).right(), t.width - 105);
    }

    void neighbouringButtonsMeetExactly()
    {
        const PaneRects r = layoutFor(20000, 12000);
        QCOMPARE(rect(r, Pane::Command5).right(), rect(r, Pane::Command6).left);
        QCOMPARE(rect(r, Pane::Command11).right(), rect(r, Pane::Command2).left);
        QCOMPARE(rect(r, Pane::Command2).right(), rect(r, Pane::Ramka).width - 105);
    }

    void wideningAndHeighteningBy1500()
    {
        const PaneRects before = layoutFor(17280, 11055);
        const PaneRects wider = layoutFor(17280 + 1500, 11055, before);
        for (Pane pane : {Pane::RamkaD, Pane::Ramka, Pane::RamkaT, Pane::Drzewo, Pane::Lista, Pane::Struktura})
            QCOMPARE(rect(wider, pane).width, rect(before, pane).width + 1500);
        for (Pane pane : {Pane::RamkaS, Pane::RamkaE, Pane::RamkaK, Pane::Korygowane}) {
            QCOMPARE(rect(wider, pane).left, rect(before, pane).left + 1500);
            QCOMPARE(rect(wider, pane).width, rect(before, pane).width);
        }
        QCOMPARE(rect(wider, Pane::RamkaS).width, 5475);
        QCOMPARE(rect(wider, Pane::Command6).left, rect(before, Pane::Command6).left + 1500);

        const PaneRects taller = layoutFor(17280, 11055 + 1500, before);
        for (Pane pane : {Pane::Ramka, Pane::RamkaE, Pane::RamkaT, Pane::Lista, Pane::ListaE, Pane::Struktura})
            QCOMPARE(rect(taller, pane).height, rect(before, pane).height + 1500);
        for (Pane pane : {Pane::RamkaD, Pane::RamkaS, Pane::RamkaK})
            QCOMPARE(rect(taller, pane).height, 5370);
    }

    void clientTooSmallKeepsWhatCannotBePlaced()
    {
        const PaneRects normal = layoutFor(17280, 11055);
        // Narrower than the right column: the tree frame would get a negative
        // width and keeps its rectangle; so do the lower frames, which would
        // be negatively tall.
        const PaneRects small = layoutFor(3000, 5000, normal);
        QCOMPARE(rect(small, Pane::RamkaD), rect(normal, Pane::RamkaD));
        QCOMPARE(rect(small, Pane::Ramka).height, rect(normal, Pane::Ramka).height);
        QCOMPARE(rect(small, Pane::RamkaT).height, 5000 - 525 - 300);
        // A minimised window (client 0 x 0) changes nothing that would go negative.
        const PaneRects minimised = layoutFor(0, 0, normal);
        QCOMPARE(rect(minimised, Pane::RamkaD), rect(normal, Pane::RamkaD));
        QCOMPARE(rect(minimised, Pane::Lista), rect(normal, Pane::Lista));
        const PaneRects restored = layoutFor(17280, 11055, minimised);
        QCOMPARE(restored, normal);
    }
};

QTEST_GUILESS_MAIN(TestPlacementAndLayout)
#include "tst_placementandlayout.moc"
