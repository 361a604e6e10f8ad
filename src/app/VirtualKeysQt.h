#pragma once

#include <cstdint>

// The one place where the toolkit's key codes become Windows virtual-key codes (KeyTable.h).
// qtKey is a Qt::Key value (QKeyEvent::key()). Keys the program has no use for and no
// virtual-key code for give 0; they are still recorded in the key history as 0, which
// breaks a Ctrl+X combination or the service sequence as any other key would.
//
// A letter key gives its letter's code by the physical key, as virtual keys do, also while a
// layout of another script is active: a Cyrillic letter is taken by nativeScanCode (the X
// key code of QKeyEvent::nativeScanCode() on X11 and Wayland, 0 when unknown) and, without
// one, by the Russian layout's letter on that key.
int VirtualKeyFromQt(int qtKey, std::uint32_t nativeScanCode = 0);
