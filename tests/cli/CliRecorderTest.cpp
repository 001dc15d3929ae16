// vesk-cli recorder, run as a nurse's script would run it, against a simulated recorder on a
// pseudo-terminal served from this test process.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>

#include "CliRun.h"
#include "cases/Filemanage.h"
#include "device/LinkMessages.h"
#include "device/sim/PtyPort.h"
#include "device/sim/RecorderSimulator.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

std::vector<std::string> CaseFiles(const std::string& folder) {
  std::vector<std::string> out;
  if (!std::filesystem::exists(folder)) return out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    if (e.is_regular_file()) out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

class CliRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home = temp / "home";
    const CliRun r = Cli(home, std::string("demo init --data '") + VESK_SOURCE_DIR + "/data'");
    ASSERT_EQ(r.exitCode, 0) << r.out;
  }
  // Starts a recorder of the kind; the CLI reaches it by --port.
  void Serve(sim::SimRecorder rec) {
    sim = std::make_unique<sim::RecorderSimulator>(std::move(rec));
    runner = std::make_unique<sim::SimulatorRunner>(*sim);
    ASSERT_TRUE(runner->Start());
    port = " --port '" + runner->Path() + "' ";
  }
  nlohmann::json Json(const CliRun& r) { return nlohmann::json::parse(r.out); }

  TempDir temp;
  std::string home;
  std::unique_ptr<sim::RecorderSimulator> sim;
  std::unique_ptr<sim::SimulatorRunner> runner;
  std::string port;
};

TEST_F(CliRecorderTest, DetectReportsTheRecorderOrExitThreeWhenNothingAnswers) {
  Serve(sim::MakeSampleRecorder(kMiru));
  const CliRun r = Cli(home, "recorder detect --json" + port);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto j = Json(r);
  EXPECT_EQ(j["model"], "MIRU");
  EXPECT_EQ(j["protocol"], 7);
  EXPECT_EQ(j["dataModes"], (nlohmann::json{1, 2, 3}));
  EXPECT_EQ(Cli(home, "recorder detect --no-hid --no-system-ports --timeout 2").exitCode, 3);
  EXPECT_EQ(Cli(home, "recorder detect --baud fast" + port).exitCode, 2);
  EXPECT_EQ(Cli(home, "recorder").exitCode, 2);
}

