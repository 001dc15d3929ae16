#pragma once
// Records for the case-file tests: random ones that reach every field with awkward values, and
// small readable ones for the loading rules.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "cases/CaseRecord.h"

namespace vesk::test {

// Texts that profile files, escaping and code pages like to get wrong.
inline std::string AwkwardText(std::mt19937& rng) {
  static const char* const kPieces[] = {
      "张三",     "王小明",     "Müller",   " ",    "  lead", "trail  ",     "a=b",
      ";comment", "\"quoted\"", "'single'", "\r\n", "\n",     "\t",          "%",
      "%41",      "[SECTION]",  "\xff\xfe", "\xc3", "x",      "Hello World", "++",
      "-1--1--1", "é",          "\x7f",     "\x01"};
  std::uniform_int_distribution<int> count(0, 5);
  std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
  std::string s;
  for (int i = count(rng); i > 0; --i) s += kPieces[pick(rng)];
  return s;
}

template <typename T>
T AnyInt(std::mt19937& rng) {
  std::uniform_int_distribution<int64_t> d(std::numeric_limits<T>::min(),
                                           std::numeric_limits<T>::max());
  return static_cast<T>(d(rng));
}

// Every field random; version 1 keeps the parts it has and leaves the rest at the defaults.
inline _FILE_ALL_INFO RandomCase(std::mt19937& rng, int version, size_t readings, size_t samples) {
  _FILE_ALL_INFO f;
  f.modelCode = AnyInt<int32_t>(rng);
  f.modelName = AwkwardText(rng);
  f.dataMode = AnyInt<int32_t>(rng);
  f.locked = AnyInt<int32_t>(rng);
  f.deviceByte = AnyInt<int32_t>(rng);
  f.protocol = AnyInt<int32_t>(rng);
  _PATIENT_INFO& p = f.patient;
  for (std::string* s : {&p.name, &p.caseId, &p.address, &p.tel, &p.nation, &p.doorId, &p.inHosId,
                         &p.bedId, &p.office, &p.email})
    *s = AwkwardText(rng);
  for (auto& s : p.extra) s = AwkwardText(rng);
  p.sex = AnyInt<int32_t>(rng);
  p.height = AnyInt<int32_t>(rng);
  p.weight = AnyInt<int32_t>(rng);
  p.age = AnyInt<int32_t>(rng);
  p.birthday.days = std::uniform_real_distribution<double>(-700000, 3000000)(rng);
  p.birthday.status = std::uniform_int_distribution<int32_t>(-1, 3)(rng);
  auto* planBytes = reinterpret_cast<uint8_t*>(&f.plan);
  for (size_t i = 0; i < sizeof f.plan; ++i) planBytes[i] = AnyInt<uint8_t>(rng);
  for (int32_t& v : f.bpHead.v) v = AnyInt<int32_t>(rng);
  for (size_t i = 0; i < readings; ++i) {
    _BP_RECORD r;
    r.index = AnyInt<int32_t>(rng);
    r.year = AnyInt<int32_t>(rng);
    r.month = AnyInt<int16_t>(rng);
    r.day = AnyInt<int16_t>(rng);
    r.hour = AnyInt<int16_t>(rng);
    r.minute = AnyInt<int16_t>(rng);
    r.seconds = AnyInt<int16_t>(rng);
    r.sys = AnyInt<int32_t>(rng);
    r.dia = AnyInt<int16_t>(rng);
    r.map = AnyInt<int16_t>(rng);
    r.pr = AnyInt<int16_t>(rng);
    r.spo2 = AnyInt<int16_t>(rng);
    r.secondCode = AnyInt<int16_t>(rng);
    r.reserved = AnyInt<int16_t>(rng);
    r.errorCode = AnyInt<int16_t>(rng);
    r.mark = AnyInt<uint8_t>(rng);
    r.reserved2[0] = AnyInt<int32_t>(rng);
    r.reserved2[1] = AnyInt<int32_t>(rng);
    r.included = AnyInt<int32_t>(rng);
    r.comment = AwkwardText(rng);
    f.readings.push_back(r);
  }
  if (version >= 2) {
    for (auto& v : f.version) v = _SUB_VERSION{AnyInt<int32_t>(rng), AnyInt<int32_t>(rng)};
    for (int32_t& v : f.spo2Head.v) v = AnyInt<int32_t>(rng);
    for (size_t i = 0; i < samples; ++i) {
      _SPO2_SAMPLE s;
      s.spo2 = AnyInt<uint8_t>(rng);
      s.pr = AnyInt<uint8_t>(rng);
      s.unused[0] = AnyInt<uint8_t>(rng);
      s.unused[1] = AnyInt<uint8_t>(rng);
      s.offset = AnyInt<int32_t>(rng);
      f.samples.push_back(s);
    }
    f.tailInt1 = AnyInt<int32_t>(rng);
    f.tailInt2 = AnyInt<int32_t>(rng);
    f.tailText1 = AwkwardText(rng);
    f.tailText2 = AwkwardText(rng);
    f.tailInt3 = AnyInt<int32_t>(rng);
  }
  return f;
}

inline _BP_RECORD Reading(int year, int month, int day, int hour, int minute, int sys = 130,
                          int dia = 80, int map = 97, int pr = 70) {
  _BP_RECORD r;
  r.year = year;
  r.month = static_cast<int16_t>(month);
  r.day = static_cast<int16_t>(day);
  r.hour = static_cast<int16_t>(hour);
  r.minute = static_cast<int16_t>(minute);
  r.sys = sys;
  r.dia = static_cast<int16_t>(dia);
  r.map = static_cast<int16_t>(map);
  r.pr = static_cast<int16_t>(pr);
  return r;
}

// An ambulatory case (data mode 1) holding the readings, numbered in file order.
inline _FILE_ALL_INFO SimpleCase(std::vector<_BP_RECORD> readings, int dataMode = 1) {
  _FILE_ALL_INFO f;
  f.modelCode = kTaloBlack;
  f.modelName = "TALOBlack";
  f.dataMode = dataMode;
  f.protocol = 4;
  f.patient.name = "Test Patient";
  for (size_t i = 0; i < readings.size(); ++i) readings[i].index = static_cast<int32_t>(i);
  f.bpHead.count() = static_cast<int32_t>(readings.size());
  f.readings = std::move(readings);
  return f;
}

}  // namespace vesk::test
