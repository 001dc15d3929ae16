#include "dialogs/table/DataTableDialog.h"

#include <algorithm>

#include <QtGui/QAction>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateEdit>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTimeEdit>
#include <QtWidgets/QVBoxLayout>

#include "common/UiMessages.h"
#include "dialogs/table/ReadingEditDialog.h"
#include "dialogs/table/ReadingTableModel.h"
#include "language/Language.h"

namespace vesk {

namespace {

constexpr int kColumnWidths[kTableColumns] = {130, 65, 90, 90, 90, 80, 80, 80, 50, 40, 120};
constexpr const char* kHeadingKeys[kTableColumns - 1] = {
    "IDS_HEADING_NUM", "IDS_HEADING_TIME",   "IDS_HEADING_DATE", "IDS_HEADING_BP",
    "IDS_HEADING_PR",  "IDS_HEADING_MAP",    "IDS_HEADING_PP",   "IDS_HEADING_SPO2",
    "IDS_HEADING_TC",  "IDS_HEADING_COMMENT"};

template <typename W, typename... Args>
W* Make(const char* name, Args&&... args) {
  W* w = new W(std::forward<Args>(args)...);
  w->setObjectName(name);
  return w;
}

// Where the start pickers begin: the first reading they can show, else their first day.
QDateTime FirstStart(const std::vector<_BP_RECORD>& readings) {
  for (const _BP_RECORD& r : readings) {
    if (r.year < kFirstPickerYear || r.year > kLastPickerYear) continue;
    if (!IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0)) continue;
    return QDateTime(QDate(r.year, r.month, r.day), QTime(r.hour, r.minute));
  }
  return QDateTime(QDate(kFirstPickerYear, 1, 1), QTime(0, 0));
}

}  // namespace

