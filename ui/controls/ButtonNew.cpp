#include "controls/ButtonNew.h"

#include <QtGui/QPainter>

namespace vesk {

const QColor CButtonNew::kFaceNormal(199, 237, 204);
const QColor CButtonNew::kFaceHot(255, 255, 187);
const QColor CButtonNew::kFacePressed(0, 128, 64);

CButtonNew::CButtonNew(QWidget* parent) : QAbstractButton(parent) {
  QFont f = font();
  // The cell height includes the internal leading, about a fifth of it.
  f.setPixelSize(kTextSize * 4 / 5);
  setFont(f);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
}

QColor CButtonNew::CurrentFace() const {
  if (isDown()) return kFacePressed;
  if (hot_) return kFaceHot;
  return kFaceNormal;
}

QSize CButtonNew::sizeHint() const {
  const QFontMetrics fm(font());
  return {fm.horizontalAdvance(text()) + 24, kTextSize + 10};
}

void CButtonNew::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(kFacePressed, 1.0));
  p.setBrush(CurrentFace());
  p.drawRoundedRect(r, 4, 4);
  p.setPen(isDown() ? Qt::white : (isEnabled() ? QColor(0, 64, 32) : QColor(128, 128, 128)));
  p.drawText(rect(), Qt::AlignCenter, text());
}

void CButtonNew::enterEvent(QEnterEvent* e) {
  hot_ = true;
  update();
  QAbstractButton::enterEvent(e);
}

void CButtonNew::leaveEvent(QEvent* e) {
  hot_ = false;
  update();
  QAbstractButton::leaveEvent(e);
}

}  // namespace vesk
