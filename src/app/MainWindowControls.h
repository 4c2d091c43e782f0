#pragma once

#include "app/Layout.h"

#include <QString>

#include <array>

class QCheckBox;
class QFont;
class QGroupBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTimer;
class QTreeView;
class QWidget;

namespace velkor {

class ListModel;
class ListView;
class TextLinesView;
class TreeModel;

// Every control of the main window, created once with its fixed captions,
// tooltips and initial states. The window's logic refers to them by the
// names the user-visible behaviour is described with.
struct MainWindowControls
{
    explicit MainWindowControls(QWidget *window);

    // The push-button array; 10 is the invoice check, 13 the printout.
    std::array<QPushButton *, 15> command{};

    QCheckBox *strukturaOn = nullptr;
    QCheckBox *korygowane = nullptr;

    QGroupBox *ramkaD = nullptr; // structure tree
    QGroupBox *ramka = nullptr;  // invoice lines
    QGroupBox *ramkaS = nullptr; // header fields
    QGroupBox *ramkaE = nullptr; // line details
    QGroupBox *ramkaK = nullptr; // corrected documents
    QGroupBox *ramkaT = nullptr; // XML text

    QTreeView *drzewo = nullptr;
    ListView *lista = nullptr;
    ListView *listaS = nullptr;
    ListView *listaE = nullptr;
    ListView *listaK = nullptr;
    TextLinesView *struktura = nullptr;

    TreeModel *treeModel = nullptr;
    ListModel *listaModel = nullptr;
    ListModel *listaSModel = nullptr;
    ListModel *listaEModel = nullptr;
    ListModel *listaKModel = nullptr;

    QStatusBar *status = nullptr;
    QLabel *countPanel = nullptr; // panel "count"
    QLabel *infoPanel = nullptr;  // panel "info"
    QLabel *checkPanel = nullptr; // panel "kontrola": the invoice check's count of remarks

    QTimer *zegar = nullptr;

    // The widget the layout places for a pane.
    QWidget *widgetOf(Pane pane) const;
};

// The text of the program's windows: the classic dialog font where it
// exists, otherwise a metrically similar sans serif, so captions fit the
// button sizes given in twips.
QFont dialogFont();

// The command row above the frames, in twips; the layout never moves it.
TwipRect commandRowRect(int index);
TwipRect strukturaOnRect();

} // namespace velkor
