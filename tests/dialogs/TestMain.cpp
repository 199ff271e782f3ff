// One application object for every test of this program, the class the
// program runs with.
#include <gtest/gtest.h>

#include "framework/SLAppEvents.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  TSLApplicationObject app(argc, argv);
  TSLApplicationObject::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
