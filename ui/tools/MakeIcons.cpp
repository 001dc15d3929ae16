// Draws the toolbar strip (15 images of 32 x 32, transparent where the toolbar shows through)
// and the program icon. The images are committed; run scripts/make-icons after changing this.
//
//   vesk-make-icons OUTPUT_FOLDER [HICOLOR_FOLDER]
//
// With a second folder the program icon is also drawn at the sizes of the desktop's icon
// theme, as HICOLOR_FOLDER/NxN/apps/vesk.png.

#include <QtCore/QDir>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QImageWriter>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// One palette for the whole set, so the buttons read as a family.
const QColor kInk(40, 52, 64);
const QColor kPaper(250, 250, 244);
const QColor kBlue(47, 111, 181);
const QColor kRed(211, 60, 60);
const QColor kGreen(46, 158, 91);
const QColor kAmber(232, 163, 58);
const QColor kGrey(150, 160, 170);

QPen Ink(double w = 1.6) {
  return QPen(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
QPen Stroke(const QColor& c, double w) {
  return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  p.setPen(Stroke(c, 3.2));
  p.drawLine(from, to);
  const double dx = to.x() - from.x(), dy = to.y() - from.y();
  const double len = std::hypot(dx, dy);
  const double ux = dx / len, uy = dy / len;
  QPolygonF head;
  head << to + QPointF(ux * 2.5, uy * 2.5) << to + QPointF(-ux * 4 - uy * 5, -uy * 4 + ux * 5)
       << to + QPointF(-ux * 4 + uy * 5, -uy * 4 - ux * 5);
  p.setPen(Stroke(c, 1.0));
  p.setBrush(c);
  p.drawPolygon(head);
}

// The recorder: a rounded box with a small display, used by upload and download.
void Recorder(QPainter& p) {
  p.setPen(Ink());
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(3, 12, 16, 18), 3, 3);
  p.setBrush(kGreen.lighter(150));
  p.drawRect(QRectF(6, 15, 10, 5));
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(11, 25), 2, 2);
}

void Sheet(QPainter& p, QRectF r) {
  p.setPen(Ink());
  p.setBrush(kPaper);
  p.drawRoundedRect(r, 2, 2);
}

void Axes(QPainter& p) {
  p.setPen(Ink(1.4));
  p.drawLine(QPointF(5, 4), QPointF(5, 27));
  p.drawLine(QPointF(5, 27), QPointF(29, 27));
}

void DrawWear(QPainter& p) {
  // An upper arm with the cuff around it and the tube to the recorder.
  p.setPen(Ink());
  p.setBrush(QColor(236, 196, 160));
  QPainterPath arm;
  arm.moveTo(6, 2);
  arm.cubicTo(4, 12, 5, 22, 9, 30);
  arm.lineTo(20, 30);
  arm.cubicTo(17, 22, 17, 12, 18, 2);
  arm.closeSubpath();
  p.drawPath(arm);
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(3.5, 10, 17, 10), 2, 2);
  p.setPen(Stroke(kInk, 2));
  p.setBrush(Qt::NoBrush);
  QPainterPath tube;
  tube.moveTo(20, 15);
  tube.cubicTo(26, 15, 28, 20, 27, 26);
  p.drawPath(tube);
  p.setPen(Ink());
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(23, 24, 8, 7), 1.5, 1.5);
}

void DrawUpload(QPainter& p) {
  Recorder(p);
  Arrow(p, QPointF(25, 28), QPointF(25, 6), kGreen);
}

void DrawDownload(QPainter& p) {
  Recorder(p);
  Arrow(p, QPointF(25, 4), QPointF(25, 24), kBlue);
}

void DrawOpen(QPainter& p) {
  p.setPen(Ink());
  p.setBrush(kAmber.darker(110));
  QPainterPath back;
  back.moveTo(2, 8);
  back.lineTo(11, 8);
  back.lineTo(14, 11);
  back.lineTo(28, 11);
  back.lineTo(28, 27);
  back.lineTo(2, 27);
  back.closeSubpath();
  p.drawPath(back);
  Sheet(p, QRectF(7, 5, 16, 14));
  p.setPen(Stroke(kRed, 1.6));
  p.drawPolyline(QPolygonF() << QPointF(9, 14) << QPointF(12, 14) << QPointF(14, 8)
                             << QPointF(16, 17) << QPointF(18, 12) << QPointF(21, 12));
  p.setPen(Ink());
  p.setBrush(kAmber);
  QPolygonF front;
  front << QPointF(5, 15) << QPointF(31, 15) << QPointF(28, 27) << QPointF(2, 27);
  p.drawPolygon(front);
}

void DrawBpTrend(QPainter& p) {
  Axes(p);
  p.setBrush(Qt::NoBrush);
  p.setPen(Stroke(kRed, 2.2));
  p.drawPolyline(QPolygonF() << QPointF(7, 12) << QPointF(12, 8) << QPointF(17, 11)
                             << QPointF(22, 6) << QPointF(28, 9));
  p.setPen(Stroke(kBlue, 2.2));
  p.drawPolyline(QPolygonF() << QPointF(7, 21) << QPointF(12, 18) << QPointF(17, 21)
                             << QPointF(22, 16) << QPointF(28, 19));
}

