#pragma once
// The values the configuration object holds in memory: the per-user settings of
// MreConfig.ini, the report configuration of the current user and the system section. Plain
// records; ConfigFile.h reads and writes them.

#include <array>
#include <cstdint>
#include <string>

namespace vesk {

// The eight analysis thresholds. kDefaultThresholds is the one table of their factory values:
// the load defaults, the factory reset and the default-values button all take it from here.
struct Thresholds {
  int32_t awakeSys = 0;
  int32_t awakeDia = 0;
  int32_t asleepSys = 0;
  int32_t asleepDia = 0;
  int32_t lowCR = 0;
  int32_t highCR = 0;
  int32_t dayBPLoad = 0;
  int32_t nightBPLoad = 0;
  bool operator==(const Thresholds&) const = default;
};
inline constexpr Thresholds kDefaultThresholds{135, 85, 120, 70, 10, 20, 40, 50};

// One field per key of a user's section "Config <name>"; the key table in ConfigKeys.h names
// them and gives their defaults. A value-initialised record is all zeros: start from
// DefaultUserSettings() instead.
struct UserSettings {
  int32_t useDefaultPath = 0;
  std::string patientFilePath;  // the case folder
  int32_t awakeSysThresh = 0, awakeDiaThresh = 0, asleepSysThresh = 0, asleepDiaThresh = 0;
  int32_t lowCR = 0, highCR = 0, dayBPLoad = 0, nightBPLoad = 0;
  // Stored only: read at load, written at save, used by nothing else.
  int32_t maxPressValue = 0;
  int32_t awakeWarnSwitch = 0, awakeSysMaxValue = 0, awakeSysMinValue = 0;
  int32_t awakeDiaMaxValue = 0, awakeDiaMinValue = 0;
  int32_t asleepWarnSwitch = 0, asleepSysMaxValue = 0, asleepSysMinValue = 0;
  int32_t asleepDiaMaxValue = 0, asleepDiaMinValue = 0;
  // Link way.
  int32_t useBluetooth = 0, showSelectDevice = 0;
  // Plan of the TALO recorders and the last plan entered for an upload (list indexes).
  int32_t taloAsleepSpan = 0, taloAsleepTime = 0, taloAwakeSpan = 0, taloAwakeTime = 0;
  std::string patientName, patientID;
  int32_t displayScreenInfo = 0, displayHandIntercalate = 0, timePeriod = 0, startKey = 0;
  int32_t awakeTime = 0, awakeSpan = 0, asleepTime = 0, asleepSpan = 0;
  int32_t specialStart = 0, specialSpan = 0, specialEnd = 0;
  // SpO2 and pulse-rate event detection.
  int32_t spo2MaxTime = 0, spo2MinTime = 0, spo2Desaturation = 0, spo2MaxDrop = 0;
  int32_t spo2MinSpO2 = 0, spo2MaxSpO2 = 0, spo2SwingInd = 0, spo2CriterialLevel = 0;
  int32_t prMaxTime = 0, prMinTime = 0, prDesaturation = 0, prMaxDrop = 0;
  int32_t prMinPR = 0, prMaxPR = 0, prSwingInd = 0;
  // Serial ports detection also tries besides the system's own (virtual ports, network
  // adapters, the recorder simulator): device paths separated by ';'.
  std::string extraSerialPorts;

  Thresholds GetThresholds() const {
    return {awakeSysThresh, awakeDiaThresh, asleepSysThresh, asleepDiaThresh,
            lowCR,          highCR,         dayBPLoad,       nightBPLoad};
  }
  void SetThresholds(const Thresholds& t) {
    awakeSysThresh = t.awakeSys;
    awakeDiaThresh = t.awakeDia;
    asleepSysThresh = t.asleepSys;
    asleepDiaThresh = t.asleepDia;
    lowCR = t.lowCR;
    highCR = t.highCR;
    dayBPLoad = t.dayBPLoad;
    nightBPLoad = t.nightBPLoad;
  }
  bool operator==(const UserSettings&) const = default;
};

inline constexpr int kReportPageCount = 12;

// One report configuration set: title, the twelve page flags, the SpO2 page and the three
// index flags.
struct ReportSettings {
  std::string title;
  std::array<int32_t, kReportPageCount> pages{};
  int32_t spo2Page = -1;  // variant; -1: the key is absent and the SpO2 page is not chosen
  int32_t aasi = 0, smoothIndex = 0, morningSurge = 0;

  bool Spo2PagePresent() const { return spo2Page != -1; }
  bool operator==(const ReportSettings&) const = default;
};

// Section "SYSTEM" of MreConfig.ini: the external programs.
struct SystemSettings {
  int32_t useOtherExe = 0;
  std::string otherExe;
  int32_t useOtherExePdf = 0;
  std::string otherExePdf;
  // The narrow code page (an iconv name) of the recorder link, the diagnosis XML, the
  // case-information file and the narrow exports.
  std::string codePage = "GBK";
  // Support: file that receives a trace of every recorder link frame ("LINKTRACEFILE"); set
  // by hand, never written back.
  std::string linkTraceFile;
  bool operator==(const SystemSettings&) const = default;
};

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  // The Windows COLORREF layout (0x00BBGGRR), as stored by older files.
  constexpr uint32_t ToColorRef() const {
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
  }
  bool operator==(const Rgb&) const = default;
};

// Colours of the charts and their legends, in this order.
inline constexpr std::array<Rgb, 5> kColourTable{Rgb{218, 163, 191}, Rgb{109, 109, 245},
                                                 Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{255, 255, 0}};

}  // namespace vesk
