// Loading and saving MreConfig.ini with 20 users: the start-up and exit cost of the settings.
// Goal: Load plus Save under 5 ms together.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "language/Language.h"
#include "platform/MessageSink.h"
#include "platform/ProgramDir.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigKeys.h"
#include "settings/SystemSettings.h"
#include "support/TempDir.h"

namespace {

using namespace vesk;

// A home whose MreConfig.ini holds 20 users with every key set, as years of use leave it.
class Home {
 public:
  Home() {
    SetProgramDir(dir_.path());
    NullMessageSink sink;
    CLanguage language;
    CConfigFile config(language, sink);
    config.Load();
    WriteCnfStartLanguage("English");
    for (int u = 1; u <= 20; ++u) {
      config.SelectConfig("Operator " + std::to_string(u));
      int32_t v = u;
      for (const ConfigKey& k : UserConfigKeys()) {
        if (k.intField)
          config.settings.*k.intField = v++;
        else
          config.settings.*k.textField = "Patient " + std::to_string(v++);
      }
      config.Save();
    }
  }

 private:
  vesk::test::TempDir dir_;
};

Home& SharedHome() {
  static Home home;
  return home;
}

void BM_LoadAndSave20Users(benchmark::State& state) {
  SharedHome();
  NullMessageSink sink;
  CLanguage language;
  CConfigFile config(language, sink);
  for (auto _ : state) {
    config.Load();
    config.settings.lowCR = config.settings.lowCR % 50 + 1;
    benchmark::DoNotOptimize(config.Save());
  }
}
BENCHMARK(BM_LoadAndSave20Users)->Unit(benchmark::kMillisecond);

void BM_Load20Users(benchmark::State& state) {
  SharedHome();
  NullMessageSink sink;
  CLanguage language;
  CConfigFile config(language, sink);
  for (auto _ : state) benchmark::DoNotOptimize(config.Load());
}
BENCHMARK(BM_Load20Users)->Unit(benchmark::kMillisecond);

void BM_Save20Users(benchmark::State& state) {
  SharedHome();
  NullMessageSink sink;
  CLanguage language;
  CConfigFile config(language, sink);
  config.Load();
  for (auto _ : state) benchmark::DoNotOptimize(config.Save());
}
BENCHMARK(BM_Save20Users)->Unit(benchmark::kMillisecond);

}  // namespace
