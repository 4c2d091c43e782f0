#include "TextLinesView.h"

#include "core/tree/TextView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace velkor {

TextLinesView::TextLinesView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

TextLinesView::~TextLinesView() = default;

void TextLinesView::setTextView(std::shared_ptr<const TextView> view)
{
    m_view = std::move(view);
    m_anchor = m_cursor = Position();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

bool TextLinesView::isEmpty() const
{
    return !m_view || m_view->lineCount() == 0;
}

int TextLinesView::lineCount() const
{
    return m_view ? m_view->lineCount() : 0;
}

int TextLinesView::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int TextLinesView::leftMargin() const
{
    return 3;
}

int TextLinesView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int TextLinesView::columnX(const QString &line, int column) const
{
    return leftMargin() - horizontalScrollBar()->value() + fontMetrics().horizontalAdvance(line.left(column));
}

void TextLinesView::updateScrollBars()
{
    const int visibleLines = std::max(1, viewport()->height() / lineHeight());
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visibleLines));
    verticalScrollBar()->setPageStep(visibleLines);
    verticalScrollBar()->setSingleStep(1);
    // A monospace font: the longest line's width follows from its length.
    const int widest = m_view ? m_view->maxLineLength() * fontMetrics().horizontalAdvance(QLatin1Char('0')) : 0;
    horizontalScrollBar()->setRange(0, std::max(0, widest + 2 * leftMargin() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

void TextLinesView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextLinesView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    if (!m_view)
        return;
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    const Position from = std::min(m_anchor, m_cursor);
    const Position to = std::max(m_anchor, m_cursor);
    const int height = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int first = firstVisibleLine();
    const int last = std::min(lineCount() - 1, first + viewport()->height() / height + 1);
    for (int line = first; line <= last; ++line) {
        const QString text = m_view->lineText(line);
        const int top = (line - first) * height;
        painter.setPen(palette().color(group, QPalette::Text));
        painter.drawText(columnX(text, 0), top + ascent, text);
        if (from == to || line < from.line || line > to.line)
            continue;
        const int start = line == from.line ? from.column : 0;
        const int end = line == to.line ? to.column : int(text.size());
        // A selection that runs on past the end of the line shows the break.
        const int extra = line < to.line ? fontMetrics().horizontalAdvance(QLatin1Char(' ')) : 0;
        const QRect selected(QPoint(columnX(text, start), top), QPoint(columnX(text, end) + extra - 1, top + height - 1));
        painter.fillRect(selected, palette().brush(group, QPalette::Highlight));
        painter.save();
        painter.setClipRect(selected);
        painter.setPen(palette().color(group, QPalette::HighlightedText));
        painter.drawText(columnX(text, 0), top + ascent, text);
        painter.restore();
    }
    if (hasFocus() && m_cursor.line >= first && m_cursor.line <= last) {
        const int x = columnX(m_view->lineText(m_cursor.line), m_cursor.column);
        const int top = (m_cursor.line - first) * height;
        painter.setPen(palette().color(group, QPalette::Text));
        painter.drawLine(x, top, x, top + height - 1);
    }
}

TextLinesView::Position TextLinesView::clamped(Position position) const
{
    if (lineCount() == 0)
        return {};
    position.line = std::clamp(position.line, 0, lineCount() - 1);
    position.column = std::clamp(position.column, 0, m_view->lineLength(position.line));
    return position;
}

TextLinesView::Position TextLinesView::positionAt(const QPoint &point) const
{
    if (lineCount() == 0)
        return {};
    Position position;
    position.line = std::clamp(firstVisibleLine() + point.y() / lineHeight(), 0, lineCount() - 1);
    const QString text = m_view->lineText(position.line);
    // The column whose left edge is nearest to the point.
    int column = 0;
    while (column < text.size()) {
        const int middle = (columnX(text, column) + columnX(text, column + 1)) / 2;
        if (point.x() < middle)
            break;
        ++column;
    }
    position.column = column;
    return position;
}

void TextLinesView::ensureVisible(const Position &position)
{
    const int visibleLines = std::max(1, viewport()->height() / lineHeight());
    QScrollBar *vertical = verticalScrollBar();
    if (position.line < vertical->value())
        vertical->setValue(position.line);
    else if (position.line >= vertical->value() + visibleLines)
        vertical->setValue(position.line - visibleLines + 1);
    if (!m_view || lineCount() == 0)
        return;
    const QString text = m_view->lineText(position.line);
    QScrollBar *horizontal = horizontalScrollBar();
    const int x = leftMargin() + fontMetrics().horizontalAdvance(text.left(position.column));
    if (x < horizontal->value())
        horizontal->setValue(std::max(0, x - leftMargin()));
    else if (x > horizontal->value() + viewport()->width() - leftMargin())
        horizontal->setValue(x - viewport()->width() + 2 * leftMargin());
}

void TextLinesView::moveCursorTo(Position position, bool keepAnchor)
{
    m_cursor = clamped(position);
    if (!keepAnchor)
        m_anchor = m_cursor;
    ensureVisible(m_cursor);
    viewport()->update();
}

void TextLinesView::selectInLine(int line, int column, int length)
{
    if (lineCount() == 0)
        return;
    m_anchor = clamped({line, column});
    m_cursor = clamped({line, column + length});
    ensureVisible(m_cursor);
    ensureVisible(m_anchor);
    viewport()->update();
}

void TextLinesView::selectAll()
{
    if (lineCount() == 0)
        return;
    m_anchor = {0, 0};
    m_cursor = clamped({lineCount() - 1, m_view->lineLength(lineCount() - 1)});
    viewport()->update();
}

QString TextLinesView::selectedText() const
{
    if (!m_view || m_anchor == m_cursor)
        return {};
    const Position from = std::min(m_anchor, m_cursor);
    const Position to = std::max(m_anchor, m_cursor);
    return m_view->textBetween(from.line, from.column, to.line, to.column);
}

void TextLinesView::copySelection()
{
    const QString text = selectedText();
    if (!text.isEmpty() && m_copy)
        m_copy(text);
}

void TextLinesView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        moveCursorTo(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    QAbstractScrollArea::mousePressEvent(event);
}

void TextLinesView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        moveCursorTo(positionAt(event->position().toPoint()), true);
}

