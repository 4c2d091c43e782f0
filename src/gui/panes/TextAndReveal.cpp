#include "TextAndReveal.h"

#include "core/commands/InvoiceState.h"
#include "core/tree/RevealRequest.h"
#include "core/tree/TextView.h"
#include "core/tree/TreeModel.h"
#include "gui/panes/PaneFrames.h"
#include "gui/widgets/TextLinesView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTimer>
#include <QTreeView>

namespace velkor {

namespace {
constexpr int MaxAncestorsExpanded = 21;
}

TextAndReveal::TextAndReveal(TreePane &tree, TextPane &text, QWidget &linesFrame, QCheckBox &strukturaOn,
                             InvoiceState &state, QObject *parent)
    : QObject(parent)
    , m_tree(tree)
    , m_text(text)
    , m_linesFrame(linesFrame)
    , m_strukturaOn(strukturaOn)
    , m_zegar(new QTimer(this))
    , m_state(state)
{
    m_zegar->setObjectName(QStringLiteral("Zegar"));
    m_zegar->setInterval(200);
    m_zegar->setSingleShot(false);
    connect(&m_strukturaOn, &QCheckBox::toggled, this, &TextAndReveal::StrukturaOn_Click);
    connect(m_zegar, &QTimer::timeout, this, &TextAndReveal::Zegar_Timer);
    // The timer runs from the start; its first tick finds no request and stops it.
    m_zegar->start();
}

void TextAndReveal::clear()
{
    m_textView.reset();
    m_text.text()->setTextView(nullptr);
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
    if (m_strukturaOn.isChecked()) {
        if (!m_textView) {
            m_textView = std::make_shared<TextView>(TextView::build(m_state.tree));
            m_text.text()->setTextView(m_textView);
        }
        m_tree.frame()->hide();
        m_linesFrame.hide();
        m_text.frame()->show();
        m_text.text()->setFocus(Qt::OtherFocusReason);
    } else {
        m_text.frame()->hide();
        m_tree.frame()->show();
        m_linesFrame.show();
        m_tree.tree()->setFocus(Qt::OtherFocusReason);
    }
}

void TextAndReveal::toggleView()
{
    m_strukturaOn.setChecked(!m_strukturaOn.isChecked());
    StrukturaOn_Click();
}

void TextAndReveal::showStructureView()
{
    if (m_strukturaOn.isChecked())
        m_strukturaOn.setChecked(false);
}

void TextAndReveal::ScheduleReveal(const QString &request)
{
    if (m_state.refreshing || request.isEmpty())
        return;
    m_pendingRequest = request;
    m_zegar->start(); // restarts a pending wait: the last choice wins
}

void TextAndReveal::Zegar_Timer()
{
    m_zegar->stop();
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
    QTreeView *tree = m_tree.tree();
    tree->collapseAll();
    const int node = resolve(request);
    if (node == XmlTree::NoNode)
        return;
    const QModelIndex index = m_tree.model()->indexOfNode(node);
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
    m_text.text()->selectInLine(line, 0, int(m_state.tree->fullPath(node).size()));
}

} // namespace velkor
