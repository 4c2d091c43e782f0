#include "MainWindowControls.h"

#include "app/WindowGeometry.h"
#include "views/ListModel.h"
#include "views/ListView.h"
#include "views/TextLinesView.h"
#include "views/TreeModel.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

namespace velkor {

namespace {

// The first installed family of `families`, else the fallback's, in the given size.
QFont fontOrFallback(const QStringList &families, double pointSize, const QFont &fallback)
{
    const QStringList installed = QFontDatabase::families();
    QFont font = fallback;
    for (const QString &family : families) {
        if (installed.contains(family)) {
            font = QFont(family);
            break;
        }
    }
    font.setPointSizeF(pointSize);
    font.setBold(false); // stated explicitly, so children do not inherit a frame's bold
    return font;
}

QFont monospaceFont()
{
    return fontOrFallback({QStringLiteral("Consolas")}, 9.75, QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

QGroupBox *frame(QWidget *window, const char *name, const QString &title, bool visible)
{
    auto *box = new QGroupBox(title, window);
    box->setObjectName(QLatin1String(name));
    QFont font = dialogFont();
    font.setBold(true);
    box->setFont(font);
    box->setVisible(visible);
    return box;
}

QPushButton *button(QWidget *parent, int index, const QString &caption, const QString &tooltip = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QStringLiteral("Command%1").arg(index));
    b->setToolTip(tooltip);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    // Buttons inside frames take the window's ordinary font, not the frame title's.
    b->setFont(dialogFont());
    return b;
}

const QString ChooseAndCopyTip = QStringLiteral("Wybierz pozycję na liście i naciśnij Ctrl+C");
constexpr int CountPanelWidth = 500; // twips

} // namespace

QFont dialogFont()
{
    return fontOrFallback({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                           QStringLiteral("Liberation Sans"), QStringLiteral("Arial")},
                          8.25, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

TwipRect commandRowRect(int index)
{
    switch (index) {
    case 0:
        return {0, 0, 1275, 435};
    case 8:
        return {1260, 0, 1590, 435};
    case 9:
        return {2835, 0, 1590, 435};
    case 10:
        return {4410, 0, 1080, 435};
    case 13:
        return {5475, 0, 1245, 435};
    case 14:
        return {8745, 0, 1200, 435};
    default:
        return {};
    }
}

TwipRect strukturaOnRect()
{
    return {6720, 105, 2010, 225};
}

MainWindowControls::MainWindowControls(QWidget *window)
{
    window->setFont(dialogFont());

    zegar = new QTimer(window);
    zegar->setObjectName(QStringLiteral("Zegar"));
    zegar->setInterval(200);
    zegar->setSingleShot(false);

    command[8] = button(window, 8, QStringLiteral("Otwórz z pliku F5"));
    command[9] = button(window, 9, QStringLiteral("Wklej Ctrl+F5"));
    command[10] = button(window, 10, QStringLiteral("Kontrola  F9"), QStringLiteral("Sprawdź sumy, numery i plik faktury"));
    command[13] = button(window, 13, QStringLiteral("Drukuj  Ctrl+P"), QStringLiteral("Drukuj fakturę lub zapisz jako PDF"));
    command[0] = button(window, 0, QStringLiteral("Zamknij Esc"));
    command[14] = button(window, 14, QStringLiteral("Rejestr  F8"),
                         QStringLiteral("Rejestr faktur: folder (F8), kilka plików lub paczka ZIP (Shift+F8)"));

    korygowane = new QCheckBox(QStringLiteral("Pokaż dokumenty korygowane F12"), window);
    korygowane->setObjectName(QStringLiteral("Korygowane"));
    korygowane->setEnabled(false);
    strukturaOn = new QCheckBox(QStringLiteral("Przełącz widok F11"), window);
    strukturaOn->setObjectName(QStringLiteral("StrukturaOn"));
    strukturaOn->setToolTip(QStringLiteral("Widok: struktura lub tekst"));

    ramkaD = frame(window, "RamkaD", QStringLiteral("Struktura XML  F2"), true);
    command[6] = button(ramkaD, 6, QStringLiteral("Kopiuj tekst Ctrl+F2"));
    command[12] = button(ramkaD, 12, QStringLiteral("Info  F1"));
    command[5] = button(ramkaD, 5, QStringLiteral("Kopiuj XML Shift+F2"));
    treeModel = new TreeModel(window);
    drzewo = new QTreeView(ramkaD);
    drzewo->setObjectName(QStringLiteral("Drzewo"));
    drzewo->setModel(treeModel);
    drzewo->setHeaderHidden(true);
    drzewo->setUniformRowHeights(true);
    drzewo->setExpandsOnDoubleClick(false);
    drzewo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    drzewo->setSelectionMode(QAbstractItemView::SingleSelection);
    // The column is fitted to the rows in view whenever the tree changes (a
    // fit on every layout would measure the largest trees again and again).
    drzewo->header()->setStretchLastSection(false);
    const auto fitTreeColumn = [tree = drzewo] { tree->resizeColumnToContents(0); };
    QObject::connect(drzewo, &QTreeView::expanded, drzewo, fitTreeColumn);
    QObject::connect(drzewo, &QTreeView::collapsed, drzewo, fitTreeColumn);
    QObject::connect(treeModel, &QAbstractItemModel::modelReset, drzewo, fitTreeColumn);

    ramka = frame(window, "Ramka", QStringLiteral("Pozycje faktury  F6"), true);
    command[2] = button(ramka, 2, QStringLiteral("Kopiuj tabelę Ctrl+F6"));
    command[11] = button(ramka, 11, QStringLiteral("«»"), QStringLiteral("Dopasuj szrokości kolumn"));
    listaModel = new ListModel(invoiceLineColumns(), window);
    lista = new ListView(listaModel, QStringLiteral("Lista"), ramka);
    lista->setSelectionMode(QAbstractItemView::ExtendedSelection);

    ramkaS = frame(window, "RamkaS", QStringLiteral("Sprzedawca - nagłówek faktury  F3"), true);
    command[1] = button(ramkaS, 1, QStringLiteral("Kopiuj zawartość Ctrl+F3"), ChooseAndCopyTip);
    listaSModel = new ListModel(headerFieldColumns(), window);
    listaS = new ListView(listaSModel, QStringLiteral("ListaS"), ramkaS);

    ramkaE = frame(window, "RamkaE", QStringLiteral("Pozycja faktury  F7"), true);
    command[3] = button(ramkaE, 3, QStringLiteral("Kopiuj zawartość Ctrl+F7"), ChooseAndCopyTip);
    listaEModel = new ListModel(lineDetailColumns(), window);
    listaE = new ListView(listaEModel, QStringLiteral("ListaE"), ramkaE);

    ramkaK = frame(window, "RamkaK", QStringLiteral("Dokumenty korygowane  F3"), false);
    command[4] = button(ramkaK, 4, QStringLiteral("Kopiuj zawartość Ctrl+F3"), ChooseAndCopyTip);
    listaKModel = new ListModel(correctedDocumentColumns(), window);
    listaK = new ListView(listaKModel, QStringLiteral("ListaK"), ramkaK);

    ramkaT = frame(window, "RamkaT", QStringLiteral("Tekst XML  F2"), false);
    struktura = new TextLinesView(ramkaT);
    struktura->setObjectName(QStringLiteral("Struktura"));
    struktura->setFont(monospaceFont());
    command[7] = button(ramkaT, 7, QStringLiteral("Kopiuj tekst Ctrl+F2"));

    for (QWidget *content : std::initializer_list<QWidget *>{drzewo, lista, listaS, listaE, listaK})
        content->setFont(dialogFont());

    status = new QStatusBar(window);
    status->setObjectName(QStringLiteral("Status"));
    status->setSizeGripEnabled(true);
    countPanel = new QLabel(status);
    countPanel->setObjectName(QStringLiteral("count"));
    countPanel->setToolTip(QStringLiteral("Liczba pozycji faktury"));
    // Wide enough to point at, whatever the number.
    countPanel->setFixedWidth(twipsFor(window).toPixels(CountPanelWidth));
    infoPanel = new QLabel(status);
    infoPanel->setObjectName(QStringLiteral("info"));
    infoPanel->setTextFormat(Qt::PlainText);
    countPanel->setTextFormat(Qt::PlainText);
    checkPanel = new QLabel(status);
    checkPanel->setObjectName(QStringLiteral("kontrola"));
    checkPanel->setTextFormat(Qt::PlainText);
    checkPanel->setToolTip(QStringLiteral("Wynik kontroli faktury (F9)"));
    status->addWidget(countPanel);
    status->addWidget(infoPanel, 1);
    status->addWidget(checkPanel);
}

QWidget *MainWindowControls::widgetOf(Pane pane) const
{
    switch (pane) {
    case Pane::RamkaD: return ramkaD;
    case Pane::RamkaS: return ramkaS;
    case Pane::RamkaK: return ramkaK;
    case Pane::Ramka: return ramka;
    case Pane::RamkaE: return ramkaE;
    case Pane::RamkaT: return ramkaT;
    case Pane::Korygowane: return korygowane;
    case Pane::Drzewo: return drzewo;
    case Pane::Struktura: return struktura;
    case Pane::ListaS: return listaS;
    case Pane::ListaK: return listaK;
    case Pane::Lista: return lista;
    case Pane::ListaE: return listaE;
    case Pane::Command1: return command[1];
    case Pane::Command2: return command[2];
    case Pane::Command3: return command[3];
    case Pane::Command4: return command[4];
    case Pane::Command5: return command[5];
    case Pane::Command6: return command[6];
    case Pane::Command7: return command[7];
    case Pane::Command11: return command[11];
    case Pane::Command12: return command[12];
    case Pane::Count: break;
    }
    return nullptr;
}

} // namespace velkor