void DrawSpO2Trend(QPainter& p) {
  // A drop for the oxygen saturation over a pulse wave.
  p.setPen(Ink());
  p.setBrush(kRed);
  QPainterPath drop;
  drop.moveTo(11, 2);
  drop.cubicTo(5, 10, 4, 13, 4, 15);
  drop.arcTo(QRectF(4, 8, 14, 14), 180, 180);
  drop.cubicTo(18, 13, 17, 10, 11, 2);
  p.drawPath(drop);
  p.setBrush(Qt::NoBrush);
  p.setPen(Stroke(kBlue, 2.2));
  p.drawPolyline(QPolygonF() << QPointF(2, 27) << QPointF(12, 27) << QPointF(15, 20)
                             << QPointF(18, 30) << QPointF(21, 24) << QPointF(24, 27)
                             << QPointF(30, 27));
}

void DrawEdit(QPainter& p) {
  Sheet(p, QRectF(3, 3, 20, 26));
  p.setPen(Stroke(kGrey, 1.2));
  for (int y = 9; y <= 25; y += 4) p.drawLine(QPointF(5, y), QPointF(21, y));
  p.drawLine(QPointF(11, 5), QPointF(11, 27));
  // The pencil.
  p.save();
  p.translate(22, 18);
  p.rotate(45);
  p.setPen(Ink(1.2));
  p.setBrush(kAmber);
  p.drawRect(QRectF(-2.5, -12, 5, 16));
  p.setBrush(kPaper);
  QPolygonF tip;
  tip << QPointF(-2.5, 4) << QPointF(2.5, 4) << QPointF(0, 9);
  p.drawPolygon(tip);
  p.setBrush(kRed);
  p.drawRect(QRectF(-2.5, -14, 5, 2.5));
  p.restore();
}

void DrawBars(QPainter& p) {
  Axes(p);
  p.setPen(Ink(1.2));
  const QColor colours[] = {kBlue, kRed, kGreen, kAmber};
  const double heights[] = {10, 19, 14, 7};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(colours[i]);
    p.drawRect(QRectF(8 + i * 5.5, 26.5 - heights[i], 4.5, heights[i]));
  }
}

void DrawPie(QPainter& p) {
  const QRectF r(3, 3, 26, 26);
  p.setPen(Ink(1.2));
  p.setBrush(kBlue);
  p.drawPie(r, 90 * 16, 150 * 16);
  p.setBrush(kGreen);
  p.drawPie(r, 240 * 16, 120 * 16);
  p.setBrush(kRed);
  p.drawPie(r.translated(1.5, -1.5), 0, 90 * 16);
}

void DrawCorrelation(QPainter& p) {
  Axes(p);
  p.setPen(Ink(1.0));
  p.setBrush(kBlue);
  const QPointF dots[] = {{9, 23},  {11, 19}, {14, 21}, {16, 15}, {19, 16},
                          {21, 11}, {24, 12}, {26, 7},  {13, 17}, {23, 9}};
  for (const QPointF& d : dots) p.drawEllipse(d, 1.7, 1.7);
  p.setPen(Stroke(kRed, 2.0));
  p.drawLine(QPointF(7, 25), QPointF(29, 5));
}

void DrawReport(QPainter& p) {
  // A printer with a report sheet coming out.
  Sheet(p, QRectF(8, 2, 16, 12));
  p.setPen(Stroke(kRed, 1.5));
  p.drawPolyline(QPolygonF() << QPointF(10, 9) << QPointF(14, 6) << QPointF(18, 9)
                             << QPointF(22, 5));
  p.setPen(Ink());
  p.setBrush(kGrey.lighter(120));
  p.drawRoundedRect(QRectF(2, 12, 28, 12), 3, 3);
  p.setBrush(kGreen);
  p.drawEllipse(QPointF(25.5, 16.5), 1.6, 1.6);
  Sheet(p, QRectF(8, 20, 16, 10));
  p.setPen(Stroke(kGrey, 1.2));
  p.drawLine(QPointF(10, 24), QPointF(22, 24));
  p.drawLine(QPointF(10, 27), QPointF(19, 27));
}

void DrawStatistics(QPainter& p) {
  // A clipboard with a summary table.
  p.setPen(Ink());
  p.setBrush(kAmber.darker(120));
  p.drawRoundedRect(QRectF(4, 3, 24, 27), 2.5, 2.5);
  Sheet(p, QRectF(7, 6, 18, 21));
  p.setBrush(kGrey);
  p.drawRoundedRect(QRectF(11, 1.5, 10, 4), 1.5, 1.5);
  const QColor marks[] = {kRed, kBlue, kGreen};
  for (int i = 0; i < 3; ++i) {
    p.setPen(Stroke(marks[i], 2.0));
    p.drawPoint(QPointF(10, 11 + i * 5));
    p.setPen(Stroke(kGrey, 1.4));
    p.drawLine(QPointF(13, 11 + i * 5), QPointF(22 - i * 2, 11 + i * 5));
  }
}

