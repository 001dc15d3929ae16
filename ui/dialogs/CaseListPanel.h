#pragma once
// The part the case browser, the copy dialog and the delete dialog share: the drive and
// folder lists and the list of the case files of the folder shown (name, case ID, start
// time), with the full path of each row kept beside it.

#include <QtWidgets/QWidget>
#include <string>
#include <vector>

#include "cases/CaseFolders.h"

class QTreeWidget;
class QGroupBox;

namespace vesk {

class CConfigFile;
class CDriveFolderLists;
class CLanguage;

class CCaseListPanel : public QWidget {
  Q_OBJECT
 public:
  CCaseListPanel(const CConfigFile& config, const CLanguage& language, bool multiSelect,
                 QWidget* parent = nullptr);

  // Lists the folder shown again (all rows).
  void Refill();
  // Lists it keeping the rows that match; false (with the message) for an empty search text.
  bool Search(const CaseSearch& search);
  void Show(const CaseListing& listing);

  CDriveFolderLists* Lists() const { return lists_; }
  QTreeWidget* List() const { return list_; }
  QString Folder() const;
  // Full paths of the selected rows, in row order.
  std::vector<std::string> SelectedPaths() const;
  const std::vector<std::string>& Paths() const { return paths_; }
  void RemoveRowOf(const std::string& path);

  // The folder the dialogs open on: the current user's folder below the data path (made if
  // missing), or the data path itself when the user has none.
  QString StartFolder() const;

 signals:
  void rowActivated();

 private:
  const CConfigFile& config_;
  const CLanguage& language_;
  CDriveFolderLists* lists_;
  QGroupBox* group_;
  QTreeWidget* list_;
  std::vector<std::string> paths_;
};

}  // namespace vesk
