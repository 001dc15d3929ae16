#include "dialogs/review/StatisticsDialog.h"

#include <QtWidgets/QFrame>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "dialogs/review/ReviewText.h"

namespace vesk {

namespace {

constexpr const char* kGlobal = "Global Setting";
constexpr const char* kMenu = "Menu Setting";
constexpr const char* kMessage = "Message Setting";
constexpr const char* kCase = "Case Setting";

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  return label;
}

}  // namespace

StatisticsDialog::StatisticsDialog(const StatisticsTable& table, const CLanguage& language,
                                   QWidget* parent)
    : QDialog(parent) {
  setObjectName("StatisticsDialog");
  const auto tx = [&language](const char* section, const char* key) {
    return review::Text(language, section, key);
  };
  setWindowTitle(tx(kGlobal, "IDS_STA_MESSAGE"));

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(18);
  grid->setVerticalSpacing(8);
  // Two header rows: the load columns share one caption over their SYS and DIA halves.
  const QString pulseRate =
      tx(kGlobal, "IDS_PLUSE_RATE").trimmed() + " (" + tx(kMenu, "IDS_HEART_RATE") + ")";
  grid->addWidget(Caption(tx(kMenu, "IDS_COUNT"), this), 0, 1, 2, 1);
  grid->addWidget(Caption(tx(kMenu, "IDS_BLOOD"), this), 0, 2, 2, 1);
  grid->addWidget(Caption(pulseRate, this), 0, 3, 2, 1);
  grid->addWidget(Caption(tx(kMenu, "IDS_DIFFERENTTIAL_PRESSURE"), this), 0, 4, 2, 1);
  grid->addWidget(Caption(tx(kMenu, "IDS_READ_PRESS"), this), 0, 5, 1, 2);
  grid->addWidget(Caption(tx(kMenu, "IDS_CONTRACT"), this), 1, 5);
  grid->addWidget(Caption(tx(kMenu, "IDS_RELAX_PRESS"), this), 1, 6);
  grid->addWidget(Caption(tx(kCase, "IDS_STANDARD_VALUES"), this), 0, 7, 2, 1);

  const QString rowCaptions[kStatRows] = {tx(kMessage, "IDS_AWAKE"), tx(kMessage, "IDS_SLEEP"),
                                          tx(kMenu, "IDS_SUM")};
  for (int r = 0; r < kStatRows; ++r) {
    auto* caption = Caption(rowCaptions[r], this);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(caption, r + 2, 0);
    for (int c = 0; c < kStatColumns; ++c) {
      auto* cell = new QLabel(QString::fromStdString(table.cells[size_t(r)][size_t(c)]), this);
      cell->setObjectName(QString("cell_%1_%2").arg(r).arg(c));
      cell->setAlignment(Qt::AlignCenter);
      cell->setTextInteractionFlags(Qt::TextSelectableByMouse);
      cell->setMinimumWidth(70);
      grid->addWidget(cell, r + 2, c + 1);
      cells_[size_t(r)][size_t(c)] = cell;
    }
  }

  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setLayout(grid);

  auto* ok = new QPushButton(tx(kMessage, "IDS_MAKE_SURE"), this);
  ok->setObjectName("1");
  ok->setDefault(true);
  ok->setMinimumWidth(90);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);

  auto* outer = new QVBoxLayout(this);
  outer->addWidget(frame);
  outer->addLayout(buttons);
}

QString StatisticsDialog::Cell(StatRow row, StatColumn column) const {
  return cells_[size_t(row)][size_t(column)]->text();
}

}  // namespace vesk
