#include "controls/DriveFolderLists.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QSet>
#include <QtCore/QStorageInfo>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QVBoxLayout>

#include "common/Texts.h"
#include "common/UiMessages.h"

namespace vesk {

namespace {

const QString kUp = "..";

// Kernel and container file systems are no places for case files.
bool IsSystemVolume(const QStorageInfo& v) {
  static const QSet<QByteArray> skip = {
      "proc",       "sysfs",   "devpts",      "cgroup",   "cgroup2", "mqueue",    "devtmpfs",
      "securityfs", "debugfs", "tracefs",     "pstore",   "bpf",     "hugetlbfs", "autofs",
      "configfs",   "fusectl", "binfmt_misc", "efivarfs", "nsfs",    "rpc_pipefs"};
  return skip.contains(v.fileSystemType()) || v.rootPath().startsWith("/proc") ||
         v.rootPath().startsWith("/sys") || v.rootPath().startsWith("/dev");
}

}  // namespace

CDriveFolderLists::CDriveFolderLists(QWidget* parent) : QWidget(parent) {
  drives_ = new QComboBox(this);
  drives_->setObjectName("1006");
  folders_ = new QListWidget(this);
  folders_->setObjectName("1039");
  path_ = new QLabel(this);
  path_->setObjectName("1107");
  path_->setWordWrap(true);
  path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(path_);
  box->addWidget(drives_);
  box->addWidget(folders_, 1);
  drives_->addItems(DriveRoots());
  connect(drives_, &QComboBox::activated, this, &CDriveFolderLists::OnDrive);
  connect(folders_, &QListWidget::itemActivated, this, &CDriveFolderLists::OnFolderActivated);
}

QStringList CDriveFolderLists::DriveRoots() {
  QStringList roots;
  for (const QFileInfo& d : QDir::drives()) roots << QDir::toNativeSeparators(d.absoluteFilePath());
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady() || IsSystemVolume(v)) continue;
    const QString root = QDir::toNativeSeparators(v.rootPath());
    if (!roots.contains(root)) roots << root;
  }
  return roots;
}

void CDriveFolderLists::SelectDriveOf(const QString& path) {
  // The longest root that holds the folder is its drive.
  int best = -1;
  qsizetype bestLength = -1;
  const QString native = QDir::toNativeSeparators(path);
  for (int i = 0; i < drives_->count(); ++i) {
    const QString root = drives_->itemText(i);
    const bool holds =
        native == root ||
        native.startsWith(root.endsWith(QDir::separator()) ? root : root + QDir::separator());
    if (holds && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  drives_->setCurrentIndex(best);
}

bool CDriveFolderLists::SetFolder(const QString& path) {
  QString target = QDir::cleanPath(QDir(path).absolutePath());
  // A folder that no longer exists: show the nearest one that does.
  while (!QFileInfo(target).isDir()) {
    const QString parent = QFileInfo(target).absolutePath();
    if (parent == target) break;
    target = parent;
  }
  const QFileInfo info(target);
  QDir dir(target);
  if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
    ShowBox(TxS(kGlobalSetting, "IDS_INIT_ERROR") + "\n" + Ss(QDir::toNativeSeparators(target)),
            MessageIcon::Warning);
    return false;
  }
  folder_ = QDir::toNativeSeparators(target);
  folders_->clear();
  if (!dir.isRoot()) folders_->addItem(kUp);
  folders_->addItems(
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
  path_->setText(folder_);
  SelectDriveOf(folder_);
  emit folderChanged(folder_);
  return true;
}

void CDriveFolderLists::ShowFixedPath(const QString& path) {
  path_->setText(QDir::toNativeSeparators(path));
}

void CDriveFolderLists::OnDrive(int index) {
  if (index >= 0) SetFolder(drives_->itemText(index));
}

void CDriveFolderLists::OnFolderActivated(QListWidgetItem* item) {
  if (!item) return;
  QDir dir(folder_);
  const QString next =
      item->text() == kUp ? QFileInfo(folder_).absolutePath() : dir.filePath(item->text());
  SetFolder(next);
}

}  // namespace vesk