TEST_F(CliRecorderTest, DownloadThroughTheExtraPortSettingStoresIntoTheUsersTree) {
  Serve(sim::MakeSampleRecorder(kQora));
  // The port comes from the configuration, as in the program.
  ASSERT_EQ(Cli(home, "recorder ports --set ' " + runner->Path() + " ; /dev/nonexistent'").exitCode,
            0);
  const auto ports = Json(Cli(home, "recorder ports --json"));
  EXPECT_EQ(ports["extra"], (nlohmann::json{runner->Path(), "/dev/nonexistent"}));

  const CliRun r = Cli(home, "recorder download --no-hid --no-system-ports --json");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto j = Json(r);
  EXPECT_EQ(j["mode"], 7);
  ASSERT_EQ(j["files"].size(), 2u);
  const std::vector<std::string> files = CaseFiles(home + "/data");
  EXPECT_EQ(files, (std::vector<std::string>{j["files"][0], j["files"][1]}));
  const std::string first = j["files"][0];
  EXPECT_NE(first.find("/data/family/BPM/"), std::string::npos);
  EXPECT_EQ(first.substr(first.size() - 6), "01.awp");
  _PATIENT_INFO p;
  ASSERT_EQ(LoadPatientInfoOfFile(j["files"][1], p), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(p.name, "User2");

  // Users without readings, and modes the recorder does not offer.
  EXPECT_EQ(Cli(home, "recorder download --mode 6" + port).exitCode, 4);
  EXPECT_EQ(Cli(home, "recorder download --mode 2" + port).exitCode, 2);
  EXPECT_EQ(CaseFiles(home + "/data").size(), 2u);
}

TEST_F(CliRecorderTest, DownloadRunsThePatientProgramAndAppliesItsFile) {
  // A stand-in patient-information program: writes the case-information file it is given.
  const std::string script = temp / "patient-info.sh";
  WriteBytes(
      script,
      "#!/bin/sh\nprintf '<I><P><Name>Kari Nordmann</Name><Tel>123</Tel></P></I>' > \"$1\"\n");
  ::chmod(script.c_str(), 0755);
  WriteBytes(home + "/MreConfig.ini", "[SYSTEM]\r\nISUSEOTHEREXE=1\r\nOTHEREXE=" + script + "\r\n");
  Serve(sim::MakeSampleRecorder(kPexaC));
  const CliRun r = Cli(home, "recorder download --json" + port);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto j = Json(r);
  EXPECT_EQ(j["caseInfoApplied"], true);
  _PATIENT_INFO p;
  ASSERT_EQ(LoadPatientInfoOfFile(j["current"], p), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(p.name, "Kari Nordmann");
  EXPECT_EQ(p.tel, "123");
  EXPECT_EQ(p.caseId, std::string(sim->Snapshot().plan.patientId));
}

TEST_F(CliRecorderTest, FailedDownloadLeavesNoFileAndNamesTheLinkAsTheCause) {
  sim::SimRecorder rec = sim::MakeSampleRecorder(kTaloColor);
  Serve(rec);
  sim::SimFaults f;
  f.cutAfterBytes = static_cast<int64_t>(sim->BytesSent()) + 600;
  sim->SetFaults(f);
  const CliRun r = Cli(home, "recorder download --json" + port);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(CaseFiles(home + "/data").empty());
  const auto j = Json(r);
  EXPECT_EQ(j["step"], "transfer");
  const std::string cause = j["cause"];
  EXPECT_TRUE(cause == "the port could not be opened or the link was lost" ||
              cause == "the recorder did not answer" ||
              cause == "the recorder's replies made no sense")
      << cause;
  EXPECT_EQ(j["files"].size(), 0u);
}

TEST_F(CliRecorderTest, CaseFileThatCannotBeWrittenIsNamedAsTheCauseNotTheLink) {
  Serve(sim::MakeSampleRecorder(kTaloColor));
  // A plain file where the single-user folder belongs: the ambulatory file is stored, the
  // single-user one cannot be.
  WriteBytes(home + "/data/family/SingleUser", "in the way");
  const CliRun r = Cli(home, "recorder download --json" + port);
  EXPECT_EQ(r.exitCode, 1);
  const auto j = Json(r);
  EXPECT_EQ(j["step"], "store");
  EXPECT_EQ(j["result"], ToInt(CaseFileResult::WriteFailed));
  EXPECT_EQ(j["cause"], "the case file could not be written");
  ASSERT_EQ(j["files"].size(), 1u);
  EXPECT_NE(j["files"][0].get<std::string>().find("/data/family/VESK/"), std::string::npos);

  // Without --json the message names the same cause, not a transfer fault.
  const CliRun plain = CliWithErrors(home, "recorder download" + port, temp / "errors.txt");
  EXPECT_EQ(plain.exitCode, 1);
  EXPECT_NE(plain.err.find("vesk-cli: download: the case file could not be written (10)"),
            std::string::npos)
      << plain.err;
}

TEST_F(CliRecorderTest, UploadSendsThePlanBuiltFromTheOptions) {
  Serve(sim::MakeSampleRecorder(kMiru));
  const CliRun r = Cli(home,
                       "recorder upload --json --name '  Anna Berg ' --id 77 --clock '2024-05-06 "
                       "09:41:17' --awake 06:30 --awake-interval 20 --asleep 23:00 "
                       "--asleep-interval none --special 01:00-02:30 --special-interval 10 "
                       "--start-key off" +
                           port);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  auto snap = sim->Snapshot();
  EXPECT_EQ(snap.uploadedMode, kModeRecording);
  _BP_TRANSPORT_INFO want;
  std::strcpy(want.patientName, "Anna Berg");
  std::strcpy(want.patientId, "77");
  want.year = 2024, want.month = 5, want.day = 6, want.hour = 9, want.minute = 41;
  want.second = 17;
  want.awakeHour = 6, want.awakeMinute = 30, want.awakeInterval = 20;
  want.asleepHour = 23, want.asleepMinute = 0, want.asleepInterval = -2;
  want.specialStartHour = 1, want.specialStartMinute = 0;
  want.specialEndHour = 2, want.specialEndMinute = 30, want.specialInterval = 10;
  want.startKey = 0, want.manualSet = 0;
  EXPECT_EQ(link::DecodePlan(snap.uploadedBytes.data()), want);

  ASSERT_EQ(Cli(home, "recorder upload --monitor --name Eva" + port).exitCode, 0);
  EXPECT_EQ(sim->Snapshot().uploadedMode, kModeMonitor);

  // Refused before anything is sent: unlisted interval, off-grid time, missing name.
  EXPECT_EQ(Cli(home, "recorder upload --name X --awake-interval 17" + port).exitCode, 2);
  EXPECT_EQ(Cli(home, "recorder upload --name X --awake 06:15" + port).exitCode, 2);
  EXPECT_EQ(Cli(home, "recorder upload --id 5" + port).exitCode, 2);
  EXPECT_EQ(sim->Snapshot().uploads, 2);
}

TEST_F(CliRecorderTest, PexaLimitsAreCheckedAgainstTheMeasurementMode) {
  Serve(sim::MakeSampleRecorder(kPexa));
  ASSERT_EQ(Cli(home,
                "recorder upload --name P --measure-mode child --awake-warn on "
                "--asleep-warn on:150,60,90,30,100,40" +
                    port)
                .exitCode,
            0);
  const _BP_TRANSPORT_INFO got = link::DecodePlan(sim->Snapshot().uploadedBytes.data());
  EXPECT_EQ(got.measureMode, 1);
  EXPECT_EQ(got.maxPressure, 243);
  EXPECT_EQ((std::vector<int>(got.awakeWarn, got.awakeWarn + 7)),
            (std::vector<int>{1, 120, 70, 70, 40, 90, 50}));
  EXPECT_EQ((std::vector<int>(got.asleepWarn, got.asleepWarn + 7)),
            (std::vector<int>{1, 150, 60, 90, 30, 100, 40}));
  // A neonate's systolic limit stops at 135.
  EXPECT_EQ(Cli(home,
                "recorder upload --name P --measure-mode neonate "
                "--awake-warn on:150,60,90,30,100,40" +
                    port)
                .exitCode,
            2);
  EXPECT_EQ(sim->Snapshot().uploads, 1);

  Serve(sim::MakeSampleRecorder(kQora));
  EXPECT_EQ(Cli(home, "recorder upload --name P" + port).exitCode, 5);
}

// Lines of a trace file that look like "<time> <dir> <hex bytes>"; the count of each direction.
std::pair<int, int> TraceDirections(const std::string& path, int& malformed) {
  static const std::regex shape(
      R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}\.\d{3} ([<>])( [0-9A-F]{2})+$)");
  std::ifstream in(path);
  int sent = 0, received = 0;
  malformed = 0;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, shape))
      ++malformed;
    else
      (m[1] == ">" ? sent : received)++;
  }
  return {sent, received};
}

