#include "TextAndReveal.h"

#include "core/commands/InvoiceState.h"
#include "core/tree/RevealRequest.h"
#include "core/tree/TextView.h"
#include "core/tree/TreeModel.h"
#include "gui/widgets/TextLinesView.h"
#include "gui/window/MainWindowControls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTimer>
#include <QTreeView>

namespace velkor {

namespace {
constexpr int MaxAncestorsExpanded = 21;
}

TextAndReveal::TextAndReveal(MainWindowControls &controls, InvoiceState &state, QObject *parent)
    : QObject(parent), m_controls(controls), m_state(state)
{
    connect(controls.strukturaOn, &QCheckBox::toggled, this, &TextAndReveal::StrukturaOn_Click);
    connect(controls.zegar, &QTimer::timeout, this, &TextAndReveal::Zegar_Timer);
    // The timer runs from the start; its first tick finds no request and stops it.
    controls.zegar->start();
}

void TextAndReveal::clear()
{
    m_textView.reset();
    m_controls.struktura->setTextView(nullptr);
}

QString TextAndReveal::builtText() const
{
    return m_textView ? m_textView->wholeText() : QString();
}

bool TextAndReveal::isTextBuilt() const
{
    return m_textView && m_textView->lineCount() > 0;
}

void TextAndReveal::StrukturaOn_Click()
{
    auto &c = m_controls;
    if (c.strukturaOn->isChecked()) {
        if (!m_textView) {
            m_textView = std::make_shared<TextView>(TextView::build(m_state.tree));
            c.struktura->setTextView(m_textView);
        }
        c.ramkaD->hide();
        c.ramka->hide();
        c.ramkaT->show();
        c.struktura->setFocus(Qt::OtherFocusReason);
    } else {
        c.ramkaT->hide();
        c.ramkaD->show();
        c.ramka->show();
        c.drzewo->setFocus(Qt::OtherFocusReason);
    }
}

void TextAndReveal::ScheduleReveal(const QString &request)
{
    if (m_state.refreshing || request.isEmpty())
        return;
    m_pendingRequest = request;
    m_controls.zegar->start(); // restarts a pending wait: the last choice wins
}

void TextAndReveal::Zegar_Timer()
{
    m_controls.zegar->stop();
    const QString request = m_pendingRequest;
    m_pendingRequest.clear();
    if (request.isEmpty())
        return;
    RevealInTree(request);
    RevealInText(request);
}

int TextAndReveal::resolve(const QString &request) const
{
    const RevealRequest parsed = RevealRequest::parse(request);
    return m_state.tree->findNode(parsed.path, parsed.occurrence);
}

void TextAndReveal::RevealInTree(const QString &request)
{
    if (request.isEmpty())
        return;
    QTreeView *tree = m_controls.drzewo;
    tree->collapseAll();
    const int node = resolve(request);
    if (node == XmlTree::NoNode)
        return;
    const QModelIndex index = m_controls.treeModel->indexOfNode(node);
    QModelIndex ancestor = index.parent();
    for (int expanded = 0; ancestor.isValid() && expanded < MaxAncestorsExpanded; ++expanded) {
        tree->expand(ancestor);
        ancestor = ancestor.parent();
    }
    tree->scrollTo(index);
    tree->setCurrentIndex(index);
    if (m_state.tree->childCount(node) > 0)
        tree->expand(index);
}

void TextAndReveal::RevealInText(const QString &request)
{
    if (request.isEmpty() || !m_textView)
        return;
    const int node = resolve(request);
    const int line = m_textView->firstLineOf(node);
    if (node == XmlTree::NoNode || line < 0)
        return;
    m_controls.struktura->selectInLine(line, 0, int(m_state.tree->fullPath(node).size()));
}

} // namespace velkor
