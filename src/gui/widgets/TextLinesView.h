#pragma once

#include <QAbstractScrollArea>

#include <functional>
#include <memory>

namespace velkor {

class TextView;

// The read-only text box of the XML text view. It shows the lines of a
// TextView without copying them into a text document: only the lines on
// screen are ever produced, so the largest invoice scrolls at once. The user
// selects with the mouse or the keyboard and copies with Ctrl+C or the
// context menu.
class TextLinesView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit TextLinesView(QWidget *parent = nullptr);
    ~TextLinesView() override;

    void setTextView(std::shared_ptr<const TextView> view);
    const TextView *textView() const { return m_view.get(); }
    bool isEmpty() const;
    int lineCount() const;

    // Selects `length` characters of `line` from `column` and scrolls them
    // into view.
    void selectInLine(int line, int column, int length);
    void selectAll();
    QString selectedText() const;
    int cursorLine() const { return m_cursor.line; }
    int firstVisibleLine() const;

    // Where copied text goes; without one nothing is copied.
    void setCopyHandler(std::function<void(const QString &)> handler) { m_copy = std::move(handler); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Position
    {
        int line = 0;
        int column = 0;
        bool operator<(const Position &o) const { return line < o.line || (line == o.line && column < o.column); }
        bool operator==(const Position &o) const { return line == o.line && column == o.column; }
    };

    int lineHeight() const;
    int leftMargin() const;
    int columnX(const QString &line, int column) const;
    Position positionAt(const QPoint &point) const;
    Position clamped(Position position) const;
    void moveCursorTo(Position position, bool keepAnchor);
    void ensureVisible(const Position &position);
    void updateScrollBars();
    void copySelection();

    std::shared_ptr<const TextView> m_view;
    Position m_anchor;
    Position m_cursor;
    std::function<void(const QString &)> m_copy;
};

} // namespace velkor
