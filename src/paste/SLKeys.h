#pragma once
// Synthesised keyboard input. A key combination is a 16-bit value: the key in
// bits 0-12 (its low 8 bits are the virtual-key code sent), Shift 0x2000,
// Ctrl 0x4000, Alt 0x8000. The events enter the desktop's input stream and
// reach whichever window has the keyboard focus; nothing waits in between.
#include <cstdint>

inline constexpr uint8_t vkShift = 0x10;
inline constexpr uint8_t vkControl = 0x11;
inline constexpr uint8_t vkMenu = 0x12;  // Alt

inline constexpr uint16_t scShift = 0x2000;
inline constexpr uint16_t scCtrl = 0x4000;
inline constexpr uint16_t scAlt = 0x8000;

void KeyDown(uint8_t vk);
void KeyUp(uint8_t vk);
void ShiftDown();
void CtrlDown();
void AltDown();
void ShiftUp();
void CtrlUp();
void AltUp();

struct TSplitShortCut {
  uint16_t Key = 0;  // value AND 0x1FFF
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
};
TSplitShortCut SplitShortCut(uint16_t value);

// Presses Shift, Alt, Ctrl as the value asks, presses and releases the key,
// then releases the modifiers in the order they were pressed.
void PressShortCut(uint16_t value);
// Ctrl held around the key that types ch; the shift state of the lookup is
// ignored, so "V" gives Ctrl+V without Shift.
void PressCtrlChar(char ch);
