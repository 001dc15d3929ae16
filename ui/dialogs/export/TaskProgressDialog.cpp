#include "dialogs/export/TaskProgressDialog.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QVBoxLayout>

#include "app/AppInfo.h"
#include "common/Texts.h"
#include "export/CaseExport.h"

namespace vesk {

CTaskProgressDialog::CTaskProgressDialog(QWidget* parent, const TaskStatus& status)
    : QDialog(parent), status_(status) {
  setObjectName("TaskProgressDialog");
  setWindowTitle(Qs(g_AppTitle));
  message_ = new QLabel(this);
  message_->setObjectName("TaskMessage");
  message_->setMinimumWidth(320);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("TaskProgress");
  bar_->setRange(0, 100);
  auto* box = new QVBoxLayout(this);
  box->addWidget(message_);
  box->addWidget(bar_);
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, &CTaskProgressDialog::Poll);
}

void CTaskProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Poll();
  timer_.start();
}

void CTaskProgressDialog::Poll() {
  message_->setText(Qs(status_.Message()));
  bar_->setValue(status_.progress.load());
  if (status_.state.load() != TaskState::Running) {
    timer_.stop();
    // Closed from the next turn of the event loop, so that exec() has begun when it ends.
    QTimer::singleShot(0, this, [this] { done(QDialog::Accepted); });
  }
}

}  // namespace vesk
