#include "dialogs/device/PlanDial.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr int kDay = 24 * 60;
const QColor kAwake(255, 214, 92);
const QColor kAsleep(52, 84, 160);
const QColor kSpecial(214, 60, 60);

// Qt angles: 1/16 degree, 0 at three o'clock, counter-clockwise. The dial runs clockwise from
// midnight at the top.
int StartAngle(int minute) {
  return int((90.0 - minute * 360.0 / kDay) * 16);
}
int SpanAngle(int from, int to) {
  const int span = ((to - from) % kDay + kDay) % kDay;
  return int(-span * 360.0 / kDay * 16);
}

}  // namespace

PlanDial::PlanDial(QWidget* parent) : QWidget(parent) {
  setObjectName("planDial");
  setMinimumSize(240, 250);
}

void PlanDial::SetPeriods(int awakeStart, int asleepStart, int specialStart, int specialEnd) {
  awake_ = awakeStart;
  asleep_ = asleepStart;
  specialStart_ = specialStart;
  specialEnd_ = specialEnd;
  update();
}

void PlanDial::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics fm(font());
  // Room for the hour labels around the dial and the legend below it.
  const int labelWidth = fm.horizontalAdvance("00:00") + 6;
  const int legendHeight = legend_.isEmpty() ? 0 : fm.height() + 6;
  const int side =
      std::min(width() - 2 * labelWidth, height() - 2 * fm.height() - 8 - legendHeight);
  if (side <= 20) return;
  const QRectF outer((width() - side) / 2.0, fm.height() + 4, side, side);
  const double ring = side * 0.16;
  auto pie = [&](const QRectF& r, int from, int to, const QColor& c) {
    if (from == to) return;
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawPie(r, StartAngle(from), SpanAngle(from, to));
  };
  // The awake period runs from its start to the asleep start, the asleep period the rest.
  if (awake_ == asleep_) {
    p.setBrush(kAwake);
    p.drawEllipse(outer);
  } else {
    pie(outer, awake_, asleep_, kAwake);
    pie(outer, asleep_, awake_, kAsleep);
  }
  const QRectF special = outer.adjusted(ring, ring, -ring, -ring);
  p.setBrush(palette().window());
  p.setPen(Qt::NoPen);
  p.drawEllipse(special);
  if (HasSpecial() && specialStart_ != specialEnd_)
    pie(special, specialStart_, specialEnd_, kSpecial);
  const QRectF hub = special.adjusted(ring * 0.8, ring * 0.8, -ring * 0.8, -ring * 0.8);
  p.setBrush(palette().window());
  p.drawEllipse(hub);

  p.setPen(QPen(palette().windowText().color(), 1));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(outer);
  // Hour ticks and the four labels.
  const QPointF c = outer.center();
  const double r = side / 2.0;
  for (int h = 0; h < 24; ++h) {
    const double a = (90.0 - h * 15.0) * M_PI / 180.0;
    const double inner = h % 6 == 0 ? r - 8 : r - 4;
    p.drawLine(QPointF(c.x() + inner * std::cos(a), c.y() - inner * std::sin(a)),
               QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a)));
  }
  const QString labels[4] = {"00:00", "06:00", "12:00", "18:00"};
  const QPointF at[4] = {{c.x(), outer.top() - 4},
                         {outer.right() + 4, c.y()},
                         {c.x(), outer.bottom() + 4},
                         {outer.left() - 4, c.y()}};
  for (int i = 0; i < 4; ++i) {
    const int w = fm.horizontalAdvance(labels[i]);
    QPointF pos = at[i];
    if (i == 0) pos += QPointF(-w / 2.0, -fm.descent());
    if (i == 1) pos += QPointF(0, fm.ascent() / 2.0);
    if (i == 2) pos += QPointF(-w / 2.0, fm.ascent());
    if (i == 3) pos += QPointF(-w, fm.ascent() / 2.0);
    p.drawText(pos, labels[i]);
  }
  // Legend: awake, asleep, special.
  if (legend_.isEmpty()) return;
  const QColor colors[3] = {kAwake, kAsleep, kSpecial};
  const int y = int(outer.bottom()) + fm.height() + 6;
  int total = 0;
  for (int i = 0; i < std::min(3, int(legend_.size())); ++i)
    total += 14 + fm.horizontalAdvance(legend_[i]) + 10;
  int x = std::max(0, (width() - total) / 2);
  for (int i = 0; i < std::min(3, int(legend_.size())); ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(colors[i]);
    p.drawRect(QRect(x, y, 10, 10));
    p.setPen(palette().windowText().color());
    p.drawText(QPoint(x + 14, y + 10), legend_[i]);
    x += 14 + fm.horizontalAdvance(legend_[i]) + 10;
  }
}

}  // namespace vesk
