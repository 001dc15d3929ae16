#pragma once
// The modal window that watches a transfer: its title is the fixed text (detection) or the
// item being transferred, its bar follows the transfer's percent (or cycles while detection
// has none), and Cancel asks the transfer to stop. The window closes when the worker has
// ended, never before, so the worker's results are handed over exactly once.

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtWidgets/QDialog>
#include <functional>

#include "device/TransferProgress.h"
#include "language/Language.h"

class QProgressBar;
class QPushButton;

namespace vesk {

class TransferProgressDialog : public QDialog {
  Q_OBJECT
 public:
  enum class TextMode { Fixed, TransportType };
  static constexpr int kTickMs = 100;

  TransferProgressDialog(const CLanguage& language, const TransferProgress& progress, TextMode mode,
                         QString fixedText, QWidget* parent = nullptr);

  // What Cancel does (besides disabling itself): ask the transfer to stop.
  void SetCancelAction(std::function<void()> cancel) { cancel_ = std::move(cancel); }
  bool CancelRequested() const { return cancelRequested_; }
  // The text the title shows now.
  QString CurrentText() const;
  QProgressBar* Bar() const { return bar_; }
  // Reads the figures once (the timer does this every 100 ms).
  void Tick();
  // The worker has ended: last figures, then the window closes.
  void CloseAfterWorker();

 protected:
  void reject() override;  // Escape and the close box act as Cancel

 private:
  void OnCancel();

  const CLanguage& language_;
  const TransferProgress& progress_;
  TextMode mode_;
  QString fixedText_;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QTimer timer_;
  int cycle_ = 0;
  bool cancelRequested_ = false;
  bool closing_ = false;
  std::function<void()> cancel_;
};

// Runs `work` on a worker thread behind a progress window and returns its result once the
// worker has ended. The link's cancel request is armed here, on the window's thread, before
// the worker starts. A 50 ms timer watches for the worker's end (and measures how regularly
// the window's thread got to run).
struct TransferRunStats {
  bool cancelled = false;   // the user pressed Cancel
  qint64 maxTickGapMs = 0;  // longest gap between two ticks of the 50 ms timer
  int ticks = 0;
  qint64 elapsedMs = 0;  // from the worker's start to the window's closing
};
int RunBehindProgress(QWidget* parent, const CLanguage& language, TransferProgress& progress,
                      TransferProgressDialog::TextMode mode, const QString& fixedText,
                      const std::function<void()>& arm, const std::function<void()>& cancel,
                      const std::function<int()>& work, TransferRunStats* stats = nullptr);

}  // namespace vesk
