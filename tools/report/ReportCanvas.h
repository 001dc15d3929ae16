#pragma once
// Drawing helpers shared by the pages. Coordinates are logical pixels of 1/96 inch whatever
// the device: the renderer scales the painter, so a page looks the same on paper, in the PDF
// and in the preview. Every text is fitted to its box: elided on one line or wrapped inside a
// given height, never drawn over its neighbour.

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtGui/QFont>
#include <QtGui/QPainter>
#include <utility>
#include <vector>

namespace vesk::report {

inline constexpr double kBodyPx = 12.0;   // 9 pt
inline constexpr double kSmallPx = 10.5;  // 8 pt
inline constexpr double kRowGap = 4.0;

QFont ReportFont(double pixelSize, bool bold = false);

// One line of `text` in `box`, elided at the right end when too long.
void DrawFitted(QPainter& p, const QRectF& box, const QString& text,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

struct TableColumn {
  QString title;
  double width;  // share of the table width; the shares should add up to 1
  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter;
};

class Canvas {
 public:
  Canvas(QPainter& painter, const QRectF& body) : p(painter), body_(body), y_(body.top()) {}

  QPainter& p;
  double Y() const { return y_; }
  double Left() const { return body_.left(); }
  double Width() const { return body_.width(); }
  double Remaining() const { return body_.bottom() - y_; }
  void Space(double dy) { y_ += dy; }
  void MoveTo(double y) { y_ = y; }
  // The rest of the body from the cursor, `height` tall (clamped to what is left).
  QRectF Take(double height);

  void Heading(const QString& text);
  // Label/value pairs in `columns` pairs per line.
  void Pairs(const std::vector<std::pair<QString, QString>>& items, int columns = 2);
  void Table(const std::vector<TableColumn>& columns, const std::vector<std::vector<QString>>& rows,
             double fontPx = kBodyPx);
  // Wrapped text, at most maxLines lines (the last is elided when the text goes on).
  void Paragraph(const QString& text, int maxLines = 12, bool bold = false);
  // A line with a coloured mark before it (verdicts).
  void Verdict(const QString& text, const QColor& mark);

 private:
  QRectF body_;
  double y_;
};

// The rows a table of the given font can hold in `height`, heading row included.
int RowsThatFit(double height, double fontPx = kBodyPx);

}  // namespace vesk::report
