#pragma once

#include <QIcon>

// The program's icon, the picture of packaging/mervolante-lpg.svg drawn at the sizes a
// window manager asks for, so that the window shows it without an SVG reader.
QIcon ProgramIcon();
