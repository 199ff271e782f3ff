#include "paste/SLKeys.h"

#include "platform/Desktop.h"

void KeyDown(uint8_t vk) {
  KeyInjector().SendKey(vk, true);
}
void KeyUp(uint8_t vk) {
  KeyInjector().SendKey(vk, false);
}
void ShiftDown() {
  KeyDown(vkShift);
}
void CtrlDown() {
  KeyDown(vkControl);
}
void AltDown() {
  KeyDown(vkMenu);
}
void ShiftUp() {
  KeyUp(vkShift);
}
void CtrlUp() {
  KeyUp(vkControl);
}
void AltUp() {
  KeyUp(vkMenu);
}

TSplitShortCut SplitShortCut(uint16_t value) {
  TSplitShortCut split;
  split.Key = value & 0x1FFF;
  split.Shift = (value & scShift) != 0;
  split.Ctrl = (value & scCtrl) != 0;
  split.Alt = (value & scAlt) != 0;
  return split;
}

void PressShortCut(uint16_t value) {
  const TSplitShortCut split = SplitShortCut(value);
  const auto vk = static_cast<uint8_t>(split.Key & 0xFF);
  if (split.Shift) ShiftDown();
  if (split.Alt) AltDown();
  if (split.Ctrl) CtrlDown();
  KeyDown(vk);
  KeyUp(vk);
  // Released in press order, not in reverse.
  if (split.Shift) ShiftUp();
  if (split.Alt) AltUp();
  if (split.Ctrl) CtrlUp();
}

void PressCtrlChar(char ch) {
  const auto vk = static_cast<uint8_t>(KeyInjector().KeyScan(ch) & 0xFF);
  CtrlDown();
  KeyDown(vk);
  KeyUp(vk);
  CtrlUp();
}
