#pragma once
// The data table of the open case: the grid of readings in three views, exclusion by a click
// on column 0, comments edited in place, the popup menu that edits, adds and deletes
// readings, moving the whole recording to a new start, and the saved edit history of the
// selected reading. It works on a copy; confirm hands the result to the caller's save, and
// stays open when that fails so nothing is lost.

#include <QtCore/QPersistentModelIndex>
#include <QtWidgets/QDialog>
#include <functional>
#include <vector>

#include "analysis/ReadingTable.h"
#include "cases/EditHistory.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QTableWidget;
class QTimeEdit;

namespace vesk {

class CLanguage;
class ReadingTableModel;

struct DataTableHistory {
  std::vector<EditEntry> entries;
  bool readable = true;  // false: the file's history section is damaged
};

class DataTableDialog : public QDialog {
  Q_OBJECT
 public:
  // Saves the confirmed table; true when it was saved (the dialog then closes).
  using ConfirmFn = std::function<bool(const ReadingTable&)>;

  DataTableDialog(std::vector<_BP_RECORD> readings, DataTableHistory history,
                  const CLanguage& language, bool chinese, ConfirmFn confirm,
                  QWidget* parent = nullptr);
  ~DataTableDialog() override;

  ReadingTable& Table() { return table_; }
  QTableView* Grid() const { return grid_; }
  QTableWidget* History() const { return history_; }
  QMenu* PopupMenu() const { return menu_; }

  // The commands of the grid and the popup menu.
  void OnView(TableView view);
  void OnShowExcluded();
  void OnIntervalChanged();
  void OnCellClicked(int row, int column);
  void OnEdit();
  void OnAdd();
  void OnDelete();
  void OnUpdateStart();
  void OnConfirm();
  // The row selected in the grid, or -1.
  int SelectedRow() const;
  void SelectRow(int row);

 private:
  QString Text(const char* section, const char* key) const;
  void Reload(int selectRow = -1);
  void CommitOpenEdit();
  void UpdateControls();
  void ShowHistoryOfSelection();
  void ShowPopup(const QPoint& at);
  QString KindText(EditKind kind) const;

  ReadingTable table_;
  DataTableHistory saved_;
  const CLanguage& language_;
  bool chinese_;
  ConfirmFn confirm_;
  ReadingTableModel* model_ = nullptr;
  QDateEdit* startDate_ = nullptr;
  QTimeEdit* startTime_ = nullptr;
  QTableView* grid_ = nullptr;
  QRadioButton* all_ = nullptr;
  QRadioButton* perHour_ = nullptr;
  QRadioButton* averages_ = nullptr;
  QComboBox* interval_ = nullptr;
  QCheckBox* showExcluded_ = nullptr;
  QLabel* historyLabel_ = nullptr;
  QTableWidget* history_ = nullptr;
  QMenu* menu_ = nullptr;
  QPersistentModelIndex editing_;  // the comment cell open for editing
};

}  // namespace vesk
