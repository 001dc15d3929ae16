// vesk-cli case lock: who has a case of a shared case folder open, and clearing a lock that a
// crashed program left behind.
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Cli.h"
#include "cases/CaseLock.h"

namespace vesk::cli {
namespace {

using nlohmann::ordered_json;

constexpr const char* kUsage =
    "  case lock FILE [--json] [--clear-stale] [--max-age HOURS]\n"
    "         who has the case open for editing; --clear-stale removes a lock left by a\n"
    "         crashed program (exit 3 when a live program holds it)";

int Usage() {
  std::fprintf(stderr, "usage:\n%s\n", kUsage);
  return 2;
}

const char* StateName(LockState s) {
  switch (s) {
    case LockState::Taken:
      return "free";
    case LockState::HeldByOther:
      return "held";
    case LockState::Stale:
      return "stale";
    case LockState::Error:
      break;
  }
  return "error";
}

ordered_json Json(const std::string& file, const CaseLockResult& r) {
  ordered_json out;
  out["file"] = file;
  out["lock"] = CaseLock::LockPathFor(file);
  out["state"] = StateName(r.state);
  if (r.state == LockState::HeldByOther || r.state == LockState::Stale) {
    out["host"] = r.owner.host;
    out["user"] = r.owner.user;
    out["pid"] = r.owner.pid;
    out["since"] = r.owner.since;
  }
  if (r.state == LockState::Stale) out["reason"] = r.staleReason;
  return out;
}

void PrintText(const std::string& file, const CaseLockResult& r) {
  if (r.state == LockState::Taken) {
    std::printf("%s: not open for editing\n", file.c_str());
    return;
  }
  const std::string who = r.owner.host.empty() ? std::string("an unknown program")
                                               : r.owner.user + " on " + r.owner.host +
                                                     ", process " + std::to_string(r.owner.pid);
  if (r.state == LockState::HeldByOther)
    std::printf("%s: open for editing by %s\n", file.c_str(), who.c_str());
  else
    std::printf("%s: stale lock of %s (%s)\n", file.c_str(), who.c_str(), r.staleReason.c_str());
}

int LockCommand(const std::vector<std::string>& args) {
  std::string file;
  bool json = false, clear = false;
  LockPolicy policy;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--clear-stale") {
      clear = true;
    } else if (args[i] == "--max-age" && i + 1 < args.size()) {
      char* end = nullptr;
      const long hours = std::strtol(args[++i].c_str(), &end, 10);
      if (!end || *end || hours < 1 || hours > 24 * 365) return Usage();
      policy.maxAgeHours = static_cast<int>(hours);
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      return Usage();
    }
  }
  if (file.empty()) return Usage();

  LockSighting seen;
  CaseLockResult r = CaseLock::Inspect(file, policy, &seen);
  if (r.state == LockState::Error) return Fail(r.error);
  if (json)
    std::printf("%s\n", Json(file, r).dump(2).c_str());
  else
    PrintText(file, r);
  if (!clear || r.state == LockState::Taken) return 0;
  if (r.state == LockState::HeldByOther) {
    std::fprintf(stderr, "vesk-cli: the lock is live; it was left alone\n");
    return 3;
  }
  CaseLock lock;
  const CaseLockResult taken = lock.TakeOver(file, seen, policy);
  if (taken.state == LockState::Error) return Fail(taken.error);
  if (taken.state != LockState::Taken) {
    std::fprintf(stderr, "vesk-cli: another program took the lock meanwhile; it was left alone\n");
    return 3;
  }
  lock.Release();
  if (!json) std::printf("%s: stale lock removed\n", file.c_str());
  return 0;
}

const Registrar registrar("case lock", LockCommand, kUsage);

}  // namespace
}  // namespace vesk::cli