DataTableDialog::DataTableDialog(std::vector<_BP_RECORD> readings, DataTableHistory history,
                                 const CLanguage& language, bool chinese, ConfirmFn confirm,
                                 QWidget* parent)
    : QDialog(parent),
      table_(std::move(readings)),
      saved_(std::move(history)),
      language_(language),
      chinese_(chinese),
      confirm_(std::move(confirm)) {
  setWindowTitle(Text("Message Setting", "IDS_EDIT_PREDATA"));
  for (const EditEntry& e : saved_.entries)
    if (e.reading >= 0 && e.reading < INT32_MAX) table_.ReserveIndicesBelow(e.reading + 1);

  auto* startLabel = Make<QLabel>("1216", Text("Message Setting", "IDS_BEGIN_TIME"), this);
  const QDateTime start = FirstStart(table_.Readings());
  startDate_ = Make<QDateEdit>("1004", this);
  startDate_->setDisplayFormat("yyyy-MM-dd");
  startDate_->setDateRange(QDate(kFirstPickerYear, 1, 1), QDate(kLastPickerYear, 12, 31));
  startDate_->setDate(start.date());
  startTime_ = Make<QTimeEdit>("1005", this);
  startTime_->setDisplayFormat("HH:mm");
  startTime_->setTime(start.time());
  auto* update = Make<QPushButton>("1136", Text("Dialog Setting", "IDS_UPDATE"), this);
  auto* top = new QHBoxLayout;
  top->addWidget(startLabel);
  top->addWidget(startDate_);
  top->addWidget(startTime_);
  top->addWidget(update);
  top->addStretch(1);

  QStringList headings;
  for (const char* key : kHeadingKeys) headings << Text("Dialog Setting", key);
  model_ = new ReadingTableModel(table_, headings, this);
  grid_ = Make<QTableView>("1049", this);
  grid_->setModel(model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setShowGrid(true);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(22);
  for (int c = 0; c < kTableColumns; ++c) grid_->setColumnWidth(c, kColumnWidths[c]);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  grid_->setMinimumSize(900, 360);

  all_ = Make<QRadioButton>("1036", Text("Message Setting", "IDS_ALLDATA"), this);
  perHour_ = Make<QRadioButton>("1037", Text("Message Setting", "IDS_HOURDATA"), this);
  averages_ = Make<QRadioButton>("1038", Text("Message Setting", "IDS_AVEHOURDATA"), this);
  auto* group = new QButtonGroup(this);
  group->addButton(all_);
  group->addButton(perHour_);
  group->addButton(averages_);
  all_->setChecked(true);
  interval_ = Make<QComboBox>("1035", this);
  interval_->setEditable(true);
  for (int minutes : kAveragingMinutes) interval_->addItem(QString::number(minutes));
  interval_->setCurrentText(QString::number(kDefaultAveragingMinutes));
  showExcluded_ = Make<QCheckBox>("1039", Text("Message Setting", "IDS_SHOWERRORDATA"), this);
  showExcluded_->setChecked(table_.ShowExcluded());
  auto* options = new QHBoxLayout;
  options->addWidget(all_);
  options->addWidget(perHour_);
  options->addWidget(averages_);
  options->addWidget(new QLabel(Text("Message Setting", "IDS_INTERVALS"), this));
  options->addWidget(interval_);
  options->addSpacing(20);
  options->addWidget(showExcluded_);
  options->addStretch(1);

  historyLabel_ = Make<QLabel>("historyLabel", Text("Dialog Setting", "IDS_EDIT_HISTORY"), this);
  if (!saved_.readable)
    historyLabel_->setText(historyLabel_->text() + " - " +
                           Text("Dialog Setting", "IDS_HISTORY_DAMAGED"));
  history_ = Make<QTableWidget>("history", 0, 5, this);
  history_->setHorizontalHeaderLabels(
      {Text("Dialog Setting", "IDS_HISTORY_TIME"), Text("Dialog Setting", "IDS_HISTORY_USER"),
       Text("Dialog Setting", "IDS_HISTORY_CHANGE"), Text("Dialog Setting", "IDS_HISTORY_OLD"),
       Text("Dialog Setting", "IDS_HISTORY_NEW")});
  history_->verticalHeader()->hide();
  history_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  history_->horizontalHeader()->setStretchLastSection(true);
  history_->setColumnWidth(0, 150);
  history_->setColumnWidth(1, 100);
  history_->setColumnWidth(2, 130);
  history_->setColumnWidth(3, 260);
  history_->setMaximumHeight(130);

  auto* ok = Make<QPushButton>("1054", Text("Message Setting", "IDS_MAKE_SURE"), this);
  ok->setDefault(true);
  auto* cancel = Make<QPushButton>("2", Text("Message Setting", "IDS_CANCEL"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* box = new QVBoxLayout(this);
  box->addLayout(top);
  box->addWidget(grid_, 1);
  box->addLayout(options);
  box->addWidget(historyLabel_);
  box->addWidget(history_);
  box->addLayout(buttons);

  menu_ = new QMenu(this);
  menu_->setObjectName("popup");
  struct Item {
    const char* id;
    QString text;
    void (DataTableDialog::*run)();
  };
  const Item items[] = {
      {"32811", Text("Menu Setting", "IDS_EDITS"), &DataTableDialog::OnEdit},
      {"32812", Text("Dialog Setting", "IDS_ADD_READING"), &DataTableDialog::OnAdd},
      {"32813", Text("Message Setting", "IDS_DELETE_BTN"), &DataTableDialog::OnDelete}};
  for (const Item& item : items) {
    QAction* action = menu_->addAction(item.text);
    action->setObjectName(item.id);
    connect(action, &QAction::triggered, this, item.run);
  }

  connect(update, &QPushButton::clicked, this, &DataTableDialog::OnUpdateStart);
  connect(all_, &QRadioButton::clicked, this, [this] { OnView(TableView::All); });
  connect(perHour_, &QRadioButton::clicked, this, [this] { OnView(TableView::PerHour); });
  connect(averages_, &QRadioButton::clicked, this, [this] { OnView(TableView::Averages); });
  connect(interval_, &QComboBox::currentTextChanged, this, &DataTableDialog::OnIntervalChanged);
  connect(showExcluded_, &QCheckBox::clicked, this, &DataTableDialog::OnShowExcluded);
  connect(grid_, &QTableView::clicked, this,
          [this](const QModelIndex& i) { OnCellClicked(i.row(), i.column()); });
  connect(grid_, &QWidget::customContextMenuRequested, this, &DataTableDialog::ShowPopup);
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &DataTableDialog::ShowHistoryOfSelection);
  connect(ok, &QPushButton::clicked, this, &DataTableDialog::OnConfirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  UpdateControls();
  resize(1000, 640);
}

DataTableDialog::~DataTableDialog() = default;

QString DataTableDialog::Text(const char* section, const char* key) const {
  return QString::fromStdString(language_.GetText(section, key));
}

void DataTableDialog::CommitOpenEdit() {
  // A refill of the model or the confirm would drop a comment still being typed.
  if (!editing_.isValid()) return;
  if (QWidget* editor = grid_->indexWidget(editing_))
    grid_->itemDelegate()->setModelData(editor, model_, editing_);
  editing_ = QPersistentModelIndex();
}

void DataTableDialog::Reload(int selectRow) {
  CommitOpenEdit();
  model_->Reload();
  if (selectRow >= 0) SelectRow(selectRow);
  ShowHistoryOfSelection();
}

void DataTableDialog::UpdateControls() {
  const bool averaged = table_.View() == TableView::Averages;
  interval_->setEnabled(averaged);
  showExcluded_->setEnabled(!averaged);
  if (averaged) showExcluded_->setChecked(false);
}

void DataTableDialog::OnView(TableView view) {
  CommitOpenEdit();
  (view == TableView::All       ? all_
   : view == TableView::PerHour ? perHour_
                                : averages_)
      ->setChecked(true);
  if (view == TableView::Averages) table_.SetInterval(interval_->currentText().toInt());
  table_.SetView(view);
  if (view != TableView::Averages) table_.SetShowExcluded(showExcluded_->isChecked());
  UpdateControls();
  Reload();
}

void DataTableDialog::OnShowExcluded() {
  CommitOpenEdit();
  table_.SetShowExcluded(showExcluded_->isChecked());
  Reload();
}

void DataTableDialog::OnIntervalChanged() {
  // A new interval shows the averages at once, as choosing that view does.
  OnView(TableView::Averages);
}

void DataTableDialog::OnCellClicked(int row, int column) {
  if (column == 0) {
    if (table_.ToggleExclusion(row)) model_->RowChanged(row);
  } else if (column == 10 && table_.ReadingOfRow(row) >= 0) {
    CommitOpenEdit();
    editing_ = model_->index(row, column);
    grid_->edit(editing_);
  }
}

int DataTableDialog::SelectedRow() const {
  const QModelIndexList rows = grid_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void DataTableDialog::SelectRow(int row) {
  grid_->selectRow(row);
  grid_->scrollTo(model_->index(row, 0));
}

void DataTableDialog::ShowPopup(const QPoint& at) {
  const bool editing = table_.EditingAllowed();
  for (QAction* a : menu_->actions()) a->setEnabled(editing);
  menu_->popup(grid_->viewport()->mapToGlobal(at));
}

void DataTableDialog::OnEdit() {
  CommitOpenEdit();
  if (!table_.EditingAllowed()) return;
  const int row = SelectedRow();
  if (table_.ReadingOfRow(row) < 0) {
    ShowBox(FixedTextOf(FixedText::SelectRowFirst, chinese_));
    return;
  }
  const QString number = QString::fromStdString(table_.Rows()[size_t(row)].cells[1]);
  ReadingEditDialog editor(ReadingEditDialog::kEdit, table_.EditProposal(row), number, language_,
                           chinese_, this);
  if (editor.exec() != QDialog::Accepted) return;
  Reload(table_.ReplaceReading(row, editor.Values()));
}

void DataTableDialog::OnAdd() {
  CommitOpenEdit();
  if (!table_.EditingAllowed()) return;
  const int row = SelectedRow();
  const int reading = table_.ReadingOfRow(row);
  const QString number =
      reading < 0 ? QString() : QString::fromStdString(table_.Rows()[size_t(row)].cells[1]);
  ReadingEditDialog editor(ReadingEditDialog::kAdd, table_.AddProposal(row), number, language_,
                           chinese_, this);
  if (editor.exec() != QDialog::Accepted) return;
  Reload(table_.AddReading(reading < 0 ? -1 : row, editor.Values()));
}

void DataTableDialog::OnDelete() {
  CommitOpenEdit();
  if (!table_.EditingAllowed()) return;
  const int row = SelectedRow();
  if (table_.ReadingOfRow(row) < 0) {
    ShowBox(FixedTextOf(FixedText::SelectRowFirst, chinese_));
    return;
  }
  if (table_.DeleteReading(row)) Reload(std::min(row, static_cast<int>(table_.Rows().size()) - 1));
}

void DataTableDialog::OnUpdateStart() {
  CommitOpenEdit();
  const QDate d = startDate_->date();
  const QTime t = startTime_->time();
  if (table_.MoveStart(DateParts{d.year(), d.month(), d.day(), t.hour(), t.minute(), 0}) != 1)
    return;
  Reload(SelectedRow());
}

void DataTableDialog::OnConfirm() {
  // An edit still open in the grid belongs to what is confirmed.
  CommitOpenEdit();
  if (confirm_ && !confirm_(table_)) return;
  accept();
}

QString DataTableDialog::KindText(EditKind kind) const {
  switch (kind) {
    case EditKind::Excluded:
      return Text("Dialog Setting", "IDS_HIST_EXCLUDED");
    case EditKind::Included:
      return Text("Dialog Setting", "IDS_HIST_INCLUDED");
    case EditKind::Values:
      return Text("Dialog Setting", "IDS_HIST_VALUES");
    case EditKind::Added:
      return Text("Dialog Setting", "IDS_HIST_ADDED");
    case EditKind::Deleted:
      return Text("Dialog Setting", "IDS_HIST_DELETED");
    case EditKind::StartMoved:
      return Text("Dialog Setting", "IDS_HIST_START");
    case EditKind::Comment:
      return Text("Dialog Setting", "IDS_HIST_COMMENT");
    case EditKind::Patient:
      return Text("Dialog Setting", "IDS_HIST_PATIENT");
  }
  return {};
}

void DataTableDialog::ShowHistoryOfSelection() {
  history_->setRowCount(0);
  const int reading = table_.ReadingOfRow(SelectedRow());
  if (reading < 0) return;
  const std::vector<EditEntry> entries =
      EntriesOfReading(saved_.entries, table_.Readings()[size_t(reading)].index);
  history_->setRowCount(static_cast<int>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const EditEntry& e = entries[i];
    const QString cells[5] = {QString::fromStdString(e.when), QString::fromStdString(e.user),
                              KindText(e.kind), QString::fromStdString(e.oldValue),
                              QString::fromStdString(e.newValue)};
    for (int c = 0; c < 5; ++c)
      history_->setItem(static_cast<int>(i), c, new QTableWidgetItem(cells[c]));
  }
}

}  // namespace vesk
