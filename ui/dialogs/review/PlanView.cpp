#include "dialogs/review/PlanView.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

#include "dialogs/review/ReviewText.h"

namespace vesk {

namespace {
constexpr const char* kDialog = "Dialog Setting";
}  // namespace

PlanView::PlanView(const std::vector<PlanLine>& lines, const CLanguage& language, QWidget* parent)
    : QDialog(parent) {
  setObjectName("PlanView");
  setWindowTitle(review::Text(language, "Global Setting", "IDS_CON_MESSAGE"));
  list_ = new QTreeWidget(this);
  list_->setObjectName("PlanList");
  list_->setColumnCount(2);
  list_->setHeaderHidden(true);
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::NoSelection);
  list_->setFocusPolicy(Qt::NoFocus);
  for (const PlanLine& line : lines) {
    const QString value = line.valueKey ? review::Text(language, kDialog, line.valueKey)
                                        : QString::fromStdString(line.value);
    list_->addTopLevelItem(
        new QTreeWidgetItem({review::Text(language, kDialog, line.labelKey), value}));
  }
  list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(true);

  auto* ok = new QPushButton(review::Text(language, "Message Setting", "IDS_MAKE_SURE"), this);
  ok->setObjectName("1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(list_);
  outer->addLayout(buttons);
  resize(460, 420);
}

}  // namespace vesk
