#pragma once

#include <QString>

class QFont;
class QGroupBox;
class QPushButton;
class QWidget;

namespace velkor {

// The text of the program's windows: the classic dialog font where it
// exists, otherwise a metrically similar sans serif, so captions fit the
// button sizes given in twips.
QFont dialogFont();
// The XML text view's fixed-pitch font.
QFont monospaceFont();

// A pane's frame: its title in bold, shown or hidden from the start.
QGroupBox *paneFrame(QWidget *parent, const char *name, const QString &title, bool visible);
// A button of the command array, named "Command<index>": reached by Tab and
// never the default button, in the ordinary font also inside a frame.
QPushButton *commandButton(QWidget *parent, int index, const QString &caption, const QString &tooltip = {});

} // namespace velkor
