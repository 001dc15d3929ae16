#pragma once
// The one application object of the report tests, made on first use.
#include <QtWidgets/QApplication>

namespace vesk::report {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "test_report";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit the platform's devices may already be gone, and tearing the
  // application down after them crashes.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace vesk::report
