#pragma once
// Painting the whole report onto any paged device (PDF writer, printer, preview) and the
// two outputs of a job: the PDF file, replaced atomically, and the printout.

#include <QtCore/QString>
#include <QtGui/QPageSize>
#include <QtGui/QPagedPaintDevice>
#include <string>

#include "ReportJob.h"
#include "ReportTexts.h"

class QPrinter;

namespace vesk::report {

QPageSize PageSizeOf(const ReportJob& job);

// Every planned page, one sheet each; `resolution` is the device's dots per inch.
[[nodiscard]] bool PaintReport(QPagedPaintDevice& device, int resolution, const ReportModel& m,
                               const ReportTexts& t, QString& error);

// The PDF as bytes (fonts embedded) and written to `path` through a temporary file and a
// rename, so that a reader never finds half a report and a failure leaves no file.
[[nodiscard]] bool RenderPdf(const ReportJob& job, const ReportModel& m, const ReportTexts& t,
                             QByteArray& pdf, QString& error);
[[nodiscard]] bool WritePdf(const std::string& path, const ReportJob& job, const ReportModel& m,
                            const ReportTexts& t, QString& error);

// Prints to the job's printer (the default one when the job names none).
[[nodiscard]] bool PrintReport(const ReportJob& job, const ReportModel& m, const ReportTexts& t,
                               QString& error);
void SetUpPrinter(QPrinter& printer, const ReportJob& job);

}  // namespace vesk::report
