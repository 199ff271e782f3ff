#pragma once
// Qt key events and Windows virtual-key codes, both ways. The shortcut value
// that the pasting rules keep is the virtual-key code in bits 0-12 with Shift
// 0x2000, Ctrl 0x4000 and Alt 0x8000; the key synthesis turns it back into
// desktop key presses (on X11 through its own virtual-key to keysym table,
// which covers the same keys: the tests hold the two tables together).
#include <QString>
#include <Qt>
#include <cstdint>

// The virtual-key code of a Qt key; keypad tells the keypad's digits and
// operators from the main keyboard's. 0 when the key has no code. Shifted
// symbols of the US layout ("!", "?", ...) give their key's code.
uint8_t VirtualKeyOfQtKey(int qtKey, bool keypad);

struct TQtKey {
  int key = Qt::Key_unknown;
  bool keypad = false;
};
// The Qt key of a virtual-key code (Qt::Key_unknown when none).
TQtKey QtKeyOfVirtualKey(uint8_t vk);

// The shortcut value of a key with its modifiers; 0 when the key has no code
// or is itself a modifier.
uint16_t ShortCutOfKey(int qtKey, Qt::KeyboardModifiers modifiers);

// "Ctrl + Shift + A" style text of a shortcut value; "" for 0.
QString ShortCutText(uint16_t value);
