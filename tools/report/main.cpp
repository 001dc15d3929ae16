// vesk-report: the report program. The report command leaves the report's data in the start
// folder and the job in Cnf.start and starts this program without arguments from the program
// folder; it writes the PDF the job names and then shows a preview, or with "ReportPrint" 1
// prints without a window. Exit code 0 when the report was written, 1 with the reason on
// standard error, 2 for wrong arguments.
#include <QtGui/QFontDatabase>
#include <QtWidgets/QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PreviewWindow.h"
#include "ReportJob.h"
#include "ReportRender.h"
#include "ReportTexts.h"
#include "app/AppInfo.h"
#include "platform/ProgramDir.h"
#include "reports/ReportCommand.h"
#include "settings/SystemSettings.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "vesk-report: %s\n", message.c_str());
  return 1;
}

// Asked for, the usage goes to standard output with success; after a wrong argument, to the
// error output with the usage code.
int Usage(std::FILE* to = stderr) {
  std::fprintf(to,
               "usage: vesk-report [--home DIR] [--pdf-only]\n"
               "       vesk-report --help | --version\n"
               "  reads Cnf.start and the report data files of ZavStart/ in the program folder\n"
               "  --pdf-only  write the PDF named by ReportPath and show no window\n");
  return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before any folder or display is looked at, so packaging scripts can ask.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
      return Usage(stdout);
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("vesk-report %s\n", vesk::g_Version.c_str());
      return 0;
    }
  }
  vesk::ResolveProgramDir(argc, argv);
  bool pdfOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--pdf-only") == 0)
      pdfOnly = true;
    else
      return Usage();
  }
  using namespace vesk::report;
  ReportJob job;
  std::string error;
  if (!LoadReportJob(vesk::CnfStartPath(), job, error)) return Fail(error);
  // Without a window there is no display to ask for.
  if ((pdfOnly || job.reportPrint == 1) && std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  ReportTexts texts;
  if (!texts.Load(job.language))
    return Fail(vesk::ProgramPath("\\Language") + ": no language file can be read");
  if (texts.IsChinese() && QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
    std::fprintf(stderr, "vesk-report: no Chinese font is installed; texts may not show\n");

  ReportModel model;
  if (!LoadReportModel(vesk::ReportStartFolder(), model, error))
    return Fail("the report data cannot be read: " + error);
  model.casePath = job.casePath;

  QString qerror;
  if (!job.reportPath.empty() && !WritePdf(job.reportPath, job, model, texts, qerror))
    return Fail(qerror.toStdString());
  if (job.reportPrint == 1) {
    if (!PrintReport(job, model, texts, qerror)) return Fail(qerror.toStdString());
    return 0;
  }
  if (pdfOnly) return 0;
  PreviewWindow window(job, model, texts);
  window.exec();
  return 0;
}
