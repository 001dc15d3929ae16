#include "charts/ChartWidget.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QScrollBar>

#include "charts/TrendLengthDialog.h"

namespace vesk {

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  hBar_ = new QScrollBar(Qt::Horizontal, this);
  vBar_ = new QScrollBar(Qt::Vertical, this);
  // Offset 0 shows the lowest values, so the thumb starts at the bottom.
  vBar_->setInvertedAppearance(true);
  vBar_->setInvertedControls(true);
  hideScrollBars();
  connect(hBar_, &QScrollBar::actionTriggered, this,
          [this](int action) { scrollAction(Qt::Horizontal, action); });
  connect(vBar_, &QScrollBar::actionTriggered, this,
          [this](int action) { scrollAction(Qt::Vertical, action); });
  host_.SetErrorSink([this](const QString& text) { emit paintError(text); });
}

void ChartWidget::setCase(const ChartSource& source) {
  hideScrollBars();
  host_.SetCase(source);
  host_.Trend().SetBackground(Qt::white);
  dataChanged_ = true;
  markDirty();
  emit windowChanged(host_.Spo2().Window().ActivePreset());
}

void ChartWidget::clearCase() {
  hideScrollBars();
  host_.ClearCase();
  markDirty();
}

void ChartWidget::refresh(bool dataChanged) {
  if (dataChanged) dataChanged_ = true;
  markDirty();
}

bool ChartWidget::setKind(int kind) {
  if (kind >= kChartHistogram) hideScrollBars();
  if (!host_.SetKind(kind)) return false;
  if (kind == kChartSpo2Trend) hideScrollBars();
  markDirty();
  return true;
}

void ChartWidget::toggleGraphType() {
  if (!host_.HasCase()) return;
  setDisplayMode(NextGraphMode(host_.Trend().DisplayMode(), host_.Source().multiDay));
}

void ChartWidget::setDisplayMode(int mode) {
  host_.Trend().SetDisplayMode(mode);
  if (mode != 0) hideScrollBars();
  markDirty();
}

bool ChartWidget::runCommand(int id) {
  if (!host_.HasCase()) return false;
  bool changed = false;
  if (host_.Kind() == kChartSpo2Trend) {
    if (id == kCmdManualLength) {
      runLengthDialog();
      return true;
    }
    changed = host_.Spo2().Command(id);
    if (changed) emit windowChanged(host_.Spo2().Window().ActivePreset());
  } else if (host_.Kind() == kChartBpTrend) {
    // On the trend chart the navigation buttons page and step through the recording.
    const ScrollRequest requests[] = {ScrollRequest::PageBack, ScrollRequest::LineBack,
                                      ScrollRequest::LineForward, ScrollRequest::PageForward};
    if (id >= kCmdPageLeft && id <= kCmdPageRight)
      changed = host_.Trend().Scroll(Qt::Horizontal, requests[id - kCmdPageLeft]).scrollChanged;
  }
  if (changed) markDirty();
  return changed;
}

void ChartWidget::runLengthDialog() {
  TrendLengthDialog dialog(host_.Spo2().Window(), host_.Source().language, this);
  if (dialog.exec() != QDialog::Accepted) return;
  host_.Spo2().Window() = dialog.Result();
  emit windowChanged(host_.Spo2().Window().ActivePreset());
  markDirty();
}

void ChartWidget::setPieSelection(Period period, const RangeLimits& ranges) {
  host_.SetPieSelection(period, ranges);
  markDirty();
}

void ChartWidget::reloadEvents() {
  host_.ReloadEvents();
  markDirty();
}

void ChartWidget::setBackgroundColour(const QColor& colour) {
  background_ = colour;
  markDirty();
}

void ChartWidget::markDirty(const QRect& area) {
  dirty_ = true;
  if (area.isEmpty())
    update();
  else
    update(area);
}

QImage ChartWidget::renderImage(QSize size) {
  if (size.isEmpty()) size = this->size();
  QImage image(size, QImage::Format_RGB32);
  image.fill(background_);
  QPainter p(&image);
  host_.Paint(p, QRect(QPoint(0, 0), size), dataChanged_);
  dataChanged_ = false;
  return image;
}

bool ChartWidget::saveImage(const QString& path) {
  return renderImage().save(path, "PNG");
}

void ChartWidget::copyToClipboard() {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(renderImage());
}