void DrawPlan(QPainter& p) {
  // A clock over a list: the recording schedule.
  Sheet(p, QRectF(3, 8, 18, 22));
  p.setPen(Stroke(kGrey, 1.4));
  for (int y = 14; y <= 26; y += 4) p.drawLine(QPointF(6, y), QPointF(15, y));
  p.setPen(Ink());
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(21.5, 10.5), 8.5, 8.5);
  p.setPen(Stroke(kBlue, 2.0));
  p.drawLine(QPointF(21.5, 10.5), QPointF(21.5, 5));
  p.drawLine(QPointF(21.5, 10.5), QPointF(25.5, 12.5));
}

void DrawHelp(QPainter& p) {
  p.setPen(Ink());
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
  p.setPen(Stroke(kPaper, 3.2));
  p.setBrush(Qt::NoBrush);
  QPainterPath q;
  q.moveTo(11, 12.5);
  q.cubicTo(11, 6.5, 21, 6.5, 21, 12);
  q.cubicTo(21, 15.5, 16, 16, 16, 20);
  p.drawPath(q);
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(16, 24.5), 2.1, 2.1);
}

void DrawExit(QPainter& p) {
  // An open door with an arrow leaving through it.
  p.setPen(Ink());
  p.setBrush(kGrey.lighter(130));
  p.drawRect(QRectF(4, 3, 15, 26));
  p.setBrush(kAmber.darker(115));
  QPolygonF door;
  door << QPointF(4, 3) << QPointF(13, 6) << QPointF(13, 31) << QPointF(4, 29);
  p.drawPolygon(door);
  Arrow(p, QPointF(16, 16), QPointF(27, 16), kRed);
}

// The program icon: a heart with a pressure trace on the view's green.
void DrawLogo(QPainter& p, int size) {
  p.scale(size / 32.0, size / 32.0);
  p.setPen(QPen(QColor(0, 128, 64), 1.2));
  p.setBrush(QColor(199, 237, 204));
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  QPainterPath heart;
  heart.moveTo(16, 27);
  heart.cubicTo(4, 19, 3, 12, 6, 8.5);
  heart.cubicTo(9, 5, 14, 6, 16, 10);
  heart.cubicTo(18, 6, 23, 5, 26, 8.5);
  heart.cubicTo(29, 12, 28, 19, 16, 27);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kRed);
  p.drawPath(heart);
  p.setPen(Stroke(Qt::white, 2.0));
  p.drawPolyline(QPolygonF() << QPointF(5, 16) << QPointF(11, 16) << QPointF(13, 11)
                             << QPointF(16, 21) << QPointF(19, 13) << QPointF(21, 16)
                             << QPointF(27, 16));
}

QImage Canvas(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: vesk-make-icons OUTPUT_FOLDER [HICOLOR_FOLDER]\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);

  // Order of the toolbar buttons: wear, upload, download, open, BP trend, SpO2 trend, edit,
  // bar graph, pie, correlation, report, statistics, plan, help, exit.
  const std::vector<std::function<void(QPainter&)>> images = {
      DrawWear,      DrawUpload,     DrawDownload, DrawOpen, DrawBpTrend,
      DrawSpO2Trend, DrawEdit,       DrawBars,     DrawPie,  DrawCorrelation,
      DrawReport,    DrawStatistics, DrawPlan,     DrawHelp, DrawExit};
  QImage strip = Canvas(32 * int(images.size()), 32);
  for (size_t i = 0; i < images.size(); ++i) {
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(32.0 * double(i), 0);
    p.setClipRect(0, 0, 32, 32);
    images[i](p);
  }
  bool ok = strip.save(out + "/Toolbar.png", "PNG");

  QImage logo = Canvas(48, 48);
  {
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    DrawLogo(p, 48);
  }
  ok = logo.save(out + "/Logo.png", "PNG") && ok;
  // The icon file holds the sizes the window manager and the task bar ask for.
  QImageWriter ico(out + "/Logo.ico", "ico");
  QImage small = Canvas(32, 32);
  {
    QPainter p(&small);
    p.setRenderHint(QPainter::Antialiasing);
    DrawLogo(p, 32);
  }
  ok = ico.write(small) && ok;
  if (argc == 3) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
      const QString folder = QString::fromLocal8Bit(argv[2]) + QString("/%1x%1/apps").arg(size);
      QImage icon = Canvas(size, size);
      {
        QPainter p(&icon);
        p.setRenderHint(QPainter::Antialiasing);
        DrawLogo(p, size);
      }
      ok = QDir().mkpath(folder) && icon.save(folder + "/vesk.png", "PNG") && ok;
    }
  }
  if (!ok) std::fprintf(stderr, "vesk-make-icons: could not write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
