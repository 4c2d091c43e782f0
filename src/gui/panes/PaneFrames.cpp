#include "PaneFrames.h"

#include "core/tree/TreeModel.h"
#include "gui/widgets/ListView.h"
#include "gui/widgets/TextLinesView.h"
#include "gui/widgets/WindowStyle.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QTreeView>

namespace velkor {

PaneFrame::PaneFrame(QWidget *window, const char *name, const QString &title, bool visible)
    : m_frame(paneFrame(window, name, title, visible))
{
}

bool PaneFrame::isShown() const
{
    return m_frame->isVisibleTo(m_frame->window());
}

QPushButton *PaneFrame::addButton(int index, const QString &caption, const QString &tooltip)
{
    QPushButton *button = commandButton(m_frame, index, caption, tooltip);
    m_buttons.emplace_back(index, button);
    return button;
}

ListPane::ListPane(QWidget *window, const char *frameName, const QString &title,
                   const std::vector<ButtonSpec> &buttons, const QString &listName, std::vector<ListColumn> columns,
                   bool visible)
    : PaneFrame(window, frameName, title, visible)
{
    // Created before the list, so Tab reaches them first.
    for (const ButtonSpec &button : buttons)
        addButton(button.index, button.caption, button.tooltip);
    m_model = new ListModel(std::move(columns), window);
    m_list = new ListView(m_model, listName, frame());
    m_list->setFont(dialogFont());
}

TreePane::TreePane(QWidget *window)
    : PaneFrame(window, "RamkaD", QStringLiteral("Struktura XML  F2"), true)
{
    addButton(6, QStringLiteral("Kopiuj tekst Ctrl+F2"));
    addButton(12, QStringLiteral("Info  F1"));
    addButton(5, QStringLiteral("Kopiuj XML Shift+F2"));
    m_model = new TreeModel(window);
    m_tree = new QTreeView(frame());
    m_tree->setObjectName(QStringLiteral("Drzewo"));
    m_tree->setFont(dialogFont());
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // The column is fitted to the rows in view whenever the tree changes (a
    // fit on every layout would measure the largest trees again and again).
    m_tree->header()->setStretchLastSection(false);
    const auto fitColumn = [tree = m_tree] { tree->resizeColumnToContents(0); };
    QObject::connect(m_tree, &QTreeView::expanded, m_tree, fitColumn);
    QObject::connect(m_tree, &QTreeView::collapsed, m_tree, fitColumn);
    QObject::connect(m_model, &QAbstractItemModel::modelReset, m_tree, fitColumn);
}

TextPane::TextPane(QWidget *window)
    : PaneFrame(window, "RamkaT", QStringLiteral("Tekst XML  F2"), false)
    , m_text(new TextLinesView(frame()))
{
    m_text->setObjectName(QStringLiteral("Struktura"));
    m_text->setFont(monospaceFont());
    addButton(7, QStringLiteral("Kopiuj tekst Ctrl+F2"));
}

QCheckBox *correctionsToggle(QWidget *window)
{
    auto *box = new QCheckBox(QStringLiteral("Pokaż dokumenty korygowane F12"), window);
    box->setObjectName(QStringLiteral("Korygowane"));
    box->setEnabled(false);
    return box;
}

QCheckBox *viewToggle(QWidget *window)
{
    auto *box = new QCheckBox(QStringLiteral("Przełącz widok F11"), window);
    box->setObjectName(QStringLiteral("StrukturaOn"));
    box->setToolTip(QStringLiteral("Widok: struktura lub tekst"));
    return box;
}

} // namespace velkor
