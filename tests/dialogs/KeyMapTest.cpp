// The Qt key to virtual-key table: shortcut values of key presses, the way
// back, and agreement with the key synthesis' own virtual-key table (every
// key a field accepts can be typed, and typed as the same X key).
#include <gtest/gtest.h>

#include "platform/linux/X11Desktop.h"
#include "ui/dialogs/SLKeyMap.h"

namespace {

TEST(KeyMap, ShortCutValuesOfKeyPresses) {
  const struct {
    int key;
    Qt::KeyboardModifiers mods;
    uint16_t value;
  } cases[] = {
      {Qt::Key_V, Qt::ControlModifier, 0x4056},
      {Qt::Key_Insert, Qt::ShiftModifier, 0x202D},
      {Qt::Key_Delete, Qt::ControlModifier | Qt::AltModifier, 0xC02E},
      {Qt::Key_F1, Qt::NoModifier, 0x70},
      {Qt::Key_F24, Qt::NoModifier, 0x87},
      {Qt::Key_5, Qt::KeypadModifier, 0x65},
      {Qt::Key_5, Qt::NoModifier, 0x35},
      {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
      {Qt::Key_Exclam, Qt::ShiftModifier, 0x2031},  // Shift+1 on the US layout
      {Qt::Key_Question, Qt::ShiftModifier, 0x20BF},
      {Qt::Key_Return, Qt::NoModifier, 0x0D},
      {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
      {Qt::Key_Backtab, Qt::ShiftModifier, 0x2009},
      {Qt::Key_Shift, Qt::ShiftModifier, 0},  // a modifier alone is no combination
      {Qt::Key_Control, Qt::ControlModifier, 0},
      {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortCutOfKey(c.key, c.mods), c.value) << std::hex << c.key;
}

TEST(KeyMap, EveryCodeWithAQtKeyComesBack) {
  int mapped = 0;
  for (int vk = 1; vk < 256; ++vk) {
    const TQtKey qt = QtKeyOfVirtualKey(static_cast<uint8_t>(vk));
    if (qt.key == Qt::Key_unknown) continue;
    ++mapped;
    EXPECT_EQ(VirtualKeyOfQtKey(qt.key, qt.keypad), vk) << std::hex << vk;
  }
  EXPECT_GT(mapped, 100);
}

TEST(KeyMap, AgreesWithTheSynthesisTable) {
  for (int vk = 1; vk < 256; ++vk) {
    const unsigned long sym = TX11Desktop::KeysymOfVirtualKey(static_cast<uint8_t>(vk));
    const TQtKey qt = QtKeyOfVirtualKey(static_cast<uint8_t>(vk));
    const bool sided = vk >= 0xA0 && vk <= 0xA5;  // left/right modifiers: Qt has one key each
    if (sym != 0 && !sided) {
      ASSERT_NE(qt.key, Qt::Key_unknown) << "no Qt key for 0x" << std::hex << vk;
      EXPECT_EQ(TX11Desktop::KeysymOfVirtualKey(VirtualKeyOfQtKey(qt.key, qt.keypad)), sym)
          << std::hex << vk;
    }
    if (qt.key != Qt::Key_unknown)
      EXPECT_NE(sym, 0u) << "the synthesis cannot type 0x" << std::hex << vk;
  }
}

TEST(KeyMap, TextOfValues) {
  EXPECT_EQ(ShortCutText(0), "");
  EXPECT_EQ(ShortCutText(0x4056), "Ctrl + V");
  EXPECT_EQ(ShortCutText(0x202D), "Shift + Ins");
  EXPECT_EQ(ShortCutText(0x65), "Num 5");
}

}  // namespace
