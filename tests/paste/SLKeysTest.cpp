#include <gtest/gtest.h>

#include <vector>

#include "FakeDesktop.h"
#include "paste/SLKeys.h"

namespace {

constexpr uint8_t kShift = 0x10, kCtrl = 0x11, kAlt = 0x12;

std::vector<TKeyEvent> Press(uint8_t vk) {
  return {{vk, true}, {vk, false}};
}

std::vector<TKeyEvent> Seq(std::initializer_list<std::vector<TKeyEvent>> parts) {
  std::vector<TKeyEvent> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TKeyEvent Down(uint8_t vk) {
  return {vk, true};
}
TKeyEvent Up(uint8_t vk) {
  return {vk, false};
}

struct ShortCutCase {
  const char* name;
  uint16_t value;
  std::vector<TKeyEvent> expected;
};

class PressShortCutTest : public testing::TestWithParam<ShortCutCase> {};

TEST_P(PressShortCutTest, SendsEventsInOrder) {
  TFakeDesktop desk;
  PressShortCut(GetParam().value);
  EXPECT_EQ(desk.Keys, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PressShortCutTest,
    testing::Values(ShortCutCase{"CtrlV", 16470, Seq({{Down(kCtrl)}, Press(0x56), {Up(kCtrl)}})},
                    // Modifiers are released in press order (Shift, Alt, Ctrl), not reversed.
                    ShortCutCase{
                        "CtrlShiftInsert", 0x602D,
                        Seq({{Down(kShift), Down(kCtrl)}, Press(0x2D), {Up(kShift), Up(kCtrl)}})},
                    ShortCutCase{"AltE", 0x8045, Seq({{Down(kAlt)}, Press(0x45), {Up(kAlt)}})},
                    ShortCutCase{"AllModifiers", 0xE041,
                                 Seq({{Down(kShift), Down(kAlt), Down(kCtrl)},
                                      Press(0x41),
                                      {Up(kShift), Up(kAlt), Up(kCtrl)}})},
                    ShortCutCase{"F1Alone", 112, Press(0x70)},
                    // Bits 8-12 of the key part are not sent: only the low 8 bits.
                    ShortCutCase{"KeyAbove255", 0x0156, Press(0x56)},
                    ShortCutCase{"KeyBits8To12AndShift", 0x3F2D,
                                 Seq({{Down(kShift)}, Press(0x2D), {Up(kShift)}})}),
    [](const testing::TestParamInfo<ShortCutCase>& info) { return info.param.name; });

TEST(SplitShortCutTest, SeparatesKeyAndModifiers) {
  const TSplitShortCut split = SplitShortCut(0xFFFF);
  EXPECT_EQ(split.Key, 0x1FFF);
  EXPECT_TRUE(split.Shift && split.Ctrl && split.Alt);
  const TSplitShortCut ctrlOnly = SplitShortCut(0x4056);
  EXPECT_EQ(ctrlOnly.Key, 0x56);
  EXPECT_TRUE(ctrlOnly.Ctrl);
  EXPECT_FALSE(ctrlOnly.Shift || ctrlOnly.Alt);
}

TEST(PressCtrlCharTest, IgnoresShiftStateOfTheLookup) {
  TFakeDesktop desk;
  PressShortCut(16470);
  const std::vector<TKeyEvent> ctrlV = desk.Keys;
  desk.Keys.clear();
  PressCtrlChar('V');  // upper case: the lookup reports Shift, which is dropped
  EXPECT_EQ(desk.Keys, ctrlV);
  desk.Keys.clear();
  PressCtrlChar('v');
  EXPECT_EQ(desk.Keys, ctrlV);
}

TEST(PressCtrlCharTest, CharacterWithoutKeySendsTheLowByteOfTheFailedLookup) {
  TFakeDesktop desk;
  PressCtrlChar('#');  // no key on the fake layout: the lookup gives -1
  EXPECT_EQ(desk.Keys, Seq({{Down(kCtrl)}, Press(0xFF), {Up(kCtrl)}}));
}

}  // namespace
