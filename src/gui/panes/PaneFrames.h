#pragma once

#include "core/invoice/ListModel.h"

#include <QString>

#include <utility>
#include <vector>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTreeView;
class QWidget;

namespace velkor {

class ListView;
class TextLinesView;
class TreeModel;

// The buttons of a frame by their index in the command array.
using IndexedButtons = std::vector<std::pair<int, QPushButton *>>;

// A frame of the main window with the widgets it holds. The widgets belong
// to the window (Qt's parent), the frame object only names them.
class PaneFrame
{
public:
    QGroupBox *frame() const { return m_frame; }
    const IndexedButtons &buttons() const { return m_buttons; }
    // Shown in its window, as the toggles leave it; true also before the
    // window itself is first shown.
    bool isShown() const;

protected:
    PaneFrame(QWidget *window, const char *name, const QString &title, bool visible);
    QPushButton *addButton(int index, const QString &caption, const QString &tooltip = {});

private:
    QGroupBox *m_frame;
    IndexedButtons m_buttons;
};

// A button of a frame: its index in the command array, caption and tip.
struct ButtonSpec
{
    int index;
    QString caption;
    QString tooltip;
};

// A frame with its buttons above one report-style list and its model.
class ListPane : public PaneFrame
{
public:
    ListPane(QWidget *window, const char *frameName, const QString &title, const std::vector<ButtonSpec> &buttons,
             const QString &listName, std::vector<ListColumn> columns, bool visible = true);
    ListView *list() const { return m_list; }
    ListModel *model() const { return m_model; }
    bool isEmpty() const { return m_model->isEmpty(); }

private:
    ListModel *m_model = nullptr;
    ListView *m_list = nullptr;
};

// The frame of the structure tree ("Drzewo") and its buttons.
class TreePane : public PaneFrame
{
public:
    explicit TreePane(QWidget *window);
    QTreeView *tree() const { return m_tree; }
    TreeModel *model() const { return m_model; }

private:
    TreeModel *m_model = nullptr;
    QTreeView *m_tree = nullptr;
};

// The frame of the XML text ("Struktura") and its button.
class TextPane : public PaneFrame
{
public:
    explicit TextPane(QWidget *window);
    TextLinesView *text() const { return m_text; }

private:
    TextLinesView *m_text;
};

// The four lists the display refresh fills.
struct ListPanes
{
    ListPane &lines;     // Lista
    ListPane &header;    // ListaS
    ListPane &details;   // ListaE
    ListPane &corrected; // ListaK
};

// The check boxes of the two toggles: "Korygowane" (header or corrected
// documents) and "StrukturaOn" (structure or text view).
QCheckBox *correctionsToggle(QWidget *window);
QCheckBox *viewToggle(QWidget *window);

} // namespace velkor
