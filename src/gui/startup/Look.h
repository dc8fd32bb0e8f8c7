#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QMessageBox;
class QWidget;

namespace q540 {

// How the windows look: the font of the entry fields and the icons the
// program draws itself.

// A fixed-width font, so that the fields and the name list line up as the display does.
QFont entryFont();
// The page lamp: a green dot beside a tab caption, or nothing.
QIcon lampIcon(bool lit);
// A round state lamp of the tool bar in the given colour.
QIcon stateIcon(const QColor& colour);

// Shows a window at its natural size, within the screen's free area, in
// the middle of it.
void showCentred(QWidget& window);
// Widens a message box to its title: a box is as wide as its text, and a
// short text left the title cut to "Q5… .3".
void keepTitleWhole(QMessageBox& box);

} // namespace q540
