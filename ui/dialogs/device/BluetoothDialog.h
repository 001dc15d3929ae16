#pragma once
// Scans for recorders over Bluetooth and connects to the one chosen. Scan and connect run on
// worker threads; the window polls them with a timer and touches the radio object only while
// no worker runs.

#include <QtCore/QTimer>
#include <QtWidgets/QDialog>
#include <atomic>
#include <thread>

#include "device/CBlueTooth.h"
#include "language/Language.h"
#include "platform/MessageSink.h"

class QTreeWidget;
class QProgressBar;
class QPushButton;

namespace vesk {

class BluetoothDialog : public QDialog {
  Q_OBJECT
 public:
  BluetoothDialog(const CLanguage& language, IMessageSink& sink, CBlueTooth& radio,
                  QWidget* parent = nullptr);
  ~BluetoothDialog() override;

  // The index of the connected recorder in the radio's found list (after OK); -1 before.
  int ChosenIndex() const { return chosen_; }
  bool Busy() const { return worker_.joinable(); }
  QTreeWidget* List() const { return list_; }

  void StartScan();
  void StartConnect();

 protected:
  void reject() override;

 private:
  enum class Work { None, Scan, Connect };
  void Poll();
  void ScanEnded();
  void ConnectEnded();
  void FillList();
  void Join();

  const CLanguage& language_;
  IMessageSink& sink_;
  CBlueTooth& radio_;
  QTreeWidget* list_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QPushButton* scan_ = nullptr;
  QPushButton* connect_ = nullptr;
  QTimer poll_;
  int counter_ = 0;
  int chosen_ = -1;
  int connecting_ = -1;
  Work work_ = Work::None;
  std::thread worker_;
  std::atomic<bool> workDone_{false};
  std::atomic<int> radios_{0};
  std::atomic<bool> connected_{false};
};

}  // namespace vesk
