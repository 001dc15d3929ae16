// vesk-recorder-sim: emulates a recorder of any device kind on a pseudo-terminal. It prints
// the pty path; put that path into the extra serial ports of the configuration (or pass it to
// vesk-cli) and the program finds the recorder like a real one.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "cases/CaseRecord.h"
#include "cases/Filemanage.h"
#include "device/LinkMessages.h"
#include "device/ModelTable.h"
#include "device/sim/PtyPort.h"
#include "device/sim/RecorderSimulator.h"

namespace {

std::atomic<bool> g_stop{false};
void OnSignal(int) {
  g_stop = true;
}

int Usage(FILE* out) {
  std::fprintf(out,
               "usage: vesk-recorder-sim [options]\n"
               "  --kind N            device kind 1-6 (TALOColor, TALOBlack, MIRU, PEXA, QORA, "
               "PEXAC); default 3\n"
               "  --protocol N        protocol number it reports (default: its serial one)\n"
               "  --case FILE         serve the readings of this case file instead of built-in "
               "data\n"
               "  --seed N            seed of the built-in data (default 1)\n"
               "  --spo2 N            SpO2 samples of a MIRU (default 600, -1 all 48 hours)\n"
               "  --baud N            emulated line speed, bytes at N/10 per second "
               "(default 115200, 0 unthrottled)\n"
               "  --link PATH         also make PATH a symbolic link to the pty\n"
               "  --plan-out FILE     write every plan received (184 bytes) to FILE\n"
               "faults:\n"
               "  --cut-after N       stop sending after N bytes; --hangup closes the line too\n"
               "  --corrupt-frame K   damage the K-th reply frame\n"
               "  --drop-request K    leave the K-th request unanswered\n"
               "  --stall-request K --stall SECONDS   pause before answering request K\n"
               "  --error region|remote|not-supported|busy [--error-command "
               "hello|info|read|plan|erase]\n");
  return out == stderr ? 2 : 0;
}

bool ParseInt(const char* s, long long& out) {
  char* end = nullptr;
  out = std::strtoll(s, &end, 10);
  return end && *end == 0 && end != s;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vesk;
  long long kind = kMiru, protocol = 0, seed = 1, spo2 = 600, baud = 115200;
  std::string casePath, linkPath, planOut;
  sim::SimFaults faults;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    auto number = [&](long long& v) {
      const char* s = next();
      if (!s || !ParseInt(s, v)) {
        std::fprintf(stderr, "vesk-recorder-sim: %s needs a number\n", a.c_str());
        std::exit(2);
      }
    };
    long long v = 0;
    if (a == "--help" || a == "-h") return Usage(stdout);
    if (a == "--kind")
      number(kind);
    else if (a == "--protocol")
      number(protocol);
    else if (a == "--seed")
      number(seed);
    else if (a == "--spo2")
      number(spo2);
    else if (a == "--baud")
      number(baud);
    else if (a == "--case" && i + 1 < argc)
      casePath = next();
    else if (a == "--link" && i + 1 < argc)
      linkPath = next();
    else if (a == "--plan-out" && i + 1 < argc)
      planOut = next();
    else if (a == "--cut-after")
      number(v), faults.cutAfterBytes = v;
    else if (a == "--hangup")
      faults.hangUpOnCut = true;
    else if (a == "--corrupt-frame")
      number(v), faults.corruptFrame = static_cast<int>(v);
    else if (a == "--drop-request")
      number(v), faults.dropRequest = static_cast<int>(v);
    else if (a == "--stall-request")
      number(v), faults.stallRequest = static_cast<int>(v);
    else if (a == "--stall" && i + 1 < argc)
      faults.stallSeconds = std::atof(next());
    else if (a == "--error" && i + 1 < argc) {
      const std::string e = next();
      faults.errorStatus = e == "region"          ? link::kStatusRegion
                           : e == "remote"        ? link::kStatusRemote
                           : e == "not-supported" ? link::kStatusNotSupported
                           : e == "busy"          ? link::kStatusBusy
                                                  : 0;
      if (!faults.errorStatus) return Usage(stderr);
    } else if (a == "--error-command" && i + 1 < argc) {
      const std::string c = next();
      faults.errorCommand = c == "hello"   ? link::kCmdHello
                            : c == "info"  ? link::kCmdBlockInfo
                            : c == "read"  ? link::kCmdRead
                            : c == "plan"  ? link::kCmdWritePlan
                            : c == "erase" ? link::kCmdErase
                                           : 0;
      if (!faults.errorCommand) return Usage(stderr);
    } else {
      std::fprintf(stderr, "vesk-recorder-sim: unknown option '%s'\n", a.c_str());
      return Usage(stderr);
    }
  }
  if (kind < 1 || kind > 6) {
    std::fprintf(stderr, "vesk-recorder-sim: device kind must be 1 to 6\n");
    return 2;
  }
  if (protocol && !FindModel(static_cast<int32_t>(kind), static_cast<int32_t>(protocol))) {
    std::fprintf(stderr, "vesk-recorder-sim: a %s does not speak protocol %lld\n",
                 ModelName(static_cast<int32_t>(kind)), protocol);
    return 2;
  }

