#pragma once
// Running another program (the report program, the patient-information program, a PDF
// handler) while the main window is hidden, and waiting for its end.

#include <string>

#include "language/Language.h"
#include "platform/MessageSink.h"

namespace vesk {

// What RunOtherExe needs of the main window; the program implements it, tests record it.
class IMainWindowVisibility {
 public:
  virtual ~IMainWindowVisibility() = default;
  virtual void Hide() = 0;
  virtual void Show() = 0;
};

// Hides the window for its lifetime and shows it again however the scope ends.
class HiddenWindow {
 public:
  explicit HiddenWindow(IMainWindowVisibility* window) : window_(window) {
    if (window_) window_->Hide();
  }
  ~HiddenWindow() {
    if (window_) window_->Show();
  }
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;

 private:
  IMainWindowVisibility* window_;
};

// Hides the window, checks the program path (an empty path and a missing file are reported
// through the sink with the texts "IDS_PATH_NULL" and "IDS_PATH_NOEXIST" of "SystemSet"),
// runs the program with the two arguments, each passed as one argument whatever it holds,
// and waits without a time limit for its end. The window is shown again in every outcome.
// Returns 1 when the program ran to its end, 0 when it was not started; a program that
// exists but cannot be started is not reported. window may be null.
int RunOtherExe(const std::string& program, const std::string& arg1, const std::string& arg2,
                const CLanguage& language, IMessageSink& sink, IMainWindowVisibility* window);

}  // namespace vesk
