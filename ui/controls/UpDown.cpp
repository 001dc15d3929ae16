#include "controls/UpDown.h"

#include <QtWidgets/QLineEdit>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>
#include <algorithm>

namespace vesk {

CUpDown::CUpDown(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy) {
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    box->addWidget(b);
  }
  up_->setObjectName("up");
  down_->setObjectName("down");
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(buddy_, &QLineEdit::textChanged, this, &CUpDown::FromBuddy);
  setFixedWidth(18);
}

void CUpDown::SetRange(int lower, int upper) {
  lower_ = std::min(lower, upper);
  upper_ = std::max(lower, upper);
  SetPos(pos_);
}

void CUpDown::SetPos(int pos) {
  pos = std::clamp(pos, lower_, upper_);
  const bool moved = pos != pos_;
  pos_ = pos;
  const QString text = QString::number(pos);
  if (buddy_->text() != text) {
    writing_ = true;
    buddy_->setText(text);
    writing_ = false;
  }
  if (moved) emit positionChanged(pos_);
}

void CUpDown::Step(int delta) {
  SetPos(pos_ + delta);
}

void CUpDown::FromBuddy(const QString& text) {
  if (writing_) return;
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  // A half-typed number leaves the position where it is; the owner decides on the text.
  if (!ok) return;
  const int pos = std::clamp(value, lower_, upper_);
  if (pos != pos_) {
    pos_ = pos;
    emit positionChanged(pos_);
  }
}

}  // namespace vesk
