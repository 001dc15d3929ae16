#include "reports/DiagnosisXml.h"

#include <fmt/format.h>

#include "platform/CodePage.h"
#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"

namespace vesk {

namespace {

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        // XML 1.0 allows no other control characters, not even as references; a stray one
        // in a name would make the whole file unreadable.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          out += "&#65533;";
        else
          out += c;
    }
  }
  return out;
}

// One block: its elements joined by CR LF and a run of tabs; the first element stays on the
// line where the previous block ended.
class Block {
 public:
  explicit Block(int tabs) : indent_("\r\n" + std::string(size_t(tabs), '\t')) {}
  void Add(const char* name, const std::string& value) {
    if (!text_.empty()) text_ += indent_;
    text_ += fmt::format("<{0}>{1}</{0}>", name, value);
  }
  void Text(const char* name, const std::string& value) { Add(name, Escape(value)); }
  void Int(const char* name, int32_t value) { Add(name, std::to_string(value)); }
  const std::string& str() const { return text_; }

 private:
  std::string indent_;
  std::string text_;
};

std::string TestTime(const ReportTime& t) {
  return fmt::format("{}/{}/{} {}:{}", t.year, t.month, t.day, t.hour, t.minute);
}

std::string ExtremeTime(const ReportTime& t) {
  return fmt::format("{:2}/{:2}/{:2} {:2}:{:2}", t.year, t.month, t.day, t.hour, t.minute);
}

std::string Pair(double a, double b) {
  return fmt::format("{:.1f}/{:.1f}mmHg", a, b);
}

}  // namespace

std::string DiagnosisXmlPath() {
  return ProgramPath("\\DIAGNOSEINFO.xml");
}

std::string FormatDiagnosisXml(const ReportData& data, const std::string& pdfPath) {
  const ReportDiagnosisFacts& d = data.diagnosis;
  Block b1(8);
  b1.Text("report", pdfPath);
  b1.Text("conclusion", d.conclusion);
  b1.Text("teststarttime", TestTime(data.main.start));
  b1.Text("testendtime", TestTime(data.main.end));
  b1.Text("caseName", data.main.patientName);
  b1.Int("age", d.age);
  b1.Int("height", d.height);
  b1.Int("weight", d.weight);
  b1.Text("sex", d.sexText);
  b1.Text("aid", data.main.patientId);
  b1.Text("nation", d.nation);
  b1.Text("hospitalID", d.hospitalId);
  b1.Text("outpatientID", d.outpatientId);
  b1.Text("tel", d.tel);
  b1.Text("add", d.address);
  b1.Text("department", d.department);
  b1.Text("curmedication", d.medication);

  Block b2(8);
  b2.Add("AllBPAverage", Pair(d.allSys, d.allDia));
  b2.Add("DayBPAverage", Pair(d.daySys, d.dayDia));
  b2.Add("NightBPAverage", Pair(d.nightSys, d.nightDia));
  b2.Int("DaySys", int32_t(d.daySys));
  b2.Int("DayDia", int32_t(d.dayDia));
  b2.Int("NightSys", int32_t(d.nightSys));
  b2.Int("NightDia", int32_t(d.nightDia));

  // Readers of this file expect the times of the diastolic extremes under the systolic
  // names, so both names occur twice.
  Block b3(9);
  b3.Int("MaxSys", d.maxSys);
  b3.Add("MaxSysTime", ExtremeTime(d.maxSysTime));
  b3.Int("MinSys", d.minSys);
  b3.Add("MinSysTime", ExtremeTime(d.minSysTime));
  b3.Int("MaxDia", d.maxDia);
  b3.Add("MaxSysTime", ExtremeTime(d.maxDiaTime));
  b3.Int("MinDia", d.minDia);
  b3.Add("MinSysTime", ExtremeTime(d.minDiaTime));
  b3.Add("CircadianRhythmSys", fmt::format("{:.1f}", d.dipSysPercent));
  b3.Add("CircadianRhythmDia", fmt::format("{:.1f}", d.dipDiaPercent));

  Block b4(7);
  b4.Add("BPCVAllSys", fmt::format("{:f}", d.cvAllSys));
  b4.Add("BPCVAllDia", fmt::format("{:.3f}", d.cvAllDia));
  b4.Add("BPCVDaySys", fmt::format("{:.3f}", d.cvDaySys));
  b4.Add("BPCVDayDia", fmt::format("{:.3f}", d.cvDayDia));
  b4.Add("BPCVNightSys", fmt::format("{:.3f}", d.cvNightSys));
  b4.Add("BPCVNightDia", fmt::format("{:.3f}", d.cvNightDia));
  b4.Add("AtheroGenic", fmt::format("{:.3f}", d.aasi));

  return "<?xml version=\"1.0\" encoding=\"" + codepage::AnsiCodePage() + "\"?>\r\n<diagnose>\r\n" +
         std::string(8, '\t') + b1.str() + b2.str() + b3.str() + b4.str() + "\r\n</diagnose>";
}

bool WriteDiagnosisXml(const std::string& xmlPath, const ReportData& data,
                       const std::string& pdfPath) {
  // Characters the code page cannot hold go in as character references, so a Polish or Arabic
  // name survives in a file whose declaration still names the narrow code page.
  return fsutil::WriteFileAtomic(xmlPath, codepage::ToAnsiXml(FormatDiagnosisXml(data, pdfPath)));
}

}  // namespace vesk
