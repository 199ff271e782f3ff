// One application object for every test of this program, the same class the
// program runs with, so exceptions escaping event handlers reach the handler.
#include <gtest/gtest.h>

#include "framework/SLAppEvents.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  TSLApplicationObject app(argc, argv);
  TSLApplicationObject::setApplicationDisplayName("Vellumin Test Title");
  TSLApplicationObject::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
