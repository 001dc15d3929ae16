#include "ReportRender.h"

#include <QtCore/QBuffer>
#include <QtGui/QPainter>
#include <QtGui/QPdfWriter>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>

#include "ReportPages.h"
#include "platform/FileUtil.h"

namespace vesk::report {

QPageSize PageSizeOf(const ReportJob& job) {
  return QPageSize(PaperOf(job.paperSize) == Paper::Letter ? QPageSize::Letter : QPageSize::A4);
}

bool PaintReport(QPagedPaintDevice& device, int resolution, const ReportModel& m,
                 const ReportTexts& t, QString& error) {
  QPainter p;
  if (!p.begin(&device)) {
    error = QStringLiteral("the output device could not be opened");
    return false;
  }
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const double scale = resolution / 96.0;
  const QRectF page(0, 0, device.width() / scale, device.height() / scale);
  const std::vector<PlannedPage> plan = PlanPages(m, page.size());
  for (size_t i = 0; i < plan.size(); ++i) {
    if (i > 0 && !device.newPage()) {
      error = QStringLiteral("a new page could not be started");
      return false;
    }
    p.save();
    p.scale(scale, scale);
    PageContext c{p, m, t, page, int(i) + 1, int(plan.size())};
    PaintPage(c, plan[i]);
    p.restore();
  }
  if (!p.end()) {
    error = QStringLiteral("the output could not be finished");
    return false;
  }
  return true;
}

bool RenderPdf(const ReportJob& job, const ReportModel& m, const ReportTexts& t, QByteArray& pdf,
               QString& error) {
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageSize(PageSizeOf(job));
  writer.setPageOrientation(QPageLayout::Portrait);
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  // The charts size some texts in points; at the 96 dpi of a screen those stay the size they
  // are on screen, and the drawing is vector output whatever the resolution.
  writer.setResolution(96);
  writer.setCreator(QStringLiteral("VESK"));
  writer.setTitle(QString::fromStdString(m.data.main.title));
  return PaintReport(writer, writer.resolution(), m, t, error);
}

bool WritePdf(const std::string& path, const ReportJob& job, const ReportModel& m,
              const ReportTexts& t, QString& error) {
  QByteArray pdf;
  if (!RenderPdf(job, m, t, pdf, error)) return false;
  std::string why;
  if (!fsutil::WriteFileAtomic(path, std::string_view(pdf.constData(), size_t(pdf.size())), &why)) {
    error = QString::fromStdString(path + ": not written: " + why);
    return false;
  }
  return true;
}

void SetUpPrinter(QPrinter& printer, const ReportJob& job) {
  if (!job.deviceName.empty()) printer.setPrinterName(QString::fromStdString(job.deviceName));
  printer.setPageSize(PageSizeOf(job));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);
}

bool PrintReport(const ReportJob& job, const ReportModel& m, const ReportTexts& t, QString& error) {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUpPrinter(printer, job);
  if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat) {
    error = QStringLiteral("printer \"%1\" is not available")
                .arg(QString::fromStdString(job.deviceName));
    return false;
  }
  return PaintReport(printer, printer.resolution(), m, t, error);
}

}  // namespace vesk::report
