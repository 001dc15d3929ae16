#pragma once
// Chart kind 0: every blood-pressure reading of the case on a time axis, as curves with their
// limit areas (mode 0) or as bars (modes 1 to 3; mode 3 equally spaced with the pulse line).
// The chart paints on any painter; the widget that shows it forwards the mouse and the
// scroll bars and acts on the feedback each call returns.

#include <QtCore/QRect>
#include <QtCore/QString>
#include <QtGui/QColor>
#include <vector>

#include "charts/ChartScroll.h"
#include "charts/ChartSource.h"
#include "charts/TimeAxis.h"
#include "charts/ValueAxis.h"

class QPainter;

namespace vesk {

class BpTrendChart {
 public:
  struct Layout {
    QRect client, plot, timeStrip, valueStrip, hBar, vBar;
  };
  // What the widget should do after an input: repaint a rectangle, show a cursor, and
  // whether the scroll bars must be brought up to date.
  struct Feedback {
    QRect invalidate;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    bool scrollChanged = false;
  };

  // Clears all state for the case (or none) and chooses mode 3 for a multi-day case.
  void SetCase(const ChartSource* source);
  // Stores the mode (0 to 3); the axes are scaled again at the next paint.
  void SetDisplayMode(int mode);
  int DisplayMode() const { return mode_; }
  void SetBackground(const QColor& colour) { background_ = colour; }
  bool SetTimeZoom(double zoom) { return time_.SetZoom(zoom); }
  bool SetValueZoom(double zoom) { return value_.SetZoom(zoom); }
  bool SetTimeScroll(int offset) { return time_.SetScroll(offset); }
  bool SetValueScroll(int offset) { return value_.SetScroll(offset); }
  bool SetValueRange(int minimum, int maximum) { return value_.SetRange(minimum, maximum); }
  // The next paint scales the axes again (after an edit of the readings).
  void DataChanged() { rescale_ = true; }

  // Draws into `client`; with dataChanged (or a pending change) the axes are scaled first.
  void Paint(QPainter& painter, const QRect& client, bool dataChanged = false);
  Layout ComputeLayout(const QRect& client) const;

  Feedback MouseMove(const QPoint& pos, bool leftHeld);
  Feedback LeftDown(const QPoint& pos);
  Feedback LeftUp(const QPoint& pos);
  Feedback Scroll(Qt::Orientation orientation, ScrollRequest request, int track = 0);

  // Scroll bars as the last paint planned them (positions are the axes' offsets).
  const ScrollBarPlan& HorizontalBar() const { return hPlan_; }
  const ScrollBarPlan& VerticalBar() const { return vPlan_; }
  const Layout& LastLayout() const { return layout_; }
  // Where the value caption stands in the last layout (above the plot, centred on its left
  // edge).
  QRect ValueCaptionRect() const;

  // Index (into the case's readings) of the hovered reading, -1 for none.
  int Hovered() const { return hovered_; }
  bool InfoShown() const { return infoShown_; }
  int ReadingCount() const { return readingCount_; }
  int ValidCount() const { return validCount_; }
  const TimeAxis& Time() const { return time_; }
  const ValueAxis& Values() const { return value_; }
  // x of a reading from the plot's left edge for the current axes; false when not placed.
  bool ReadingX(int index, double& x) const;

 private:
  void Rescale();
  void Recount();
  void ApplyLayout(const QRect& client);
  void PlanScrollBars();
  bool IsDrawn(const _BP_RECORD& r) const;
  std::vector<double> ValidPositions(std::vector<int>* indexes) const;
  QRect HoverArea() const;

  void PaintCaptions(QPainter& p) const;
  void PaintValueLabels(QPainter& p);
  void PaintTimeLabels(QPainter& p) const;
  void PaintBars(QPainter& p) const;
  void PaintLimitAreas(QPainter& p) const;
  void PaintPulseLine(QPainter& p) const;
  void PaintGrid(QPainter& p) const;
  void PaintInfoBox(QPainter& p) const;

  const ChartSource* source_ = nullptr;
  int mode_ = 0;
  QColor background_ = QColor(255, 255, 255);
  QString timeCaption_, valueCaption_;
  // -1: automatic (fractions of the client size).
  int marginX_ = -1, marginY_ = -1, timeStripHeight_ = -1, valueStripWidth_ = -1;
  TimeAxis time_;
  ValueAxis value_;
  Layout layout_;
  ScrollBarPlan hPlan_, vPlan_;
  bool rescale_ = true;
  int readingCount_ = 0;
  int validCount_ = 0;
  int hovered_ = -1;
  bool infoShown_ = false;
  int timeAnchor_ = -1, valueAnchor_ = -1;
  int scrollAtPress_ = 0;
  double productAtPress_ = 1.0;
};

}  // namespace vesk
