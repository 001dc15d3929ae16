#include "charts/BpTrendChart.h"

#include <algorithm>
#include <cmath>

#include "charts/ChartText.h"

namespace vesk {

void BpTrendChart::SetCase(const ChartSource* source) {
  source_ = source;
  time_ = TimeAxis{};
  value_ = ValueAxis{};
  layout_ = Layout{};
  hPlan_ = vPlan_ = ScrollBarPlan{};
  readingCount_ = validCount_ = 0;
  hovered_ = -1;
  infoShown_ = false;
  timeAnchor_ = valueAnchor_ = -1;
  rescale_ = true;
  const CLanguage* lang = source ? source->language : nullptr;
  timeCaption_ = ChartText(lang, kChartMessage, "IDS_TIMES");
  valueCaption_ = QStringLiteral("mmHg/") + ChartText(lang, kChartMenu, "IDS_HEART_RATE");
  mode_ = source && source->multiDay ? 3 : 0;
}

void BpTrendChart::SetDisplayMode(int mode) {
  mode_ = std::clamp(mode, 0, 3);
  rescale_ = true;
}

void BpTrendChart::Recount() {
  readingCount_ = validCount_ = 0;
  if (source_ == nullptr || source_->readings == nullptr) return;
  readingCount_ = static_cast<int>(source_->readings->size());
  for (const _BP_RECORD& r : *source_->readings)
    if (IsValidReading(r)) ++validCount_;
}

void BpTrendChart::Rescale() {
  rescale_ = false;
  if (source_ == nullptr || source_->readings == nullptr) return;
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  const TrendScan scan = ScanReadings(readings);
  if (scan.validCount == 0) {
    time_.Reset();
    value_.Reset();
    return;
  }
  time_.SetFixed(false);
  value_.SetFixed(false);
  time_.SetSpan(ReadingTime(readings[static_cast<size_t>(scan.firstValid)]),
                ReadingTime(readings[static_cast<size_t>(scan.lastValid)]));
  const bool equal = mode_ == 3;
  time_.SetEqualSpacing(equal, equal ? scan.validCount : 0);
  if (equal) {
    time_.SetScroll(0);
    time_.SetStretch(1.0);
    time_.SetZoom(1.0);
  }
  const ValueRange range = TrendValueRange(scan, source_->limits);
  value_.SetRange(range.minimum, range.maximum);
  time_.SetFixed(equal);
  value_.SetFixed(equal);
}

BpTrendChart::Layout BpTrendChart::ComputeLayout(const QRect& client) const {
  Layout l;
  l.client = client;
  const int w = client.width(), h = client.height();
  const int left = client.x(), top = client.y(), right = left + w, bottom = top + h;
  const int mx = marginX_ >= 0 ? marginX_ : static_cast<int>(w * 0.04);
  const int my = marginY_ >= 0 ? marginY_ : static_cast<int>(h * 0.1);
  const int stripH = timeStripHeight_ >= 0 ? timeStripHeight_ : static_cast<int>(h * 0.07);
  const int stripW = valueStripWidth_ >= 0 ? valueStripWidth_ : static_cast<int>(w * 0.05);
  const int pl = left + mx + 15, pr = right - mx + 15, pt = top + my - 10, pb = bottom - my - 20;
  l.plot = QRect(QPoint(pl, pt), QPoint(pr - 1, pb - 1));
  const int stripLeft = std::max(left, pl - stripW);
  l.valueStrip = QRect(QPoint(stripLeft, pt), QPoint(pl - 1, pb - 1));
  l.timeStrip = QRect(QPoint(pl, pb), QPoint(pr - 1, pb + stripH - 1));
  l.vBar = QRect(QPoint(pr - 20, pt + 2), QPoint(pr - 1, pb - 1));
  l.hBar = QRect(QPoint(pl, pb - 20), QPoint(pr - 1, pb - 1));
  return l;
}

void BpTrendChart::ApplyLayout(const QRect& client) {
  layout_ = ComputeLayout(client);
  const QRect& p = layout_.plot;
  const PlotBox box{p.left(), p.top(), p.right() + 1, p.bottom() + 1};
  time_.plot = box;
  value_.plot = box;
}

void BpTrendChart::PlanScrollBars() {
  const int plotW = time_.plot.Width();
  const int plotH = value_.plot.Height();
  hPlan_ = time_.EqualSpacing() ? ScrollBarPlan{} : PlanHorizontalBar(time_.TotalWidth(), plotW);
  vPlan_ = PlanVerticalBar(value_.TotalHeight(), plotH);
  if (!hPlan_.visible) time_.SetScroll(0);
  if (!vPlan_.visible) value_.SetScroll(0);
  if (time_.ScrollOffset() > hPlan_.range.max) time_.SetScroll(hPlan_.range.max);
  if (value_.ScrollOffset() > vPlan_.range.max) value_.SetScroll(vPlan_.range.max);
  if (hPlan_.visible && vPlan_.visible) layout_.vBar.setBottom(layout_.vBar.bottom() - 20);
  if (vPlan_.visible) layout_.hBar.setRight(layout_.hBar.right() - 20);
}

bool BpTrendChart::IsDrawn(const _BP_RECORD& r) const {
  return IsValidReading(r) && r.included != 0;
}

bool BpTrendChart::ReadingX(int index, double& x) const {
  x = -1.0;
  if (source_ == nullptr || source_->readings == nullptr || index < 0 ||
      index >= static_cast<int>(source_->readings->size()))
    return false;
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  if (!IsValidReading(readings[static_cast<size_t>(index)])) return false;
  if (time_.EqualSpacing()) {
    int ordinal = 0;
    for (int i = 0; i < index; ++i)
      if (IsValidReading(readings[static_cast<size_t>(i)])) ++ordinal;
    x = time_.XOfIndex(ordinal);
    return x >= 0.0;
  }
  return time_.Place(ReadingTime(readings[static_cast<size_t>(index)]), x);
}

std::vector<double> BpTrendChart::ValidPositions(std::vector<int>* indexes) const {
  std::vector<double> xs;
  if (source_ == nullptr || source_->readings == nullptr) return xs;
  const std::vector<_BP_RECORD>& readings = *source_->readings;
  int ordinal = 0;
  for (size_t i = 0; i < readings.size(); ++i) {
    if (!IsValidReading(readings[i])) continue;
    double x = -1.0;
    if (time_.EqualSpacing())
      x = time_.XOfIndex(ordinal);
    else if (!time_.Place(ReadingTime(readings[i]), x))
      x = -1.0;
    ++ordinal;
    xs.push_back(x);
    if (indexes) indexes->push_back(static_cast<int>(i));
  }
  return xs;
}

QRect BpTrendChart::HoverArea() const {
  return layout_.plot.adjusted(0, -100, 0, 0).intersected(layout_.client);
}

BpTrendChart::Feedback BpTrendChart::MouseMove(const QPoint& pos, bool leftHeld) {
  Feedback fb;
  const Layout& l = layout_;
  const int pl = time_.plot.left, pb = value_.plot.bottom;
  if (leftHeld && timeAnchor_ >= 0 && mode_ == 0) {
    fb.cursor = Qt::SizeHorCursor;
    if (timeAnchor_ == pl) return fb;
    const double stretch = static_cast<double>(pos.x() - pl) / (timeAnchor_ - pl);
    if (pos.x() != timeAnchor_ && time_.SetStretch(stretch)) {
      const double ratio = time_.Zoom() * time_.Stretch() / productAtPress_;
      const double scroll = (timeAnchor_ - pl + scrollAtPress_) * ratio - (pos.x() - pl);
      const double limit = std::max(0.0, time_.TotalWidth() - time_.plot.Width());
      time_.SetScroll(static_cast<int>(std::clamp(scroll, 0.0, limit)));
      fb.invalidate = l.plot.united(l.timeStrip);
      fb.scrollChanged = true;
    }
    return fb;
  }
  if (leftHeld && valueAnchor_ >= 0 && mode_ == 0) {
    fb.cursor = Qt::SizeVerCursor;
    if (valueAnchor_ == pb) return fb;
    const double stretch = static_cast<double>(pb - pos.y()) / (pb - valueAnchor_);
    if (pos.y() != valueAnchor_ && value_.SetStretch(stretch)) {
      const double ratio = value_.Zoom() * value_.Stretch() / productAtPress_;
      const double scroll = (pb - valueAnchor_ + scrollAtPress_) * ratio - (pb - pos.y());
      value_.SetScroll(static_cast<int>(std::max(0.0, scroll)));
      fb.invalidate = l.plot.united(l.valueStrip);
      fb.scrollChanged = true;
    }
    return fb;
  }
  const bool inPlot = l.plot.contains(pos);
  if (mode_ == 0 && l.timeStrip.contains(pos))
    fb.cursor = Qt::SizeHorCursor;
  else if (mode_ == 0 && l.valueStrip.contains(pos))
    fb.cursor = Qt::SizeVerCursor;
  else if (inPlot)
    fb.cursor = Qt::CrossCursor;
  int hit = -1;
  if (inPlot) {
    std::vector<int> indexes;
    const std::vector<double> xs = ValidPositions(&indexes);
    const int nearest = NearestPosition(xs, pos.x() - pl, time_.plot.Width());
    if (nearest >= 0) hit = indexes[static_cast<size_t>(nearest)];
  }
  if (hit != hovered_) {
    hovered_ = hit;
    infoShown_ = hit >= 0;
    fb.invalidate = HoverArea();
  }
  return fb;
}

BpTrendChart::Feedback BpTrendChart::LeftDown(const QPoint& pos) {
  Feedback fb;
  if (mode_ != 0) return fb;
  if (layout_.timeStrip.contains(pos) && !time_.Fixed()) {
    timeAnchor_ = pos.x();
    scrollAtPress_ = time_.ScrollOffset();
    productAtPress_ = time_.Zoom() * time_.Stretch();
    fb.cursor = Qt::SizeHorCursor;
  } else if (layout_.valueStrip.contains(pos) && !value_.Fixed()) {
    valueAnchor_ = pos.y();
    scrollAtPress_ = value_.ScrollOffset();
    productAtPress_ = value_.Zoom() * value_.Stretch();
    fb.cursor = Qt::SizeVerCursor;
  }
  return fb;
}

BpTrendChart::Feedback BpTrendChart::LeftUp(const QPoint&) {
  Feedback fb;
  if (timeAnchor_ >= 0) {
    time_.FoldStretch();
    fb.invalidate = layout_.plot.united(layout_.timeStrip);
    fb.scrollChanged = true;
  }
  if (valueAnchor_ >= 0) {
    value_.FoldStretch();
    fb.invalidate = layout_.plot.united(layout_.valueStrip);
    fb.scrollChanged = true;
  }
  timeAnchor_ = valueAnchor_ = -1;
  return fb;
}

BpTrendChart::Feedback BpTrendChart::Scroll(Qt::Orientation orientation, ScrollRequest request,
                                            int track) {
  Feedback fb;
  const bool horizontal = orientation == Qt::Horizontal;
  const ScrollBarPlan& plan = horizontal ? hPlan_ : vPlan_;
  if (!plan.visible) return fb;
  const int position = (horizontal ? time_.ScrollOffset() : value_.ScrollOffset()) + plan.range.min;
  const int next = NextScrollPosition(request, position, plan.range, track, horizontal);
  const bool stored =
      horizontal ? time_.SetScroll(next - plan.range.min) : value_.SetScroll(next - plan.range.min);
  if (!stored) return fb;
  fb.invalidate = layout_.plot.united(horizontal ? layout_.timeStrip : layout_.valueStrip);
  fb.scrollChanged = true;
  return fb;
}

}  // namespace vesk
