#pragma once
// The application icon: a green intensity curve on black, in the sizes of a
// title bar, a task list and the About box. Desktops take larger sizes from
// the installed icon theme, by the desktop entry's name: decoding the 256
// pixel picture at start-up, for the window system to copy, cost about a
// tenth of the time to the first frame. The pictures are shared with the
// Windows program.

#include <QIcon>

QIcon AppIcon();
