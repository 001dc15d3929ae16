#include "dialogs/CaseListPanel.h"

#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

#include "common/Texts.h"
#include "common/UiMessages.h"
#include "controls/DriveFolderLists.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"

namespace vesk {

CCaseListPanel::CCaseListPanel(const CConfigFile& config, const CLanguage& language,
                               bool multiSelect, QWidget* parent)
    : QWidget(parent), config_(config), language_(language) {
  lists_ = new CDriveFolderLists(this);
  auto* pathCaption = new QLabel(Tx(kMessageSetting, "IDS_CURRENT_PATH"), this);
  group_ = new QGroupBox(Tx(kDialogSetting, "IDS_ALL_INFO"), this);
  list_ = new QTreeWidget(group_);
  list_->setObjectName("list");
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
  // The column labels live in "Message Setting"; older files had them in "Dialog Setting".
  QStringList headings;
  for (const char* key : {"IDS_PATIENTS_NAMES", "IDS_PATIENTS_ID", "IDS_BEGIN_TIME"}) {
    QString text = Tx(kMessageSetting, key);
    headings << (text.isEmpty() ? Tx(kDialogSetting, key) : text);
  }
  list_->setHeaderLabels(headings);
  list_->header()->setSectionResizeMode(QHeaderView::Interactive);
  list_->setColumnWidth(0, 200);
  list_->setColumnWidth(1, 140);
  auto* groupBox = new QVBoxLayout(group_);
  groupBox->addWidget(list_);

  auto* left = new QVBoxLayout;
  left->addWidget(pathCaption);
  left->addWidget(lists_, 1);
  auto* box = new QHBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addLayout(left, 2);
  box->addWidget(group_, 5);
  connect(lists_, &CDriveFolderLists::folderChanged, this, &CCaseListPanel::Refill);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &CCaseListPanel::rowActivated);
}

QString CCaseListPanel::StartFolder() const {
  std::string data = ProgramPath("\\data");
  if (!config_.settings.useDefaultPath && !config_.settings.patientFilePath.empty())
    data = config_.settings.patientFilePath;
  const std::string& user = config_.currentConfigName;
  fsutil::CreateFolders(data);
  CaseFolderTree tree(data, user);
  if (tree.Check().ok() && fsutil::FolderExists(tree.UserFolder())) return Qs(tree.UserFolder());
  return Qs(data);
}

QString CCaseListPanel::Folder() const {
  return lists_->Folder();
}

void CCaseListPanel::Show(const CaseListing& listing) {
  list_->clear();
  paths_.clear();
  for (const CaseListRow& row : listing.rows) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, Qs(row.name));
    item->setText(1, Qs(row.caseId));
    item->setText(2, Qs(row.startText));
    item->setData(0, Qt::UserRole, qulonglong(paths_.size()));
    item->setToolTip(0, Qs(row.path));
    paths_.push_back(row.path);
  }
}

void CCaseListPanel::Refill() {
  if (Folder().isEmpty()) return;
  const CaseListing listing = ListCaseFolder(Ss(Folder()));
  if (!listing.result.ok()) ShowBox(listing.result.Text(language_), MessageIcon::Warning);
  Show(listing);
}

bool CCaseListPanel::Search(const CaseSearch& search) {
  const CaseListing listing = SearchCaseFolder(Ss(Folder()), search);
  if (listing.result.code == CaseOpCode::SearchTextEmpty) {
    ShowBox(TxS(kDialogSetting, "IDS_SEARCHNULL"));
    return false;
  }
  if (!listing.result.ok()) ShowBox(listing.result.Text(language_), MessageIcon::Warning);
  Show(listing);
  return true;
}

std::vector<std::string> CCaseListPanel::SelectedPaths() const {
  std::vector<size_t> rows;
  for (QTreeWidgetItem* item : list_->selectedItems())
    rows.push_back(size_t(item->data(0, Qt::UserRole).toULongLong()));
  std::sort(rows.begin(), rows.end());
  std::vector<std::string> out;
  for (size_t r : rows)
    if (r < paths_.size()) out.push_back(paths_[r]);
  return out;
}

void CCaseListPanel::RemoveRowOf(const std::string& path) {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(i);
    const size_t r = size_t(item->data(0, Qt::UserRole).toULongLong());
    if (r < paths_.size() && paths_[r] == path) {
      delete list_->takeTopLevelItem(i);
      return;
    }
  }
}

}  // namespace vesk
