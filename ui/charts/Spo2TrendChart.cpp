#include "charts/Spo2TrendChart.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "charts/ChartText.h"

namespace vesk {

namespace {

const QColor kSpo2Cyan(0, 255, 255);
const QColor kPulseGreen(0, 255, 0);
const QColor kScreen(0, 0, 0);

// Joins samples into polylines, one point per sample while they are sparse and the lowest and
// highest value per pixel column once they are dense. A sample without a value (0: no signal)
// or a gap in the offsets ends the line rather than drawing a straight line across it.
class CurveBuilder {
 public:
  explicit CurveBuilder(QPainter& p) : p_(p) {}
  void Add(double x, double y, bool valid) {
    if (!valid) {
      Flush();
      return;
    }
    const int column = static_cast<int>(std::floor(x));
    if (column != column_) {
      EmitColumn();
      column_ = column;
      lo_ = hi_ = y;
      first_ = last_ = y;
      x_ = x;
    } else {
      lo_ = std::min(lo_, y);
      hi_ = std::max(hi_, y);
      last_ = y;
    }
  }
  void Flush() {
    EmitColumn();
    if (line_.size() >= 2)
      p_.drawPolyline(line_);
    else if (line_.size() == 1)
      p_.drawPoint(line_.first());
    line_.clear();
    column_ = INT32_MIN;
  }

