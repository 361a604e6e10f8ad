#pragma once

#include <QColor>
#include <cstdint>

// A platform colour value as a QColor: red in the low byte, then green, then blue; a value
// whose top byte is 0x80 names a system colour (its low byte the index: 5 the window
// background, 15 the button face, 8 the window text, ...), which takes the colour of the
// matching role of the application's palette.
QColor PlatformColour(std::int32_t colour);
