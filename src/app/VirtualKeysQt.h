#pragma once

// The one place where the toolkit's key codes become Windows virtual-key codes (KeyTable.h).
// qtKey is a Qt::Key value (QKeyEvent::key()). Keys the program has no use for and no
// virtual-key code for give 0; they are still recorded in the key history as 0, which
// breaks a Ctrl+X combination or the service sequence as any other key would.
int VirtualKeyFromQt(int qtKey);
