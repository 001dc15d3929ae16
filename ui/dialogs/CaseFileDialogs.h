#pragma once
// The copy and delete dialogs of the case store, and the folder chooser the copy dialog asks
// for its target.

#include <QtWidgets/QDialog>
#include <string>

namespace vesk {

class CCaseListPanel;
class CConfigFile;
class CDriveFolderLists;
class CLanguage;

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
  CCopyDialog(const CConfigFile& config, const CLanguage& language, QWidget* parent = nullptr);
  CCaseListPanel* Panel() const { return panel_; }
  void OnOk();
  // Copies the selected cases into the folder (the last selected first); false when one
  // could not be copied (the user was told).
  bool CopySelectedTo(const QString& folder);

  // Asks for the target folder; tests replace it. Empty: cancelled.
  static QString (*ChooseFolder)(QWidget* parent, const QString& start);

 private:
  const CLanguage& language_;
  CCaseListPanel* panel_;
};

class CDeleteDialog : public QDialog {
  Q_OBJECT
 public:
  // `openCasePath`: the case the view shows, which stays while the configuration says a case
  // is open.
  CDeleteDialog(const CConfigFile& config, const CLanguage& language, std::string openCasePath,
                QWidget* parent = nullptr);
  CCaseListPanel* Panel() const { return panel_; }
  // Asks, then deletes the selected cases; the open case is refused and stays.
  void OnOk();

 private:
  const CConfigFile& config_;
  const CLanguage& language_;
  std::string openCasePath_;
  CCaseListPanel* panel_;
};

}  // namespace vesk
