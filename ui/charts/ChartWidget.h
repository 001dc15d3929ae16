#pragma once
// The chart area of the main view: shows the host's current chart from a back buffer, feeds
// it the mouse and both scroll bars of the trend chart, and runs the chart commands (graph
// type, SpO2 presets and navigation, trend length dialog). The view owns the case and the
// analysis; it hands them over with setCase and calls refresh after every change.

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include "charts/ChartHost.h"

class QScrollBar;

namespace vesk {

class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ChartWidget(QWidget* parent = nullptr);

  // A newly opened case (copied; its vectors must outlive the widget's use of them). The
  // chart returns to kind 0 and the SpO2 window to the ten-minute preset.
  void setCase(const ChartSource& source);
  void clearCase();
  // Repaint; dataChanged scales the trend chart again (after edits and re-analysis).
  void refresh(bool dataChanged = false);
  // 0 to 4; kinds 2 to 4 hide the trend chart's scroll bars.
  bool setKind(int kind);
  int kind() const { return host_.Kind(); }
  // Button 1212.
  void toggleGraphType();
  void setDisplayMode(int mode);
  // Commands 2001 to 2008 (2004 opens the trend length dialog); true when something changed.
  bool runCommand(int id);
  // The pie's period and ranges after the view recomputed its shares.
  void setPieSelection(Period period, const RangeLimits& ranges);
  // After the SpO2 parameter dialog detected the events again.
  void reloadEvents();
  void setBackgroundColour(const QColor& colour);

  // The shown chart as an image of the given size (the widget's size when empty).
  QImage renderImage(QSize size = {});
  bool saveImage(const QString& path);
  void copyToClipboard();

  ChartHost& host() { return host_; }

 signals:
  // After every left-button press on the chart: the view runs the re-analysis.
  void leftButtonPressed();
  // A paint failed; the text is the system-error text with the chart's suffix.
  void paintError(const QString& text);
  // The SpO2 window moved or changed length (for the tool buttons' state).
  void windowChanged(int activePreset);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void scrollAction(Qt::Orientation orientation, int action);
  void syncScrollBars();
  void hideScrollBars();
  void markDirty(const QRect& area = {});
  void runLengthDialog();

  ChartHost host_;
  QScrollBar* hBar_ = nullptr;
  QScrollBar* vBar_ = nullptr;
  QImage buffer_;
  bool dirty_ = true;
  bool dataChanged_ = true;
  bool syncing_ = false;
  QColor background_ = QColor(199, 237, 204);
};

}  // namespace vesk