TEST_F(CliRecorderTest, TraceOptionOrSettingRecordsEveryFrameAndABadTraceStopsTheCommand) {
  Serve(sim::MakeSampleRecorder(kPexa));
  const std::string trace = temp / "link.trace";
  const CliRun r =
      Cli(home, "recorder download --no-patient-program --trace '" + trace + "'" + port);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  int malformed = 0;
  const auto [sent, received] = TraceDirections(trace, malformed);
  EXPECT_EQ(malformed, 0);
  EXPECT_GT(sent, 3);  // greeting, block info, reads, farewell
  EXPECT_EQ(sent, received);

  // A trace that cannot be opened is refused before the recorder is greeted.
  const uint64_t before = sim->BytesSent();
  EXPECT_EQ(
      Cli(home, "recorder detect --trace '" + temp / "no/such/dir/t.log" + "'" + port).exitCode, 1);
  EXPECT_EQ(Cli(home, "recorder detect --trace" + port).exitCode, 2);
  EXPECT_EQ(sim->BytesSent(), before);

  // The configuration's LINKTRACEFILE traces without the option.
  const std::string ini = home + "/MreConfig.ini";
  std::string text = ReadBytes(ini);
  const std::string configured = temp / "configured.trace";
  const size_t at = text.find("[SYSTEM]");
  const std::string key = "LINKTRACEFILE=" + configured + "\r\n";
  if (at == std::string::npos)
    text += "\r\n[SYSTEM]\r\n" + key;
  else
    text.insert(text.find('\n', at) + 1, key);
  WriteBytes(ini, text);
  ASSERT_EQ(Cli(home, "recorder detect" + port).exitCode, 0);
  const auto [s2, r2] = TraceDirections(configured, malformed);
  EXPECT_EQ(malformed, 0);
  EXPECT_GT(s2, 0);
  EXPECT_GT(r2, 0);
}

}  // namespace
}  // namespace vesk::test
