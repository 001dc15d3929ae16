#include "ReportCanvas.h"

#include <QtGui/QFontMetricsF>
#include <QtGui/QTextLayout>
#include <algorithm>
#include <cmath>

namespace vesk::report {

QFont ReportFont(double pixelSize, bool bold) {
  QFont f;
  // DejaVu covers Latin, Greek, Cyrillic and Arabic; the CJK font takes what it lacks.
  f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei"),
                 QStringLiteral("Noto Sans CJK SC")});
  f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
  f.setBold(bold);
  return f;
}

void DrawFitted(QPainter& p, const QRectF& box, const QString& text, Qt::Alignment align) {
  const QFontMetricsF fm(p.font());
  p.drawText(box, int(align) | Qt::TextSingleLine,
             fm.elidedText(text, Qt::ElideRight, box.width()));
}

QRectF Canvas::Take(double height) {
  const double h = std::max(0.0, std::min(height, Remaining()));
  QRectF r(body_.left(), y_, body_.width(), h);
  y_ += h;
  return r;
}

void Canvas::Heading(const QString& text) {
  p.save();
  p.setFont(ReportFont(14, true));
  const double h = QFontMetricsF(p.font()).height() + 2;
  y_ += 6;
  p.setPen(QColor(20, 60, 120));
  DrawFitted(p, QRectF(body_.left(), y_, body_.width(), h), text);
  y_ += h;
  p.setPen(QPen(QColor(20, 60, 120), 0.8));
  p.drawLine(QPointF(body_.left(), y_), QPointF(body_.right(), y_));
  y_ += 5;
  p.restore();
}

void Canvas::Pairs(const std::vector<std::pair<QString, QString>>& items, int columns) {
  if (items.empty() || columns < 1) return;
  p.save();
  const QFont plain = ReportFont(kBodyPx), bold = ReportFont(kBodyPx, true);
  const double h = QFontMetricsF(plain).height() + kRowGap;
  const double colW = body_.width() / columns;
  // Labels line up whatever the number of columns.
  const double labelW = std::min(colW * 0.45, body_.width() * 0.225);
  for (size_t i = 0; i < items.size(); ++i) {
    const int col = int(i % size_t(columns));
    if (col == 0 && i > 0) y_ += h;
    const double x = body_.left() + col * colW;
    p.setFont(plain);
    p.setPen(QColor(70, 70, 70));
    DrawFitted(p, QRectF(x, y_, labelW - 4, h), items[i].first);
    p.setFont(bold);
    p.setPen(Qt::black);
    DrawFitted(p, QRectF(x + labelW, y_, colW - labelW - 8, h), items[i].second);
  }
  y_ += h + 2;
  p.restore();
}

int RowsThatFit(double height, double fontPx) {
  const double h = QFontMetricsF(ReportFont(fontPx)).height() + kRowGap;
  return std::max(0, int(std::floor(height / h)) - 1);
}

void Canvas::Table(const std::vector<TableColumn>& columns,
                   const std::vector<std::vector<QString>>& rows, double fontPx) {
  p.save();
  const QFont plain = ReportFont(fontPx), bold = ReportFont(fontPx, true);
  const double h = QFontMetricsF(plain).height() + kRowGap;
  auto drawRow = [&](const std::vector<QString>& cells, bool heading) {
    double x = body_.left();
    p.setFont(heading ? bold : plain);
    for (size_t c = 0; c < columns.size(); ++c) {
      const double w = columns[c].width * body_.width();
      if (c < cells.size()) DrawFitted(p, QRectF(x + 3, y_, w - 6, h), cells[c], columns[c].align);
      x += w;
    }
    y_ += h;
  };
  std::vector<QString> titles;
  for (const TableColumn& c : columns) titles.push_back(c.title);
  p.fillRect(QRectF(body_.left(), y_, body_.width(), h), QColor(225, 232, 242));
  drawRow(titles, true);
  for (size_t r = 0; r < rows.size(); ++r) {
    if (r % 2 == 1) p.fillRect(QRectF(body_.left(), y_, body_.width(), h), QColor(245, 246, 248));
    drawRow(rows[r], false);
  }
  p.setPen(QPen(QColor(160, 160, 160), 0.5));
  p.drawLine(QPointF(body_.left(), y_), QPointF(body_.right(), y_));
  y_ += 4;
  p.restore();
}

void Canvas::Paragraph(const QString& text, int maxLines, bool bold) {
  if (text.isEmpty()) return;
  p.save();
  const QFont font = ReportFont(kBodyPx, bold);
  p.setFont(font);
  const QFontMetricsF fm(font);
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  std::vector<std::pair<int, int>> lines;
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(body_.width());
    lines.emplace_back(line.textStart(), line.textLength());
  }
  layout.endLayout();
  const double h = fm.height() + 2;
  const int shown = std::min<int>(int(lines.size()), std::max(1, maxLines));
  for (int i = 0; i < shown && y_ + h <= body_.bottom() + 0.5; ++i) {
    QString part = text.mid(lines[size_t(i)].first, lines[size_t(i)].second).trimmed();
    // The last line that can be shown carries the rest of the text, elided.
    if (i == shown - 1 && shown < int(lines.size())) part = text.mid(lines[size_t(i)].first);
    part.replace(QLatin1Char('\n'), QLatin1Char(' '));
    DrawFitted(p, QRectF(body_.left(), y_, body_.width(), h), part);
    y_ += h;
  }
  y_ += 2;
  p.restore();
}

void Canvas::Verdict(const QString& text, const QColor& mark) {
  p.save();
  p.setFont(ReportFont(kBodyPx));
  const double h = QFontMetricsF(p.font()).height() + kRowGap;
  p.setPen(Qt::NoPen);
  p.setBrush(mark);
  p.drawEllipse(QRectF(body_.left() + 2, y_ + h / 2 - 4, 8, 8));
  p.setPen(Qt::black);
  DrawFitted(p, QRectF(body_.left() + 16, y_, body_.width() - 16, h), text);
  y_ += h;
  p.restore();
}

}  // namespace vesk::report
