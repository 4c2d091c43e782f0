#pragma once

#include <QString>

class QLabel;
class QStatusBar;
class QWidget;

namespace velkor {

// The main window's status bar and its three panels: "count" (the number of
// invoice lines), "info" (the summary of the focused pane's selection) and
// "kontrola" (the invoice check's count of remarks).
class StatusPanels
{
public:
    explicit StatusPanels(QWidget *window);

    QStatusBar *bar() const { return m_bar; }
    void setCount(const QString &text);
    void setInfo(const QString &text);
    void setCheck(const QString &text);

private:
    QStatusBar *m_bar;
    QLabel *m_count;
    QLabel *m_info;
    QLabel *m_check;
};

} // namespace velkor