  sim::SimRecorder rec;
  if (!casePath.empty()) {
    auto file = CFilemanage::CreateFor(casePath);
    const CaseFileResult r =
        file ? CaseFileResultOf(file->LoadAllInfo()) : CaseFileResult::CannotOpen;
    if (r != CaseFileResult::Ok) {
      std::fprintf(stderr, "vesk-recorder-sim: %s: %s\n", casePath.c_str(), CaseFileResultText(r));
      return 1;
    }
    rec = sim::MakeRecorderFromCase(file->FileInfo(), static_cast<int32_t>(kind),
                                    static_cast<int32_t>(protocol));
  } else {
    rec = sim::MakeSampleRecorder(static_cast<int32_t>(kind), static_cast<int32_t>(protocol),
                                  static_cast<uint64_t>(seed), static_cast<int>(spo2));
  }

  sim::RecorderSimulator simulator(rec);
  simulator.SetBaud(static_cast<int>(baud));
  simulator.SetFaults(faults);
  sim::PtyPort pty;
  if (!pty.Open()) {
    std::fprintf(stderr, "vesk-recorder-sim: cannot create a pseudo-terminal\n");
    return 1;
  }
  if (!linkPath.empty()) {
    ::unlink(linkPath.c_str());
    if (::symlink(pty.SlavePath().c_str(), linkPath.c_str()) != 0)
      std::fprintf(stderr, "vesk-recorder-sim: cannot link %s\n", linkPath.c_str());
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::printf("%s\n", pty.SlavePath().c_str());
  std::fprintf(stderr, "%s (kind %d, protocol %d) at %lld baud on %s\n", ModelName(rec.deviceKind),
               rec.deviceKind, rec.protocol, baud, pty.SlavePath().c_str());
  std::fflush(stdout);

  std::thread watcher;
  int planCount = 0;
  if (!planOut.empty()) {
    watcher = std::thread([&] {
      while (!g_stop) {
        const auto snap = simulator.Snapshot();
        if (snap.uploads != planCount) {
          planCount = snap.uploads;
          std::ofstream(planOut, std::ios::binary)
              .write(reinterpret_cast<const char*>(snap.uploadedBytes.data()), 184);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    });
  }
  simulator.Serve(pty.MasterFd(), g_stop);
  g_stop = true;
  if (watcher.joinable()) watcher.join();
  const auto snap = simulator.Snapshot();
  std::fprintf(stderr, "served %d requests, sent %llu bytes, %d plan(s) received\n",
               simulator.RequestsSeen(), static_cast<unsigned long long>(simulator.BytesSent()),
               snap.uploads);
  if (!linkPath.empty()) ::unlink(linkPath.c_str());
  return 0;
}
