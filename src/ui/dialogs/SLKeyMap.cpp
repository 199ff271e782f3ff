#include "ui/dialogs/SLKeyMap.h"

#include <QKeySequence>

namespace {

struct TKeyRow {
  uint8_t vk;
  int key;
  bool keypad;
  bool twoWay;  // false: only Qt key -> code (a second Qt key for the same code)
};

// Letters, digits and F1-F24 are ranges (see below); everything else is here.
constexpr TKeyRow kRows[] = {
    {0x03, Qt::Key_Cancel, false, true},
    {0x08, Qt::Key_Backspace, false, true},
    {0x09, Qt::Key_Tab, false, true},
    {0x09, Qt::Key_Backtab, false, false},
    {0x0C, Qt::Key_Clear, false, true},
    {0x0D, Qt::Key_Return, false, true},
    {0x0D, Qt::Key_Enter, true, false},
    {0x0D, Qt::Key_Enter, false, false},
    {0x10, Qt::Key_Shift, false, true},
    {0x11, Qt::Key_Control, false, true},
    {0x12, Qt::Key_Alt, false, true},
    {0x13, Qt::Key_Pause, false, true},
    {0x14, Qt::Key_CapsLock, false, true},
    {0x1B, Qt::Key_Escape, false, true},
    {0x20, Qt::Key_Space, false, true},
    {0x21, Qt::Key_PageUp, false, true},
    {0x22, Qt::Key_PageDown, false, true},
    {0x23, Qt::Key_End, false, true},
    {0x24, Qt::Key_Home, false, true},
    {0x25, Qt::Key_Left, false, true},
    {0x26, Qt::Key_Up, false, true},
    {0x27, Qt::Key_Right, false, true},
    {0x28, Qt::Key_Down, false, true},
    {0x29, Qt::Key_Select, false, true},
    {0x2A, Qt::Key_Printer, false, true},
    {0x2B, Qt::Key_Execute, false, true},
    {0x2C, Qt::Key_Print, false, true},
    {0x2D, Qt::Key_Insert, false, true},
    {0x2E, Qt::Key_Delete, false, true},
    {0x2F, Qt::Key_Help, false, true},
    {0x5B, Qt::Key_Super_L, false, true},
    {0x5C, Qt::Key_Super_R, false, true},
    {0x5D, Qt::Key_Menu, false, true},
    {0x6A, Qt::Key_Asterisk, true, true},
    {0x6B, Qt::Key_Plus, true, true},
    {0x6C, Qt::Key_Comma, true, true},
    {0x6D, Qt::Key_Minus, true, true},
    {0x6E, Qt::Key_Period, true, true},
    {0x6F, Qt::Key_Slash, true, true},
    {0x90, Qt::Key_NumLock, false, true},
    {0x91, Qt::Key_ScrollLock, false, true},
    // Left and right modifiers: Qt does not tell them apart.
    {0xA0, Qt::Key_Shift, false, false},
    {0xA2, Qt::Key_Control, false, false},
    {0xA4, Qt::Key_Alt, false, false},
    // The punctuation keys, by the US layout, then their shifted symbols.
    {0xBA, Qt::Key_Semicolon, false, true},
    {0xBB, Qt::Key_Equal, false, true},
    {0xBC, Qt::Key_Comma, false, true},
    {0xBD, Qt::Key_Minus, false, true},
    {0xBE, Qt::Key_Period, false, true},
    {0xBF, Qt::Key_Slash, false, true},
    {0xC0, Qt::Key_QuoteLeft, false, true},
    {0xDB, Qt::Key_BracketLeft, false, true},
    {0xDC, Qt::Key_Backslash, false, true},
    {0xDD, Qt::Key_BracketRight, false, true},
    {0xDE, Qt::Key_Apostrophe, false, true},
    {0xE2, Qt::Key_Less, false, true},
    {0xBA, Qt::Key_Colon, false, false},
    {0xBB, Qt::Key_Plus, false, false},
    {0xBE, Qt::Key_Greater, false, false},
    {0xBF, Qt::Key_Question, false, false},
    {0xC0, Qt::Key_AsciiTilde, false, false},
    {0xDB, Qt::Key_BraceLeft, false, false},
    {0xDC, Qt::Key_Bar, false, false},
    {0xDD, Qt::Key_BraceRight, false, false},
    {0xDE, Qt::Key_QuoteDbl, false, false},
    {0xBD, Qt::Key_Underscore, false, false},
    {'1', Qt::Key_Exclam, false, false},
    {'2', Qt::Key_At, false, false},
    {'3', Qt::Key_NumberSign, false, false},
    {'4', Qt::Key_Dollar, false, false},
    {'5', Qt::Key_Percent, false, false},
    {'6', Qt::Key_AsciiCircum, false, false},
    {'7', Qt::Key_Ampersand, false, false},
    {'8', Qt::Key_Asterisk, false, false},
    {'9', Qt::Key_ParenLeft, false, false},
    {'0', Qt::Key_ParenRight, false, false},
};

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

}  // namespace

uint8_t VirtualKeyOfQtKey(int qtKey, bool keypad) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<uint8_t>(qtKey);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return static_cast<uint8_t>(keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    return static_cast<uint8_t>(0x70 + (qtKey - Qt::Key_F1));
  for (const TKeyRow& row : kRows)
    if (row.key == qtKey && row.keypad == keypad) return row.vk;
  if (keypad)  // keypad keys without a keypad code of their own (Home, arrows ...)
    return VirtualKeyOfQtKey(qtKey, false);
  return 0;
}

TQtKey QtKeyOfVirtualKey(uint8_t vk) {
  if (vk >= 'A' && vk <= 'Z') return {vk, false};
  if (vk >= '0' && vk <= '9') return {vk, false};
  if (vk >= 0x60 && vk <= 0x69) return {Qt::Key_0 + (vk - 0x60), true};
  if (vk >= 0x70 && vk <= 0x87) return {Qt::Key_F1 + (vk - 0x70), false};
  for (const TKeyRow& row : kRows)
    if (row.vk == vk && row.twoWay) return {row.key, row.keypad};
  return {};
}

uint16_t ShortCutOfKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (IsModifierKey(qtKey)) return 0;
  const uint8_t vk = VirtualKeyOfQtKey(qtKey, modifiers.testFlag(Qt::KeypadModifier));
  if (vk == 0) return 0;
  uint16_t value = vk;
  if (modifiers.testFlag(Qt::ShiftModifier)) value |= 0x2000;
  if (modifiers.testFlag(Qt::ControlModifier)) value |= 0x4000;
  if (modifiers.testFlag(Qt::AltModifier)) value |= 0x8000;
  return value;
}

QString ShortCutText(uint16_t value) {
  if (value == 0) return QString();
  QString text;
  if (value & 0x4000) text += QStringLiteral("Ctrl + ");
  if (value & 0x2000) text += QStringLiteral("Shift + ");
  if (value & 0x8000) text += QStringLiteral("Alt + ");
  const uint16_t key = value & 0x1FFF;
  const TQtKey qt = QtKeyOfVirtualKey(static_cast<uint8_t>(key & 0xFF));
  if (key > 0xFF || qt.key == Qt::Key_unknown)
    text += QStringLiteral("#%1").arg(key);
  else
    text += (qt.keypad ? QStringLiteral("Num ") : QString()) +
            QKeySequence(qt.key).toString(QKeySequence::NativeText);
  return text;
}
