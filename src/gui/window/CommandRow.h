#pragma once

#include "core/window/Layout.h"
#include "gui/panes/PaneFrames.h"

class QWidget;

namespace velkor {

// The row of buttons above the frames: close, open, paste, check and print.
// The layout never moves it.
class CommandRow
{
public:
    explicit CommandRow(QWidget *window);
    const IndexedButtons &buttons() const { return m_buttons; }

private:
    IndexedButtons m_buttons;
};

// The command row's rectangles in twips, and the view toggle's beside them.
TwipRect commandRowRect(int index);
TwipRect strukturaOnRect();

} // namespace velkor
