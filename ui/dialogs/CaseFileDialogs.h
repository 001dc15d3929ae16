#pragma once
// The copy and delete dialogs of the case store, and the folder chooser the copy dialog asks
// for its target.

#include <QtWidgets/QDialog>

namespace vesk {

class CCaseListPanel;
class CDriveFolderLists;

class CFolderChooser : public QDialog {
  Q_OBJECT
 public:
  explicit CFolderChooser(const QString& start, QWidget* parent = nullptr);
  CDriveFolderLists* Lists() const { return lists_; }
  QString Folder() const;

 private:
  CDriveFolderLists* lists_;
};

class CCopyDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CCopyDialog(QWidget* parent = nullptr);
  CCaseListPanel* Panel() const { return panel_; }
  void OnOk();
  // Copies the selected cases into the folder (the last selected first); false when one
  // could not be copied (the user was told).
  bool CopySelectedTo(const QString& folder);

  // Asks for the target folder; tests replace it. Empty: cancelled.
  static QString (*ChooseFolder)(QWidget* parent, const QString& start);

 private:
  CCaseListPanel* panel_;
};

class CDeleteDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CDeleteDialog(QWidget* parent = nullptr);
  CCaseListPanel* Panel() const { return panel_; }
  // Asks, then deletes the selected cases; the open case is refused and stays.
  void OnOk();

 private:
  CCaseListPanel* panel_;
};

}  // namespace vesk
