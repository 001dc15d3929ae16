#pragma once
// The case path page: the folder the cases of the current user live in, or the default
// folder "data" beside the program.

#include <QtWidgets/QWidget>

class QCheckBox;

namespace vesk {

class CConfigFile;
class CDriveFolderLists;

class CCasePathPage : public QWidget {
  Q_OBJECT
 public:
  explicit CCasePathPage(CConfigFile& config, QWidget* parent = nullptr);
  QCheckBox* UseDefault() const { return useDefault_; }
  CDriveFolderLists* Lists() const { return lists_; }
  void Apply();

 private:
  void UpdateEnabling();
  CConfigFile& config_;
  QCheckBox* useDefault_;
  CDriveFolderLists* lists_;
};

}  // namespace vesk
