#pragma once
// The application icon: a green intensity curve on black, in the sizes the
// window system asks for. The pictures are shared with the Windows program.

#include <QIcon>

QIcon AppIcon();
