#include "cases/SampleCases.h"

#include <algorithm>

#include "cases/AwpFormat.h"
#include "cases/Filemanage.h"
#include "platform/CodePage.h"
#include "platform/FileUtil.h"

namespace vesk {

uint64_t SampleRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int SampleRandom::Range(int lo, int hi) {
  if (hi <= lo) return lo;
  const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
  return lo + static_cast<int>(Next() % span);
}

int SampleRandom::Noise(int spread) {
  if (spread <= 0) return 0;
  int sum = 0;
  for (int i = 0; i < 4; ++i) sum += Range(-spread, spread);
  return sum / 2;
}

namespace {

// Wall-clock arithmetic on the fields alone: no time zone, no daylight-saving gaps.
DateParts AddSecondsTo(const DateParts& p, int64_t seconds) {
  int64_t total = DaysFromCivil(p.year, p.month, p.day) * 86400 + p.hour * 3600 + p.minute * 60 +
                  p.second + seconds;
  int64_t days = total / 86400;
  int64_t rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  DateParts out;
  CivilFromDays(days, out.year, out.month, out.day);
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest / 60 % 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

int MinuteOfDay(const DateParts& p) {
  return p.hour * 60 + p.minute;
}

bool IsAsleep(int minuteOfDay, int awakeStart, int asleepStart) {
  if (awakeStart < asleepStart) return minuteOfDay < awakeStart || minuteOfDay >= asleepStart;
  return minuteOfDay >= asleepStart && minuteOfDay < awakeStart;
}

struct Person {
  const char* name;
  const char* address;
  const char* tel;
  const char* nation;
  int sex;
};

const Person kEnglish[] = {
    {"Margaret Hill", "14 Orchard Lane, Bristol", "+44 117 496 0321", "British", 1},
    {"Thomas Walker", "221 Harbour Road, Leeds", "+44 113 496 0788", "British", 0},
    {"Ellen Brooks", "7 Maple Street, Springfield", "+1 217 555 0142", "American", 1},
    {"James Carter", "58 Elm Avenue, Dublin", "+353 1 555 0199", "Irish", 0},
};
const Person kChinese[] = {
    {"王秀英", "北京市海淀区学院路 12 号", "010-5550-1234", "汉族", 1},
    {"李建国", "上海市徐汇区漕溪北路 88 号", "021-5550-8876", "汉族", 0},
    {"张伟", "广州市天河区体育西路 3 号", "020-5550-4410", "汉族", 0},
    {"陈丽华", "成都市武侯区人民南路 45 号", "028-5550-7702", "回族", 1},
};

void FillPlanIdentity(_BP_TRANSPORT_INFO& plan, const _PATIENT_INFO& patient) {
  const std::string name = codepage::ToAnsiLimited(patient.name, 30);
  const std::string id = codepage::ToAnsiLimited(patient.caseId, 11);
  std::fill(std::begin(plan.patientName), std::end(plan.patientName), '\0');
  std::fill(std::begin(plan.patientId), std::end(plan.patientId), '\0');
  std::copy(name.begin(), name.end(), plan.patientName);
  std::copy(id.begin(), id.end(), plan.patientId);
}

_PATIENT_INFO MakePatient(SampleRandom& rng, const SampleOptions& o) {
  const bool chinese = o.language < 0 ? rng.Chance(50) : o.language == 1;
  const Person& p = chinese ? kChinese[rng.Range(0, 3)] : kEnglish[rng.Range(0, 3)];
  _PATIENT_INFO info;
  info.name = p.name;
  info.caseId = "A" + std::to_string(rng.Range(100000, 999999));
  info.address = p.address;
  info.tel = p.tel;
  info.nation = p.nation;
  info.sex = p.sex;
  const int birthYear = o.start.year - rng.Range(38, 82);
  const int birthMonth = rng.Range(1, 12);
  info.birthday = OleDateTime::FromParts(birthYear, birthMonth,
                                         rng.Range(1, DaysInMonth(birthYear, birthMonth)));
  info.height = p.sex == 1 ? rng.Range(152, 172) : rng.Range(165, 188);
  info.weight = p.sex == 1 ? rng.Range(52, 84) : rng.Range(64, 102);
  info.age = o.start.year - birthYear;
  if (chinese) {
    info.extra = {"氨氯地平 5 mg 每日一次", "原发性高血压待排", "刘医生", "周医生",
                  "诊室血压偏高，申请 24 小时动态血压监测。"};
    info.office = "心内科";
  } else {
    info.extra = {"Amlodipine 5 mg once daily", "Suspected essential hypertension", "Dr. A. Novak",
                  "Dr. L. Chen",
                  "Raised office readings; 24-hour profile requested before treatment change."};
    info.office = "Cardiology";
  }
  info.doorId = "OP" + std::to_string(rng.Range(10000, 99999));
  info.inHosId = rng.Chance(30) ? "IH" + std::to_string(rng.Range(1000, 9999)) : "";
  info.bedId = info.inHosId.empty() ? "" : std::to_string(rng.Range(1, 40));
  info.email = chinese ? "patient" + std::to_string(rng.Range(100, 999)) + "@example.cn"
                       : "patient" + std::to_string(rng.Range(100, 999)) + "@example.org";
  return info;
}

int ProtocolFor(int kind) {
  switch (kind) {
    case kTaloColor:
      return 1;
    case kTaloBlack:
      return 2;
    case kMiru:
      return 3;
    case kPexa:
      return 4;
    case kQora:
      return 10;
    case kPexaC:
      return 5;
    default:
      return 1;
  }
}

_FILE_ALL_INFO MakeHeader(int kind, int dataMode, SampleRandom& rng) {
  _FILE_ALL_INFO f;
  f.modelCode = kind;
  f.modelName = ModelName(kind);
  f.dataMode = dataMode;
  f.version[0] = {1, rng.Range(2, 6)};
  f.version[1] = {0, 0};
  f.version[2] = {0, 0};
  f.version[3] = {5, 2};
  f.locked = 0;
  f.deviceByte = 1;
  f.protocol = ProtocolFor(kind);
  return f;
}

// The body's own day: pressures fall during sleep and surge after waking.
struct Circulation {
  int sysDay, diaDay, prDay;
  int dipPercent;  // fall of the pressures asleep

  void At(const DateParts& t, bool asleep, int awakeStart, SampleRandom& rng, int& sys, int& dia,
          int& pr) const {
    sys = sysDay;
    dia = diaDay;
    pr = prDay;
    if (asleep) {
      sys -= sysDay * dipPercent / 100;
      dia -= diaDay * dipPercent / 100;
      pr -= 9;
    } else {
      const int sinceWake = (MinuteOfDay(t) - awakeStart + 1440) % 1440;
      if (sinceWake < 120) sys += 8, dia += 4, pr += 4;              // morning surge
      if (t.hour >= 13 && t.hour < 15) sys -= 4, dia -= 2;           // after lunch
      if (t.hour >= 17 && t.hour < 19) sys += 3, dia += 2, pr += 3;  // commute, activity
    }
    sys += rng.Noise(9);
    dia += rng.Noise(6);
    pr += rng.Noise(6);
    dia = std::clamp(dia, 45, 130);
    sys = std::clamp(sys, dia + 22, 240);
    pr = std::clamp(pr, 42, 150);
  }
};

_BP_RECORD Reading(const DateParts& t, int sys, int dia, int pr) {
  _BP_RECORD r;
  r.year = t.year;
  r.month = static_cast<int16_t>(t.month);
  r.day = static_cast<int16_t>(t.day);
  r.hour = static_cast<int16_t>(t.hour);
  r.minute = static_cast<int16_t>(t.minute);
  r.seconds = static_cast<int16_t>(t.second);
  r.sys = sys;
  r.dia = static_cast<int16_t>(dia);
  r.map = static_cast<int16_t>(dia + (sys - dia + 1) / 3);
  r.pr = static_cast<int16_t>(pr);
  r.included = 1;
  return r;
}

_BP_RECORD FailedReading(const DateParts& t, SampleRandom& rng) {
  static const int16_t kCodes[] = {1, 2, 6, 7, 9, 9, 11, 11, 13, 19};
  _BP_RECORD r = Reading(t, 0, 0, 0);
  r.map = 0;
  r.errorCode = kCodes[rng.Range(0, 9)];
  r.included = 0;
  return r;
}

// Scheduled measurements from the first reading for the given span, following the plan's
// awake and asleep intervals, with a retry a few minutes after each failure.
void Schedule(std::vector<_BP_RECORD>& out, const DateParts& start, int64_t spanSeconds,
              const _BP_TRANSPORT_INFO& plan, const Circulation& body, int failurePercent,
              SampleRandom& rng) {
  const int awakeStart = plan.awakeHour * 60 + plan.awakeMinute;
  const int asleepStart = plan.asleepHour * 60 + plan.asleepMinute;
  int64_t elapsed = 0;
  DateParts slot = start;
  slot.second = 0;
  while (elapsed < spanSeconds) {
    DateParts t = AddSecondsTo(slot, rng.Range(0, 40));
    const bool asleep = IsAsleep(MinuteOfDay(t), awakeStart, asleepStart);
    if (rng.Chance(failurePercent)) {
      out.push_back(FailedReading(t, rng));
      t = AddSecondsTo(t, rng.Range(150, 300));
    }
    int sys, dia, pr;
    body.At(t, asleep, awakeStart, rng, sys, dia, pr);
    out.push_back(Reading(t, sys, dia, pr));
    const int interval = asleep ? plan.asleepInterval : plan.awakeInterval;
    const int step = interval > 0 ? interval : 60;
    slot = AddSecondsTo(slot, step * 60);
    elapsed += step * 60;
  }
}

void Finish(_FILE_ALL_INFO& f) {
  for (size_t i = 0; i < f.readings.size(); ++i) f.readings[i].index = static_cast<int32_t>(i);
  f.bpHead = {};
  f.bpHead.v[0] = static_cast<int32_t>(f.readings.size());
  FillPlanIdentity(f.plan, f.patient);
}

void MarkSomeReadings(std::vector<_BP_RECORD>& readings, SampleRandom& rng, bool chinese) {
  if (readings.size() < 10) return;
  const size_t n = readings.size();
  readings[static_cast<size_t>(rng.Range(2, static_cast<int>(n / 3)))].mark = 1;
  _BP_RECORD& noted =
      readings[static_cast<size_t>(rng.Range(static_cast<int>(n / 3), static_cast<int>(n / 2)))];
  noted.mark = 2;
  noted.comment = chinese ? "爬楼梯后" : "after climbing stairs";
}

void MoveBack(std::vector<_BP_RECORD>& readings, int count) {
  for (int k = 1; k <= std::clamp(count, 0, 2); ++k) {
    if (readings.size() < 6) return;
    _BP_RECORD& r = readings[readings.size() * static_cast<size_t>(k) / 3];
    const DateParts t =
        AddSecondsTo({r.year, r.month, r.day, r.hour, r.minute, r.seconds}, -95 * 60);
    r.year = t.year;
    r.month = static_cast<int16_t>(t.month);
    r.day = static_cast<int16_t>(t.day);
    r.hour = static_cast<int16_t>(t.hour);
    r.minute = static_cast<int16_t>(t.minute);
  }
}

bool IsChinese(const _PATIENT_INFO& p) {
  return !p.name.empty() && static_cast<unsigned char>(p.name[0]) >= 0x80;
}

// The plan a download gives readings that carry none: the record's defaults dated like the
// first reading, with the flags the recorder model sets (the device tests hold the samples to
// the download's own default plan).
_BP_TRANSPORT_INFO GeneratedPlan(const _BP_RECORD& first, int flags) {
  _BP_TRANSPORT_INFO plan;
  plan.year = first.year;
  plan.month = first.month;
  plan.day = first.day;
  plan.hour = first.hour;
  plan.minute = first.minute;
  plan.second = 0;
  plan.manualSet = flags;
  plan.startKey = flags;
  return plan;
}

}  // namespace

_FILE_ALL_INFO MakeAmbulatorySample(const SampleOptions& o) {
  SampleRandom rng(o.seed);
  int kind = o.deviceKind;
  if (kind != kTaloColor && kind != kTaloBlack && kind != kPexa && kind != kPexaC)
    kind = kTaloBlack;
  _FILE_ALL_INFO f = MakeHeader(kind, 1, rng);
  f.patient = MakePatient(rng, o);

  const DateParts programmed = AddSecondsTo(o.start, -rng.Range(8, 25) * 60);
  f.plan.year = programmed.year;
  f.plan.month = programmed.month;
  f.plan.day = programmed.day;
  f.plan.hour = programmed.hour;
  f.plan.minute = programmed.minute;
  f.plan.second = programmed.second;
  f.plan.awakeHour = rng.Chance(50) ? 7 : 6;
  f.plan.awakeMinute = f.plan.awakeHour == 6 ? 30 : 0;
  f.plan.awakeInterval = 15 + 5 * rng.Range(0, 3);
  f.plan.asleepHour = 22;
  f.plan.asleepMinute = rng.Chance(50) ? 0 : 30;
  f.plan.asleepInterval = rng.Chance(50) ? 30 : 60;
  f.plan.maxPressure = rng.Chance(70) ? 280 : 297;
  if (kind == kPexa || kind == kPexaC) {
    f.plan.specialStartHour = 12;
    f.plan.specialStartMinute = 0;
    f.plan.specialEndHour = 14;
    f.plan.specialEndMinute = 0;
    f.plan.specialInterval = 10;
  }
  f.plan.awakeWarn[0] = 1;
  f.plan.asleepWarn[0] = 1;

  const Circulation body{rng.Range(124, 152), rng.Range(76, 94), rng.Range(66, 82),
                         rng.Chance(20) ? rng.Range(0, 6) : rng.Range(9, 18)};
  Schedule(f.readings, o.start, 24 * 3600, f.plan, body, std::clamp(o.failurePercent, 0, 100), rng);
  MarkSomeReadings(f.readings, rng, IsChinese(f.patient));
  MoveBack(f.readings, o.outOfOrder);
  Finish(f);
  return f;
}

_FILE_ALL_INFO MakeSingleUserSample(const SampleOptions& o) {
  SampleRandom rng(o.seed ^ 0x51u);
  _FILE_ALL_INFO f = MakeHeader(kTaloColor, 1, rng);
  f.patient.name = "SingleUser";
  f.patient.caseId = "000";
  const Circulation body{rng.Range(128, 146), rng.Range(80, 92), rng.Range(64, 78), 0};
  for (int day = 0; day < 14; ++day) {
    if (day > 0 && rng.Chance(12)) continue;  // forgotten
    const DateParts date = AddSecondsTo(o.start, int64_t(day) * 86400);
    for (int evening = 0; evening < 2; ++evening) {
      DateParts t = date;
      t.hour = evening ? 21 : 7;
      t.minute = rng.Range(0, 40);
      t.second = rng.Range(0, 59);
      for (int pair = 0; pair < 2; ++pair) {
        int sys, dia, pr;
        body.At(t, false, 7 * 60, rng, sys, dia, pr);
        if (rng.Chance(std::clamp(o.failurePercent, 0, 100) / 2))
          f.readings.push_back(FailedReading(t, rng));
        else
          f.readings.push_back(Reading(t, sys, dia, pr));
        t = AddSecondsTo(t, rng.Range(70, 150));
      }
    }
  }
  MoveBack(f.readings, o.outOfOrder);
  f.plan = GeneratedPlan(f.readings.front(), 0);
  Finish(f);
  return f;
}

_FILE_ALL_INFO MakeMiruSample(const SampleOptions& o) {
  SampleRandom rng(o.seed ^ 0x3131u);
  _FILE_ALL_INFO f = MakeHeader(kMiru, 2, rng);
  f.patient = MakePatient(rng, o);
  f.plan.year = o.start.year;
  f.plan.month = o.start.month;
  f.plan.day = o.start.day;
  f.plan.hour = o.start.hour;
  f.plan.minute = o.start.minute;
  f.plan.awakeInterval = 15;
  f.plan.asleepInterval = 20;
  f.plan.specialStartHour = 255;  // the recorder marks an unused special period with 255
  f.plan.specialStartMinute = 255;
  f.plan.specialEndHour = 255;
  f.plan.specialEndMinute = 255;
  f.plan.specialInterval = 255;

  constexpr int kSeconds = 48 * 3600;
  const int awakeStart = f.plan.awakeHour * 60 + f.plan.awakeMinute;
  const int asleepStart = f.plan.asleepHour * 60 + f.plan.asleepMinute;
  f.samples.resize(kSeconds);
  int baseSpo2 = 97, basePr = rng.Range(62, 76);
  int episodeLeft = 0, episodeDepth = 0, episodeLength = 0, probeOff = 0;
  int wander = 0, spo2Drift = 0;
  for (int i = 0; i < kSeconds; ++i) {
    _SPO2_SAMPLE& s = f.samples[static_cast<size_t>(i)];
    s.offset = i;
    if (i % 60 == 0) {
      const DateParts t = AddSecondsTo(o.start, i);
      const bool asleep = IsAsleep(MinuteOfDay(t), awakeStart, asleepStart);
      baseSpo2 = asleep ? 95 : 97;
      wander = std::clamp(wander + rng.Range(-1, 1), -6, 6);
      basePr = (asleep ? 60 : 72) + wander;
      // Desaturations come in clusters during sleep; now and then the probe slips off.
      if (episodeLeft == 0 && asleep && rng.Chance(22)) {
        episodeLength = rng.Range(15, 60);
        episodeLeft = episodeLength;
        episodeDepth = rng.Range(4, 12);
      }
      if (probeOff == 0 && rng.Chance(asleep ? 0 : 1) && rng.Chance(30))
        probeOff = rng.Range(20, 90);
    }
    if (probeOff > 0) {
      --probeOff;
      s.spo2 = 0;
      s.pr = 0;
      continue;
    }
    // Oximeter readings drift slowly; per-second jumps of two points would read as constant
    // desaturations and bury the real episodes.
    if (rng.Chance(3)) spo2Drift = rng.Range(-1, 0);
    int spo2 = baseSpo2 + spo2Drift;
    int pr = basePr + rng.Range(-2, 2);
    if (episodeLeft > 0) {
      // A gentle fall, a floor and a quick recovery with a rise of the pulse.
      const int done = episodeLength - episodeLeft;
      const int fall = std::min(done * 2, episodeDepth);
      const int recover = episodeLeft < 6 ? episodeDepth * (6 - episodeLeft) / 6 : 0;
      spo2 -= std::max(0, fall - recover);
      pr += episodeLeft < 10 ? 8 : 0;
      --episodeLeft;
    }
    s.spo2 = static_cast<uint8_t>(std::clamp(spo2, 70, 100));
    s.pr = static_cast<uint8_t>(std::clamp(pr, 40, 160));
  }
  f.spo2Head.v[0] = kSeconds;
  f.spo2Head.v[1] = o.start.year;
  f.spo2Head.v[2] = o.start.month;
  f.spo2Head.v[3] = o.start.day;
  f.spo2Head.v[4] = o.start.hour;
  f.spo2Head.v[5] = o.start.minute;
  f.spo2Head.v[6] = o.start.second;

  const Circulation body{rng.Range(122, 148), rng.Range(74, 90), basePr + 8, rng.Range(6, 16)};
  DateParts first = AddSecondsTo(o.start, 5 * 60);
  Schedule(f.readings, first, kSeconds - 10 * 60, f.plan, body,
           std::clamp(o.failurePercent, 0, 100), rng);
  const int64_t startStamp =
      MinuteStamp(o.start.year, o.start.month, o.start.day, o.start.hour, o.start.minute);
  for (_BP_RECORD& r : f.readings) {
    if (r.sys == 0) continue;
    const int64_t at = (MinuteStamp(r.year, r.month, r.day, r.hour, r.minute) - startStamp) * 60;
    if (at >= 0 && at < kSeconds) {
      const uint8_t v = f.samples[static_cast<size_t>(at)].spo2;
      r.spo2 = v > 0 && v < 100 ? v : 0;
    }
  }
  MarkSomeReadings(f.readings, rng, IsChinese(f.patient));
  MoveBack(f.readings, o.outOfOrder);
  Finish(f);
  return f;
}

std::array<_FILE_ALL_INFO, 3> MakeQoraSamples(const SampleOptions& o) {
  std::array<_FILE_ALL_INFO, 3> out;
  static const int kDays[3] = {21, 10, 4};
  for (int user = 1; user <= 3; ++user) {
    SampleRandom rng(o.seed * 31 + static_cast<uint64_t>(user));
    _FILE_ALL_INFO& f = out[static_cast<size_t>(user - 1)];
    f = MakeHeader(kQora, 3 + user, rng);
    f.patient.name = "User" + std::to_string(user);
    f.patient.caseId = "00" + std::to_string(user);
    const Circulation body{rng.Range(112, 150), rng.Range(70, 94), rng.Range(60, 80), 0};
    for (int day = 0; day < kDays[user - 1]; ++day) {
      const DateParts date = AddSecondsTo(o.start, int64_t(day) * 86400);
      for (int evening = 0; evening < 2; ++evening) {
        if (rng.Chance(25)) continue;
        DateParts t = date;
        t.hour = evening ? rng.Range(19, 22) : rng.Range(6, 8);
        t.minute = rng.Range(0, 59);
        t.second = rng.Range(0, 59);
        int sys, dia, pr;
        body.At(t, false, 6 * 60, rng, sys, dia, pr);
        if (rng.Chance(3)) {
          _BP_RECORD r = FailedReading(t, rng);
          r.errorCode = 6;
          f.readings.push_back(r);
        } else {
          f.readings.push_back(Reading(t, sys, dia, pr));
        }
      }
    }
    if (f.readings.empty()) {
      int sys, dia, pr;
      body.At(o.start, false, 6 * 60, rng, sys, dia, pr);
      f.readings.push_back(Reading(o.start, sys, dia, pr));
    }
    f.plan = GeneratedPlan(f.readings.front(), 1);
    Finish(f);
  }
  return out;
}

CaseFileResult WriteSampleCase(const std::string& path, const _FILE_ALL_INFO& info, int version) {
  if (version == 1) {
    // The library writes new files only in version 2; older files come from its format code.
    return fsutil::WriteFileAtomic(path, awp::Serialize(info, 1)) ? CaseFileResult::Ok
                                                                  : CaseFileResult::WriteFailed;
  }
  CFilemanage_2Ver file;
  int32_t current = 0, total = 0;
  file.SetProgressInfo(&current, &total);
  file.SetCaseFilePath(path);
  file.SetFileInfo(info);
  return CaseFileResultOf(file.SaveAllInfotoCaseFile());
}

std::vector<std::string> SampleKindNames() {
  return {"ambulatory", "singleuser", "miru", "qora1", "qora2", "qora3"};
}

bool MakeSampleByName(const std::string& kind, const SampleOptions& o, _FILE_ALL_INFO& out) {
  if (kind == "ambulatory") {
    out = MakeAmbulatorySample(o);
  } else if (kind == "singleuser") {
    out = MakeSingleUserSample(o);
  } else if (kind == "miru") {
    out = MakeMiruSample(o);
  } else if (kind.size() == 5 && kind.compare(0, 4, "qora") == 0 && kind[4] >= '1' &&
             kind[4] <= '3') {
    out = MakeQoraSamples(o)[static_cast<size_t>(kind[4] - '1')];
  } else {
    return false;
  }
  return true;
}

}  // namespace vesk
