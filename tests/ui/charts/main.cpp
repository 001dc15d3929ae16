// The chart tests paint with real fonts, so they need a GUI application; without a display
// they run on the offscreen platform.

#include <gtest/gtest.h>

#include <QtWidgets/QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
