#pragma once
// The progress window of a worker: its message and percent, polled from the shared status
// every 100 ms; it closes itself once the state leaves Running.

#include <QtCore/QTimer>
#include <QtWidgets/QDialog>

class QLabel;
class QProgressBar;

namespace vesk {

class TaskStatus;

class CTaskProgressDialog : public QDialog {
  Q_OBJECT
 public:
  CTaskProgressDialog(QWidget* parent, const TaskStatus& status);

  QLabel* MessageLabel() const { return message_; }
  QProgressBar* Bar() const { return bar_; }
  // One look at the status; closes the window when the worker has ended.
  void Poll();
  // The worker cannot be stopped halfway (Escape, the close box): the window goes when it ends.
  void reject() override {}

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const TaskStatus& status_;
  QLabel* message_;
  QProgressBar* bar_;
  QTimer timer_;
};

}  // namespace vesk
