#include "dialogs/device/BluetoothDialog.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

#include "dialogs/device/DeviceDialogUtil.h"

namespace vesk {

BluetoothDialog::BluetoothDialog(const CLanguage& language, IMessageSink& sink, CBlueTooth& radio,
                                 QWidget* parent)
    : QDialog(parent), language_(language), sink_(sink), radio_(radio) {
  setObjectName("BluetoothDialog");
  setWindowTitle(LangText(language, "Dialog Setting", "IDS_USE_BLUETOOTH"));
  list_ = new QTreeWidget(this);
  list_->setObjectName("1001");
  list_->setRootIsDecorated(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setHeaderLabels({LangText(language, "Dialog Setting", "IDS_ID"),
                          LangText(language, "Dialog Setting", "IDS_NAME"),
                          LangText(language, "Dialog Setting", "IDS_ADDRESS")});
  list_->header()->setSectionResizeMode(QHeaderView::Stretch);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("1002");
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  bar_->hide();
  scan_ = new QPushButton(LangText(language, "Dialog Setting", "IDS_SCAN"), this);
  scan_->setObjectName("1003");
  connect_ = new QPushButton(LangText(language, "Dialog Setting", "IDS_CONNECT"), this);
  connect_->setObjectName("1004");
  connect_->setEnabled(false);
  auto* cancel = new QPushButton(LangText(language, "Message Setting", "IDS_CANCEL"), this);
  cancel->setObjectName(QString::number(kIdCancel));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(bar_);
  auto* row = new QHBoxLayout;
  row->addWidget(scan_);
  row->addStretch(1);
  row->addWidget(connect_);
  row->addWidget(cancel);
  layout->addLayout(row);
  resize(480, 300);

  connect(scan_, &QPushButton::clicked, this, &BluetoothDialog::StartScan);
  connect(connect_, &QPushButton::clicked, this, &BluetoothDialog::StartConnect);
  connect(cancel, &QPushButton::clicked, this, &BluetoothDialog::reject);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (work_ == Work::Connect) return;  // a connection attempt runs
    connect_->setEnabled(!list_->selectedItems().isEmpty());
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (!list_->selectedItems().isEmpty()) StartConnect();
  });
  poll_.setInterval(100);
  connect(&poll_, &QTimer::timeout, this, &BluetoothDialog::Poll);
  // Scanning starts as soon as the window is up.
  QTimer::singleShot(0, this, &BluetoothDialog::StartScan);
}

BluetoothDialog::~BluetoothDialog() {
  Join();
}

void BluetoothDialog::Join() {
  if (worker_.joinable()) worker_.join();
}

void BluetoothDialog::StartScan() {
  if (work_ != Work::None) return;
  work_ = Work::Scan;
  scan_->setEnabled(false);
  connect_->setEnabled(false);
  list_->clear();
  counter_ = 1;
  bar_->setValue(1);
  bar_->show();
  workDone_ = false;
  worker_ = std::thread([this] {
    radio_.Disconnect();
    radio_.DeleteBlueTooth();
    const int radios = radio_.EnumerateLocalRadios();
    radios_ = radios;
    if (radios > 0) radio_.WSAScanNearbyBthDev(1);
    workDone_ = true;
  });
  poll_.start();
}

void BluetoothDialog::StartConnect() {
  if (work_ != Work::None) return;
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  connecting_ = list_->indexOfTopLevelItem(selected.first());
  work_ = Work::Connect;
  connect_->setEnabled(false);
  scan_->setEnabled(false);
  workDone_ = false;
  const int index = connecting_;
  worker_ = std::thread([this, index] {
    connected_ = ConnectRecorder(radio_, index);
    workDone_ = true;
  });
  poll_.start();
}

void BluetoothDialog::Poll() {
  bar_->setValue(counter_);
  counter_ = counter_ >= 100 ? 0 : counter_ + 1;
  if (!workDone_.load()) return;
  poll_.stop();
  Join();
  const Work ended = work_;
  work_ = Work::None;
  if (ended == Work::Scan) ScanEnded();
  if (ended == Work::Connect) ConnectEnded();
}

void BluetoothDialog::ScanEnded() {
  bar_->setValue(99);
  bar_->hide();
  scan_->setEnabled(true);
  if (radios_.load() <= 0) {
    // Nothing to scan with: say so instead of showing an empty list without a word.
    sink_.Show({language_.GetText("Dialog Setting", "IDS_NO_BTH_RADIO"),
                {},
                MessageIcon::Warning,
                MessageButtons::Ok});
    return;
  }
  FillList();
  if (list_->topLevelItemCount() == 0)
    sink_.Show({language_.GetText("Message Setting", "IDS_NOTFOUNDDEVICE"),
                {},
                MessageIcon::Information,
                MessageButtons::Ok});
}

void BluetoothDialog::FillList() {
  list_->clear();
  int row = 0;
  for (const BluetoothDevice& d : radio_.Found()) {
    auto* item = new QTreeWidgetItem({QString::number(++row), QString::fromStdString(d.name),
                                      QString::fromStdString(FormatBluetoothAddress(d.address))});
    list_->addTopLevelItem(item);
  }
}

void BluetoothDialog::ConnectEnded() {
  if (connected_.load()) {
    chosen_ = connecting_;
    accept();
    return;
  }
  sink_.Show({language_.GetText("CorreLine", "IDS_BTH_CLOSED"),
              {},
              MessageIcon::Warning,
              MessageButtons::Ok});
  StartScan();
}

void BluetoothDialog::reject() {
  // A scan or connection attempt ends on its own within seconds; the radio outlives it.
  poll_.stop();
  Join();
  work_ = Work::None;
  QDialog::reject();
}

}  // namespace vesk
