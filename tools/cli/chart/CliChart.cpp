// vesk-cli case chart: one chart of a case drawn headless into a PNG file, the same picture
// the main view shows (for letters and for checks). Built only with the charts library; the
// rest of vesk-cli needs no Qt.
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../Cli.h"
#include "analysis/CaseAnalysis.h"
#include "analysis/EventParams.h"
#include "app/AppInfo.h"
#include "cases/CaseDocument.h"
#include "cases/CaseState.h"
#include "charts/ChartHost.h"
#include "charts/ChartSource.h"
#include "language/Language.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"

namespace vesk::cli {
namespace {

constexpr const char* kUsage =
    "  case chart FILE --kind 0..4 [--mode 0..3] [--period all|awake|asleep] --size WxH OUT.png\n"
    "             one chart as a PNG picture (0 trend, 1 SpO2, 2 histogram, 3 pie, 4 correlation)";
constexpr int kMaxSide = 10000;
// The main view's background, so that the picture matches the screen.
const QColor kBackground(199, 237, 204);

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kUsage);
  return 2;
}

bool ParseInt(const std::string& text, int low, int high, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < low || v > high) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseSize(const std::string& text, int& w, int& h) {
  const size_t x = text.find_first_of("xX");
  return x != std::string::npos && ParseInt(text.substr(0, x), 1, kMaxSide, w) &&
         ParseInt(text.substr(x + 1), 1, kMaxSide, h);
}

struct Options {
  std::string file, out;
  int kind = -1, mode = -1, width = 0, height = 0;
  Period period = Period::All;
};

// 0 when the arguments are complete, else the exit code.
int Parse(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--kind" && hasValue) {
      if (!ParseInt(args[++i], 0, 4, o.kind)) return Fail("--kind wants 0 to 4");
    } else if (a == "--mode" && hasValue) {
      if (!ParseInt(args[++i], 0, 3, o.mode)) return Fail("--mode wants 0 to 3");
    } else if (a == "--period" && hasValue) {
      const std::string& p = args[++i];
      if (p == "all")
        o.period = Period::All;
      else if (p == "awake")
        o.period = Period::Awake;
      else if (p == "asleep")
        o.period = Period::Asleep;
      else
        return Fail("--period wants all, awake or asleep, not \"" + p + "\"");
    } else if (a == "--size" && hasValue) {
      if (!ParseSize(args[++i], o.width, o.height))
        return Fail("--size wants WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxSide));
    } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
      o.file = a;
    } else if (!a.empty() && a[0] != '-' && o.out.empty()) {
      o.out = a;
    } else {
      return Usage();
    }
  }
  if (o.file.empty() || o.out.empty() || o.kind < 0 || o.width == 0) return Usage();
  return 0;
}

// The user's language as the program would load it; without one the captions stay empty.
void LoadLanguage(CLanguage& language) {
  const std::string chosen = CLanguage::GetLanguage();
  if (!language.LoadFile(ProgramPath("\\Language\\" + chosen + ".lng")))
    language.LoadFile(ProgramPath("\\Language\\English.lng"));
}

int CaseChart(const std::vector<std::string>& args) {
  Options o;
  if (const int code = Parse(args, o)) return code;

  // No display is needed, nor wanted, for a picture in a file.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "vesk-cli";
  static char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  CLanguage language;
  LoadLanguage(language);
  StderrSink sink;
  CConfigFile config(language, sink, g_EditionCode);
  if (config.Load() != 1) return 1;
  const Thresholds thresholds = config.settings.GetThresholds();

  CaseState state;
  state.awakeSysThresh = thresholds.awakeSys;
  state.awakeDiaThresh = thresholds.awakeDia;
  state.asleepSysThresh = thresholds.asleepSys;
  state.asleepDiaThresh = thresholds.asleepDia;
  LanguageErrorTexts texts(language);
  CaseDocument doc(state, texts);
  doc.SetCasePath(o.file);
  const int32_t loaded = doc.LoadCase();
  if (loaded != ToInt(CaseLoadResult::Ok))
    return Fail(o.file + ": the case could not be opened (code " + std::to_string(loaded) + ")");
  if (o.kind == kChartSpo2Trend && doc.Spo2Samples().empty())
    return Fail(o.file + ": the case has no SpO2 samples to draw");

  CaseAnalysis analysis;
  RunOpenAnalysis(doc, thresholds, RangeLimits{}, SpO2ParamsFrom(config.settings),
                  PulseRateParamsFrom(config.settings), analysis);
  const AnalysisView view{o.period, RangeLimits{}};
  Reanalyse(doc, thresholds, view, analysis);

  ChartSource source = SourceFromDocument(doc, analysis, state, &language);
  source.colours = config.colours;
  source.period = view.period;
  source.ranges = view.limits;
  ChartHost host;
  host.SetCase(source);
  std::vector<QString> errors;
  host.SetErrorSink([&](const QString& e) { errors.push_back(e); });
  if (o.mode >= 0) host.Trend().SetDisplayMode(o.mode);
  if (!host.SetKind(o.kind)) return Fail("--kind wants 0 to 4");

  QImage image(o.width, o.height, QImage::Format_RGB32);
  image.fill(kBackground);
  {
    QPainter painter(&image);
    host.Paint(painter, image.rect(), true);
  }
  for (const QString& e : errors) std::fprintf(stderr, "vesk-cli: %s\n", e.toUtf8().constData());
  if (!errors.empty()) return 1;
  if (!image.save(QString::fromStdString(o.out), "PNG"))
    return Fail(o.out + ": the picture could not be written");
  std::printf("%s: %dx%d, kind %d\n", o.out.c_str(), o.width, o.height, o.kind);
  return 0;
}

const Registrar registrar("case chart", CaseChart, kUsage);

}  // namespace
}  // namespace vesk::cli
