#include "dialogs/device/TransferProgressDialog.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "device/DeviceTypes.h"
#include "device/DownloadTexts.h"
#include "dialogs/device/DeviceDialogUtil.h"

namespace vesk {

TransferProgressDialog::TransferProgressDialog(const CLanguage& language,
                                               const TransferProgress& progress, TextMode mode,
                                               QString fixedText, QWidget* parent)
    : QDialog(parent),
      language_(language),
      progress_(progress),
      mode_(mode),
      fixedText_(std::move(fixedText)) {
  setObjectName("TransferProgressDialog");
  setModal(true);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("1000");
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(360);
  cancelButton_ = new QPushButton(LangText(language, "Message Setting", "IDS_CANCEL"), this);
  cancelButton_->setObjectName(QString::number(kIdCancel));
  connect(cancelButton_, &QPushButton::clicked, this, &TransferProgressDialog::OnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(cancelButton_);
  layout->addLayout(row);

  const QString first = CurrentText();
  setWindowTitle(first);
  std::fprintf(stderr, "%s\r\n", first.toUtf8().constData());
  timer_.setInterval(kTickMs);
  connect(&timer_, &QTimer::timeout, this, &TransferProgressDialog::Tick);
  timer_.start();
}

QString TransferProgressDialog::CurrentText() const {
  if (mode_ == TextMode::Fixed) return fixedText_;
  return QString::fromStdString(TransportTypeText(progress_.type.load(), language_));
}

void TransferProgressDialog::Tick() {
  const int state = progress_.state.load();
  if (state == kStateIdle) {
    bar_->setValue(0);
    return;
  }
  if (state != kStateRunning) return;  // the end is the worker's to announce
  if (mode_ == TextMode::Fixed) {
    // Detection has no percent of its own: the bar cycles to show life.
    cycle_ = (cycle_ + 1) % 100;
    bar_->setValue(cycle_);
  } else {
    bar_->setValue(std::clamp(progress_.percent.load(), 0, 100));
  }
  const QString text = CurrentText();
  if (text != windowTitle()) setWindowTitle(text);
}

void TransferProgressDialog::CloseAfterWorker() {
  timer_.stop();
  Tick();
  closing_ = true;
  accept();
}

void TransferProgressDialog::OnCancel() {
  if (cancelRequested_) return;
  cancelRequested_ = true;
  cancelButton_->setEnabled(false);
  if (cancel_) cancel_();
}

void TransferProgressDialog::reject() {
  // The window stays until the worker has stopped; RunBehindProgress closes it then.
  if (closing_) {
    QDialog::reject();
    return;
  }
  OnCancel();
}

int RunBehindProgress(QWidget* parent, const CLanguage& language, TransferProgress& progress,
                      TransferProgressDialog::TextMode mode, const QString& fixedText,
                      const std::function<void()>& arm, const std::function<void()>& cancel,
                      const std::function<int()>& work, TransferRunStats* stats) {
  if (arm) arm();  // before the worker exists, so an early Cancel cannot be lost
  TransferProgressDialog dialog(language, progress, mode, fixedText, parent);
  dialog.SetCancelAction(cancel);

  std::atomic<bool> done{false};
  int result = 0;
  std::thread worker([&] {
    // An exception must not end the program from a worker thread: it is a failed transfer.
    try {
      result = work();
    } catch (...) {
      result = kResultFail;
    }
    done = true;
  });

  TransferRunStats local;
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  QTimer watch;
  watch.setInterval(50);
  QObject::connect(&watch, &QTimer::timeout, &dialog, [&] {
    const qint64 now = clock.elapsed();
    local.maxTickGapMs = std::max(local.maxTickGapMs, now - last);
    last = now;
    ++local.ticks;
    if (done.load()) {
      watch.stop();
      dialog.CloseAfterWorker();
    }
  });
  watch.start();
  dialog.exec();
  worker.join();
  local.elapsedMs = clock.elapsed();
  local.cancelled = dialog.CancelRequested();
  if (stats) *stats = local;
  return result;
}

}  // namespace vesk