void ChartWidget::paintEvent(QPaintEvent*) {
  if (buffer_.size() != size()) {
    buffer_ = QImage(size(), QImage::Format_RGB32);
    dirty_ = true;
  }
  if (dirty_) {
    dirty_ = false;
    buffer_.fill(background_);
    QPainter bp(&buffer_);
    host_.Paint(bp, rect(), dataChanged_);
    dataChanged_ = false;
    bp.end();
    syncScrollBars();
  }
  QPainter p(this);
  p.drawImage(0, 0, buffer_);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  dirty_ = true;
}

void ChartWidget::syncScrollBars() {
  BpTrendChart& trend = host_.Trend();
  if (!host_.HasCase() || host_.Kind() != kChartBpTrend || trend.DisplayMode() != 0) {
    hideScrollBars();
    return;
  }
  syncing_ = true;
  const BpTrendChart::Layout& l = trend.LastLayout();
  const ScrollBarPlan& h = trend.HorizontalBar();
  const ScrollBarPlan& v = trend.VerticalBar();
  hBar_->setVisible(h.visible);
  if (h.visible) {
    hBar_->setGeometry(l.hBar);
    hBar_->setRange(h.range.min, h.range.max);
    hBar_->setPageStep(h.range.page);
    hBar_->setSingleStep(std::max(1, (h.range.max - h.range.min) / 20));
    hBar_->setValue(trend.Time().ScrollOffset() + h.range.min);
  }
  vBar_->setVisible(v.visible);
  if (v.visible) {
    vBar_->setGeometry(l.vBar);
    vBar_->setRange(v.range.min, v.range.max);
    vBar_->setPageStep(v.range.page);
    vBar_->setSingleStep(std::max(1, (v.range.max - v.range.min) / 20));
    vBar_->setValue(trend.Values().ScrollOffset() + v.range.min);
  }
  syncing_ = false;
}

void ChartWidget::hideScrollBars() {
  hBar_->hide();
  vBar_->hide();
}

void ChartWidget::scrollAction(Qt::Orientation orientation, int action) {
  if (syncing_) return;
  QScrollBar* bar = orientation == Qt::Horizontal ? hBar_ : vBar_;
  ScrollRequest request = ScrollRequest::Track;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      request = ScrollRequest::LineBack;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      request = ScrollRequest::LineForward;
      break;
    case QAbstractSlider::SliderPageStepSub:
      request = ScrollRequest::PageBack;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      request = ScrollRequest::PageForward;
      break;
    case QAbstractSlider::SliderToMinimum:
      request = ScrollRequest::Top;
      break;
    case QAbstractSlider::SliderToMaximum:
      request = ScrollRequest::Bottom;
      break;
    case QAbstractSlider::SliderMove:
      request = ScrollRequest::Track;
      break;
    default:
      return;
  }
  BpTrendChart& trend = host_.Trend();
  const BpTrendChart::Feedback fb = trend.Scroll(orientation, request, bar->sliderPosition());
  const ScrollBarPlan& plan =
      orientation == Qt::Horizontal ? trend.HorizontalBar() : trend.VerticalBar();
  const int offset =
      orientation == Qt::Horizontal ? trend.Time().ScrollOffset() : trend.Values().ScrollOffset();
  bar->setSliderPosition(offset + plan.range.min);
  if (!fb.invalidate.isEmpty()) markDirty(fb.invalidate);
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (host_.Kind() == kChartBpTrend && host_.HasCase()) {
    const BpTrendChart::Feedback fb =
        host_.Trend().MouseMove(pos, (event->buttons() & Qt::LeftButton) != 0);
    setCursor(fb.cursor);
    if (!fb.invalidate.isEmpty()) markDirty(fb.invalidate);
  } else if (host_.Kind() == kChartSpo2Trend && host_.HasCase()) {
    unsetCursor();
    if (host_.Spo2().MouseMove(pos, rect())) markDirty(Spo2TrendChart::PlotRect(rect()));
  }
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  if (host_.Kind() == kChartBpTrend && host_.HasCase()) {
    const BpTrendChart::Feedback fb = host_.Trend().LeftDown(event->position().toPoint());
    setCursor(fb.cursor);
  }
  emit leftButtonPressed();
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  if (host_.Kind() == kChartBpTrend && host_.HasCase()) {
    const BpTrendChart::Feedback fb = host_.Trend().LeftUp(event->position().toPoint());
    if (!fb.invalidate.isEmpty()) markDirty(fb.invalidate);
  }
}

void ChartWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (host_.Kind() == kChartBpTrend && host_.HasCase()) {
    const BpTrendChart::Feedback fb = host_.Trend().MouseMove(QPoint(-1, -1), false);
    if (!fb.invalidate.isEmpty()) markDirty(fb.invalidate);
  }
}

}  // namespace vesk
