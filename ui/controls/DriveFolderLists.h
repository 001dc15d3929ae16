#pragma once
// The drive list, the folder list and the path label that the case browser, the copy and
// delete dialogs, the folder chooser and the case path page share. On Linux the "drives" are
// the file-system root and the mounted volumes. The folder shown is kept here, never as the
// process's working folder.

#include <QtWidgets/QWidget>

class QComboBox;
class QListWidget;
class QLabel;
class QListWidgetItem;

namespace vesk {

class CDriveFolderLists : public QWidget {
  Q_OBJECT
 public:
  explicit CDriveFolderLists(QWidget* parent = nullptr);

  // Shows the folder (or its nearest existing parent). False, with a message, when it cannot
  // be read; the previous folder stays.
  bool SetFolder(const QString& path);
  const QString& Folder() const { return folder_; }
  // Shows a fixed text in the path label (the default case folder) while the lists are off.
  void ShowFixedPath(const QString& path);

  QComboBox* Drives() const { return drives_; }
  QListWidget* Folders() const { return folders_; }
  QLabel* PathLabel() const { return path_; }

  static QStringList DriveRoots();

 signals:
  void folderChanged(const QString& folder);

 private:
  void OnDrive(int index);
  void OnFolderActivated(QListWidgetItem* item);
  void SelectDriveOf(const QString& path);

  QComboBox* drives_;
  QListWidget* folders_;
  QLabel* path_;
  QString folder_;
};

}  // namespace vesk
