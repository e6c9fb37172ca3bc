#pragma once

#include <QIcon>

// The program's icon at 16, 32, 48, 64, 128 and 256 pixels (the same pictures as the
// Windows icon resource), so that the window system takes the size that fits the screen's
// scale instead of stretching a small one.
QIcon applicationIcon();
