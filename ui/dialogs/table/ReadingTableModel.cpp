#include "dialogs/table/ReadingTableModel.h"

namespace vesk {

ReadingTableModel::ReadingTableModel(ReadingTable& table, QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), table_(table), headings_(std::move(headings)) {}

int ReadingTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.Rows().size());
}

int ReadingTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTableColumns;
}

QVariant ReadingTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TableRow& row = table_.Rows()[static_cast<size_t>(index.row())];
  if (role == Qt::DisplayRole || role == Qt::EditRole)
    return QString::fromStdString(row.cells[static_cast<size_t>(index.column())]);
  if (role == Qt::TextAlignmentRole && index.column() < 10) return int(Qt::AlignCenter);
  return {};
}

QVariant ReadingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal)
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole) {
    if (section == 0) return QString::fromStdString(table_.Heading());
    if (section - 1 < headings_.size()) return headings_[section - 1];
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

Qt::ItemFlags ReadingTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.column() == 10 && table_.ReadingOfRow(index.row()) >= 0) f |= Qt::ItemIsEditable;
  return f;
}

bool ReadingTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || index.column() != 10) return false;
  if (!table_.SetComment(index.row(), value.toString().toStdString())) return false;
  emit dataChanged(index, index);
  return true;
}

void ReadingTableModel::Reload() {
  beginResetModel();
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ReadingTableModel::RowChanged(int row) {
  emit dataChanged(index(row, 0), index(row, kTableColumns - 1));
  emit headerDataChanged(Qt::Horizontal, 0, 0);
}

}  // namespace vesk