 private:
  void EmitColumn() {
    if (column_ == INT32_MIN) return;
    if (lo_ == hi_) {
      line_ << QPointF(x_, first_);
    } else {
      line_ << QPointF(x_, first_) << QPointF(x_, first_ < last_ ? lo_ : hi_)
            << QPointF(x_, first_ < last_ ? hi_ : lo_) << QPointF(x_, last_);
    }
    column_ = INT32_MIN;
  }
  QPainter& p_;
  QPolygonF line_;
  int column_ = INT32_MIN;
  double lo_ = 0, hi_ = 0, first_ = 0, last_ = 0, x_ = 0;
};

QString ClockText(const OleDateTime& t) {
  DateParts d;
  if (!t.ToParts(d)) return {};
  return QString::asprintf("%02d:%02d:%02d", d.hour, d.minute, d.second);
}

}  // namespace

bool Spo2TrendChart::HasSeries() const {
  return source_ != nullptr && source_->samples != nullptr && !source_->samples->empty() &&
         source_->spo2Start.IsValid();
}

void Spo2TrendChart::SetCase(const ChartSource* source) {
  source_ = source;
  hovered_ = -1;
  marks_.clear();
  window_ = Spo2Window{};
  if (!HasSeries()) return;
  const OleDateTime end = source->spo2End.IsValid()
                              ? source->spo2End
                              : source->spo2Start.AddSeconds(source->samples->back().offset);
  window_.SetSeries(source->spo2Start, end);
  if (source->analysis == nullptr) return;
  for (const EventRecord& e : source->analysis->spo2Events)
    marks_.push_back({e.startTime / 1000.0, e.endTime / 1000.0, true, e.change});
  for (const EventRecord& e : source->analysis->prEvents)
    marks_.push_back({e.startTime / 1000.0, e.endTime / 1000.0, false, e.change});
}

QRect Spo2TrendChart::PlotRect(const QRect& client) {
  return client.adjusted(60, 40, -60, -60);
}

bool Spo2TrendChart::Command(int id) {
  if (!window_.HasSeries()) return false;
  switch (id) {
    case kCmdOneMinute:
    case kCmdTenMinutes:
    case kCmdOneHour:
      return window_.ApplyPreset(id);
    case kCmdPageLeft:
    case kCmdGridLeft:
      return window_.MoveLeft();
    case kCmdGridRight:
    case kCmdPageRight:
      return window_.MoveRight();
    default:
      return false;
  }
}

double Spo2TrendChart::MarkX(const Mark& m, const QRect& plot) const {
  return WindowX(m.start - static_cast<double>(window_.Start()), window_.Length(), plot.left(),
                 plot.right());
}

bool Spo2TrendChart::MouseMove(const QPoint& pos, const QRect& client) {
  const QRect plot = PlotRect(client);
  int hit = -1;
  if (HasSeries() && pos.x() >= plot.left() && pos.x() <= plot.right()) {
    std::vector<double> xs;
    xs.reserve(marks_.size());
    for (const Mark& m : marks_) xs.push_back(MarkX(m, plot));
    hit = NearestEvent(xs, pos.x(), plot.left(), plot.right());
  }
  if (hit == hovered_) return false;
  hovered_ = hit;
  return true;
}

void Spo2TrendChart::Paint(QPainter& p, const QRect& client) const {
  if (!HasSeries()) return;
  const QRect plot = PlotRect(client);
  if (plot.width() <= 0 || plot.height() <= 0) return;
  p.save();
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(11);
  p.setFont(f);
  p.fillRect(client, kScreen);
  PaintAxes(p, client, plot);
  PaintTimeLabels(p, plot);
  p.save();
  p.setClipRect(plot);
  PaintCurves(p, plot);
  PaintEvents(p, plot);
  p.restore();
  p.restore();
}

void Spo2TrendChart::PaintAxes(QPainter& p, const QRect& client, const QRect& plot) const {
  const CLanguage* lang = source_->language;
  const QFontMetrics fm(p.font());
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot);
  const int top = plot.top(), bottom = plot.bottom();
  p.setPen(kSpo2Cyan);
  for (int v = 70; v <= 100; v += 5) {
    const int y = static_cast<int>(Spo2Y(v, top, bottom));
    p.drawLine(plot.left() - 5, y, plot.left(), y);
    p.drawText(
        QRect(client.left(), y - fm.height() / 2, plot.left() - client.left() - 8, fm.height()),
        Qt::AlignRight | Qt::AlignVCenter, QString::asprintf("%d", v));
  }
  p.drawText(QPoint(plot.left() - 30, top - 10), ChartText(lang, kChartDialog, "IDS_HEADING_SPO2"));
  p.setPen(kPulseGreen);
  for (int v = 30; v <= 255; v += 15) {
    const int y = static_cast<int>(PulseY(v, top, bottom));
    p.drawLine(plot.right(), y, plot.right() + 5, y);
    p.drawText(QPoint(plot.right() + 8, y + fm.ascent() / 2 - 1), QString::asprintf("%d", v));
  }
  const QString pr = ChartText(lang, kChartDialog, "IDS_HEADING_PR");
  p.drawText(QPoint(plot.right() - fm.horizontalAdvance(pr) / 2, top - 10), pr);
  p.setPen(Qt::white);
  const QString time = ChartText(lang, kChartDialog, "IDS_HEADING_TIME");
  p.drawText(QPoint(plot.right() - fm.horizontalAdvance(time), client.bottom() - 6), time);
}

void Spo2TrendChart::PaintTimeLabels(QPainter& p, const QRect& plot) const {
  const QFontMetrics fm(p.font());
  const int length = window_.Length();
  const int step = TimeLabelStep(length);
  const OleDateTime start = window_.StartTime();
  DateParts s;
  if (!start.ToParts(s)) return;
  const int64_t startOfDay = s.hour * 3600 + s.minute * 60 + s.second;
  // The first multiple of the step (on the clock) after the window start.
  int64_t offset = (startOfDay / step + 1) * step - startOfDay;
  p.setPen(Qt::white);
  int lastRight = INT32_MIN;
  for (; offset <= length; offset += step) {
    const int x =
        static_cast<int>(WindowX(static_cast<double>(offset), length, plot.left(), plot.right()));
    p.drawLine(x, plot.bottom(), x, plot.bottom() + 4);
    const QString label = ClockText(start.AddSeconds(static_cast<double>(offset)));
    const int w = fm.horizontalAdvance(label);
    if (x - w / 2 <= lastRight + 6) continue;
    p.drawText(QPoint(x - w / 2, plot.bottom() + 6 + fm.ascent()), label);
    lastRight = x + w / 2;
  }
  p.drawText(QPoint(plot.left(), plot.bottom() + 10 + fm.ascent() + fm.height()),
             QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", s.year, s.month, s.day, s.hour,
                               s.minute, s.second));
}

