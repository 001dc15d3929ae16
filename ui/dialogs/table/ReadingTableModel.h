#pragma once
// The grid of the data table as a Qt model: every cell text and the column-0 heading come
// from the core table; the model only hands them to the view and takes comment edits back.

#include <QtCore/QAbstractTableModel>
#include <QtCore/QStringList>

#include "analysis/ReadingTable.h"

namespace vesk {

class ReadingTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // headings: the texts of columns 1 to 10 (column 0 shows the exclusion summary).
  ReadingTableModel(ReadingTable& table, QStringList headings, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Column 10 of a reading row: the comment.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // After the table was refilled (view change, edit, add, delete, new start).
  void Reload();
  // After one row changed in place (exclusion toggled).
  void RowChanged(int row);

 private:
  ReadingTable& table_;
  QStringList headings_;
};

}  // namespace vesk