void TextLinesView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double click selects the whole line: one path.
    if (event->button() == Qt::LeftButton && lineCount() > 0) {
        const Position at = positionAt(event->position().toPoint());
        m_anchor = {at.line, 0};
        moveCursorTo({at.line, m_view->lineLength(at.line)}, true);
    }
}

void TextLinesView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (lineCount() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int page = std::max(1, viewport()->height() / lineHeight());
    Position target = m_cursor;
    switch (event->key()) {
    case Qt::Key_Up: --target.line; break;
    case Qt::Key_Down: ++target.line; break;
    case Qt::Key_PageUp: target.line -= page; break;
    case Qt::Key_PageDown: target.line += page; break;
    case Qt::Key_Left:
        if (target.column > 0)
            --target.column;
        else if (target.line > 0)
            target = {target.line - 1, m_view->lineLength(target.line - 1)};
        break;
    case Qt::Key_Right:
        if (target.column < m_view->lineLength(target.line))
            ++target.column;
        else if (target.line + 1 < lineCount())
            target = {target.line + 1, 0};
        break;
    case Qt::Key_Home:
        target = control ? Position{0, 0} : Position{target.line, 0};
        break;
    case Qt::Key_End:
        target = control ? Position{lineCount() - 1, m_view->lineLength(lineCount() - 1)}
                         : Position{target.line, m_view->lineLength(target.line)};
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    moveCursorTo(target, extend);
}

void TextLinesView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copy = menu.addAction(QStringLiteral("Kopiuj"), this, &TextLinesView::copySelection);
    copy->setEnabled(!selectedText().isEmpty());
    menu.addAction(QStringLiteral("Zaznacz wszystko"), this, &TextLinesView::selectAll)->setEnabled(lineCount() > 0);
    menu.exec(event->globalPos());
}

void TextLinesView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextLinesView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace velkor