void Spo2TrendChart::PaintCurves(QPainter& p, const QRect& plot) const {
  const std::vector<_SPO2_SAMPLE>& samples = *source_->samples;
  const int64_t from = window_.Start();
  const int64_t to = from + window_.Length();
  auto it = std::lower_bound(samples.begin(), samples.end(), from,
                             [](const _SPO2_SAMPLE& s, int64_t t) { return s.offset < t; });
  const int top = plot.top(), bottom = plot.bottom();
  const int length = window_.Length();
  for (int series = 0; series < 2; ++series) {
    p.setPen(QPen(series == 0 ? kSpo2Cyan : kPulseGreen, 1));
    CurveBuilder curve(p);
    int64_t previous = -1;
    for (auto s = it; s != samples.end() && s->offset <= to; ++s) {
      const double x =
          WindowX(static_cast<double>(s->offset - from), length, plot.left(), plot.right());
      const int value = series == 0 ? s->spo2 : s->pr;
      const bool gap = previous >= 0 && s->offset - previous > 2;
      if (gap) curve.Flush();
      const double y = series == 0 ? Spo2Y(value, top, bottom) : PulseY(value, top, bottom);
      curve.Add(x, y, value > 0);
      previous = s->offset;
    }
    curve.Flush();
  }
}

void Spo2TrendChart::PaintEvents(QPainter& p, const QRect& plot) const {
  const QFontMetrics fm(p.font());
  const double windowStart = static_cast<double>(window_.Start());
  const double windowEnd = windowStart + window_.Length();
  for (size_t i = 0; i < marks_.size(); ++i) {
    const Mark& m = marks_[i];
    if (m.end < windowStart || m.start > windowEnd) continue;
    const double x0 = MarkX(m, plot);
    const double x1 = WindowX(m.end - windowStart, window_.Length(), plot.left(), plot.right());
    const QColor colour = m.desaturation ? QColor(255, 120, 0) : QColor(255, 0, 255);
    const int bandTop = m.desaturation ? plot.top() + 1 : plot.bottom() - 10;
    QColor fill = colour;
    fill.setAlpha(static_cast<int>(i) == hovered_ ? 230 : 150);
    p.fillRect(QRectF(x0, bandTop, std::max(2.0, x1 - x0), 10), fill);
    if (static_cast<int>(i) == hovered_) {
      p.setPen(QPen(colour, 1, Qt::DotLine));
      p.drawLine(QPointF(x0, plot.top()), QPointF(x0, plot.bottom()));
    }
  }
  if (hovered_ < 0 || hovered_ >= static_cast<int>(marks_.size())) return;
  const Mark& m = marks_[static_cast<size_t>(hovered_)];
  const QString value = m.desaturation ? QString::asprintf("Des:%d", m.change)
                                       : QString::asprintf("Asc:%d", std::abs(m.change));
  const QString time =
      QStringLiteral("Time:") + ClockText(window_.First().AddSeconds(std::floor(m.start)));
  const double x = MarkX(m, plot);
  const int width = std::max(fm.horizontalAdvance(value), fm.horizontalAdvance(time)) + 8;
  const int left = static_cast<int>(x) + width + 4 > plot.right() ? static_cast<int>(x) - width - 4
                                                                  : static_cast<int>(x) + 4;
  const int y = m.desaturation ? plot.top() + 16 : plot.bottom() - 16 - 2 * fm.height();
  p.setPen(Qt::white);
  p.drawText(QPoint(left, y + fm.ascent()), value);
  p.drawText(QPoint(left, y + fm.ascent() + fm.height()), time);
}

}  // namespace vesk
