#include <gtest/gtest.h>

#include "export/CaseExport.h"
#include "platform/CodePage.h"
#include "platform/FileUtil.h"
#include "support/HomeFixture.h"
#include "support/TempDir.h"

namespace vesk::test {
namespace {

_BP_RECORD R(int index, int sys, int dia, int map, int pr, int spo2 = 0) {
  _BP_RECORD r;
  r.index = index;
  r.year = 2024, r.month = 3, r.day = 5, r.hour = 7, r.minute = 4;
  r.sys = sys, r.dia = int16_t(dia), r.map = int16_t(map), r.pr = int16_t(pr);
  r.spo2 = int16_t(spo2);
  return r;
}

class FakeChooser : public IExportFileChooser {
 public:
  bool Choose(std::string& p, ExportFormat& f) override {
    p = path, f = format;
    return !cancel;
  }
  std::string path;
  ExportFormat format = ExportFormat::Csv;
  bool cancel = false;
};

class CaseExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(language_.LoadFile(SourceDataDir() + "/Language/English.lng"));
  }
  CLanguage language_;
  TempDir dir_;
  RecordingMessageSink sink_;
  FakeChooser chooser_;
  TaskStatus status_;
};

TEST_F(CaseExportTest, ReadingLineRules) {
  _BP_RECORD r = R(0, 128, 82, 97, 71, 96);
  r.errorCode = 2, r.secondCode = 5;
  r.day = 9, r.month = 11;
  EXPECT_EQ(ExportLine(r), "1,07:04,09-11-2024,128/82,71,97,46,96,2(5),\r\n");
  r.mark = 1;
  EXPECT_EQ(ExportLine(r).substr(0, 3), "1+,");
  r.mark = 2;
  EXPECT_EQ(ExportLine(r).substr(0, 4), "1++,");

  // Missing values: diastolic 0 leaves the pulse pressure equal to the systolic value.
  EXPECT_EQ(ExportLine(R(41, 120, 0, 0, 0)),
            "42,07:04,05-03-2024,120/---,---,---,120,---,0(0),\r\n");
  EXPECT_EQ(ExportLine(R(1, 0, 0, 0, 0)), "2,07:04,05-03-2024,---/---,---,---,---,---,0(0),\r\n");
  EXPECT_EQ(ExportLine(R(1, 80, 90, 85, 60)), "2,07:04,05-03-2024,80/90,60,85,---,---,0(0),\r\n");

  auto spo2Field = [](int v) {
    const std::string line = ExportLine(R(0, 120, 80, 93, 70, v));
    return line.substr(line.find(",40,") + 4, line.find(",0(0)") - line.find(",40,") - 4);
  };
  EXPECT_EQ(spo2Field(0), "---");
  EXPECT_EQ(spo2Field(1), "1");
  EXPECT_EQ(spo2Field(99), "99");
  EXPECT_EQ(spo2Field(100), "---");
  EXPECT_EQ(spo2Field(101), "---");
}

// Corrupt records can hold any 32-bit systolic; the pulse pressure must neither wrap nor
// turn a missing value into a number.
TEST_F(CaseExportTest, PulsePressureAtTheExtremesOfTheStoredValues) {
  auto pp = [](int32_t sys, int16_t dia) {
    _BP_RECORD r = R(0, 0, 0, 0, 0);
    r.sys = sys, r.dia = dia;
    const std::string line = ExportLine(r);
    size_t at = 0;
    for (int comma = 0; comma < 6; ++comma) at = line.find(',', at) + 1;
    return line.substr(at, line.find(',', at) - at);
  };
  EXPECT_EQ(pp(INT32_MIN, 0), "---");
  EXPECT_EQ(pp(INT32_MIN, 80), "---");
  EXPECT_EQ(pp(INT32_MIN, INT16_MIN), "---");
  EXPECT_EQ(pp(INT32_MAX, INT16_MIN), "2147516415");
  EXPECT_EQ(pp(INT32_MAX, INT16_MAX), "2147450880");
  EXPECT_EQ(pp(120, INT16_MIN), "32888");
  EXPECT_EQ(pp(120, 120), "---");
  EXPECT_EQ(pp(1, 0), "1");
  EXPECT_EQ(ExportLine([] {
              _BP_RECORD r = R(0, 0, 80, 0, 0);
              r.sys = INT32_MIN;
              return r;
            }())
                .substr(19, 7),
            "---/80,");
}

TEST_F(CaseExportTest, CommentsAreQuotedOnlyWhenTheyMustBe) {
  _BP_RECORD r = R(0, 120, 80, 93, 70);
  r.comment = "after lunch";
  EXPECT_EQ(ExportLine(r), "1,07:04,05-03-2024,120/80,70,93,40,---,0(0),after lunch\r\n");
  r.comment = "walk, then \"rest\"\r\nsecond line";
  EXPECT_EQ(ExportLine(r),
            "1,07:04,05-03-2024,120/80,70,93,40,---,0(0),\"walk, then \"\"rest\"\"\r\nsecond "
            "line\"\r\n");
  EXPECT_EQ(QuoteField("a\nb"), "\"a\nb\"");
}

TEST_F(CaseExportTest, HeadingAndFileNames) {
  EXPECT_EQ(ExportHeading(language_),
            "No., Time, Date, SYS/DIA, PR, MAP, PP, SpO2, Code, Comment, \r\n");
  EXPECT_EQ(ExportFileName("/x/a", ExportFormat::Txt), "/x/a.txt");
  EXPECT_EQ(ExportFileName("/x/a.txt", ExportFormat::Txt), "/x/a.txt");
  EXPECT_EQ(ExportFileName("/x/a.CSV", ExportFormat::Csv), "/x/a.CSV");
  EXPECT_EQ(ExportFileName("/x/a.csv", ExportFormat::Txt), "/x/a.csv.txt");
  EXPECT_EQ(ExportFileName("/x/.txt.bak", ExportFormat::Txt), "/x/.txt.bak.txt");
}

TEST_F(CaseExportTest, FileHoldsEveryReadingInTheNarrowCodePage) {
  std::vector<_BP_RECORD> readings = {R(0, 120, 80, 93, 70), R(1, 0, 0, 0, 0),
                                      R(2, 130, 85, 99, 72)};
  readings[1].errorCode = 3;
  readings[2].included = 0;
  readings[2].comment = "\xE5\xA4\xB4\xE6\x99\x95";  // Chinese "dizzy"
  const std::string path = dir_ / "out.csv";
  ASSERT_EQ(WriteExportFile(path, readings, language_, &status_), ExportResult::Ok);
  EXPECT_EQ(status_.progress.load(), 100);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes, ExportHeading(language_) + ExportLine(readings[0]) + ExportLine(readings[1]) +
                       "3,07:04,05-03-2024,130/85,72,99,45,---,0(0)," +
                       codepage::ToAnsi(readings[2].comment) + "\r\n");
  EXPECT_EQ(codepage::ToAnsi(readings[2].comment), "\xCD\xB7\xD4\xCE");
  EXPECT_EQ(WriteExportFile(path, {}, language_), ExportResult::NoReadings);
  EXPECT_EQ(WriteExportFile(dir_ / "missing/out.csv", readings, language_),
            ExportResult::CannotCreate);
  EXPECT_FALSE(fsutil::FileExists(dir_ / "missing/out.csv"));
}

TEST_F(CaseExportTest, WorkerOutcomes) {
  const std::vector<_BP_RECORD> readings = {R(0, 120, 80, 93, 70)};
  chooser_.cancel = true;
  EXPECT_EQ(RunExport(readings, language_, sink_, chooser_, status_), ExportResult::Cancelled);
  EXPECT_EQ(status_.state.load(), TaskState::Cancelled);
  EXPECT_TRUE(sink_.messages.empty());

  chooser_.cancel = false;
  chooser_.path = dir_ / "x";
  EXPECT_EQ(RunExport({}, language_, sink_, chooser_, status_), ExportResult::NoReadings);
  EXPECT_EQ(status_.state.load(), TaskState::Finished);
  EXPECT_EQ(status_.progress.load(), 10);
  EXPECT_EQ(sink_.messages.back().text, language_.GetText("Global Setting", "IDS_NOAWPDATA"));

  EXPECT_EQ(RunExport(readings, language_, sink_, chooser_, status_), ExportResult::Ok);
  EXPECT_TRUE(fsutil::FileExists(dir_ / "x.csv"));
  EXPECT_EQ(sink_.messages.back().text, language_.GetText("Global Setting", "IDS_SAVEFILESUCCESS"));

  // The file exists now: declining keeps it as it is.
  WriteBytes(dir_ / "x.csv", "keep");
  sink_.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(RunExport(readings, language_, sink_, chooser_, status_), ExportResult::Declined);
  EXPECT_EQ(ReadBytes(dir_ / "x.csv"), "keep");
  EXPECT_EQ(sink_.messages.back().text,
            dir_ / "x.csv" + "\r\n" + language_.GetText("Global Setting", "IDS_FINDFILEEXIST"));
  EXPECT_EQ(sink_.messages.back().buttons, MessageButtons::OkCancel);

  chooser_.path = dir_ / "no/such/folder/x";
  EXPECT_EQ(RunExport(readings, language_, sink_, chooser_, status_), ExportResult::CannotCreate);
  EXPECT_EQ(sink_.messages.back().text, language_.GetText("Global Setting", "IDS_AWPTOFILEERROR"));
  EXPECT_EQ(status_.state.load(), TaskState::Finished);
}

TEST_F(CaseExportTest, WriterRunsOnAWorkerThreadAndHandsTheResultBack) {
  std::vector<_BP_RECORD> readings;
  for (int i = 0; i < 250; ++i) readings.push_back(R(i, 120 + i % 30, 80, 93, 70));
  std::thread worker =
      StartExportWriter(readings, language_, dir_ / "thread.txt", ExportEncoding::Narrow, status_);
  worker.join();
  EXPECT_EQ(status_.state.load(), TaskState::Finished);
  EXPECT_EQ(status_.progress.load(), 100);
  EXPECT_EQ(ExportResult(status_.result.load()), ExportResult::Ok);
  EXPECT_TRUE(fsutil::FileExists(dir_ / "thread.txt"));
  EXPECT_FALSE(fsutil::FileExists(dir_ / "thread.txt.txt"));

  worker =
      StartExportWriter(readings, language_, dir_ / "no/such/x.txt", ExportEncoding::Utf8, status_);
  worker.join();
  EXPECT_EQ(status_.state.load(), TaskState::Finished);
  EXPECT_EQ(ExportResult(status_.result.load()), ExportResult::CannotCreate);
  EXPECT_EQ(ExportEndMessage(ExportResult::CannotCreate, language_).text,
            language_.GetText("Global Setting", "IDS_AWPTOFILEERROR"));
  EXPECT_EQ(ExportEndMessage(ExportResult::CannotCreate, language_).icon, MessageIcon::Error);
  EXPECT_EQ(ExportEndMessage(ExportResult::Ok, language_).text,
            language_.GetText("Global Setting", "IDS_SAVEFILESUCCESS"));
  EXPECT_TRUE(ExportEndMessage(ExportResult::Declined, language_).text.empty());
  EXPECT_TRUE(ExportEndMessage(ExportResult::Cancelled, language_).text.empty());
}

const std::string kPolish = "\xC5\x81ucja W\xC3\xB3jcik-\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87";
const std::string kArabic = "\xD9\x85\xD8\xAD\xD9\x85\xD8\xAF \xD8\xB9\xD9\x84\xD9\x8A";
const std::string kChinese = "\xE5\xBC\xA0\xE4\xBC\x9F";

// UTF-8 keeps every name byte for byte behind its byte-order mark.
TEST_F(CaseExportTest, Utf8FileKeepsPolishArabicAndChineseNames) {
  std::vector<_BP_RECORD> readings = {R(0, 120, 80, 93, 70), R(1, 121, 81, 94, 71),
                                      R(2, 122, 82, 95, 72)};
  readings[0].comment = kPolish;
  readings[1].comment = kArabic;
  readings[2].comment = kChinese;
  EXPECT_EQ(ExportUnencodable(readings, language_),
            "\xC5\x81\xC5\xBB\xC5\x82\xC4\x87" + std::string("\xD9\x85\xD8\xAD\xD8\xAF"
                                                             "\xD8\xB9\xD9\x84\xD9\x8A"));
  const std::string path = dir_ / "names.csv";
  ASSERT_EQ(WriteExportFile(path, readings, language_, &status_, ExportEncoding::Utf8),
            ExportResult::Ok);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes, std::string(kUtf8Bom) + ExportHeading(language_) + ExportLine(readings[0]) +
                       ExportLine(readings[1]) + ExportLine(readings[2]));
  for (const std::string& name : {kPolish, kArabic, kChinese})
    EXPECT_NE(bytes.find("," + name + "\r\n"), std::string::npos);

  // The narrow file of the same readings would lose the Polish and Arabic letters.
  ASSERT_EQ(WriteExportFile(path, readings, language_, &status_), ExportResult::Ok);
  EXPECT_NE(ReadBytes(path).find("?ucja"), std::string::npos);
  EXPECT_NE(ReadBytes(path).find(codepage::ToAnsi(kChinese)), std::string::npos);
}

TEST_F(CaseExportTest, ChecksAskForAnExistingFileAndForLostCharacters) {
  std::vector<_BP_RECORD> readings = {R(0, 120, 80, 93, 70)};
  ExportChoice choice{dir_ / "c", ExportFormat::Csv, ExportEncoding::Narrow};
  std::string path;
  EXPECT_EQ(CheckExport(choice, {}, language_, sink_, &path), ExportResult::NoReadings);
  EXPECT_EQ(CheckExport(choice, readings, language_, sink_, &path), ExportResult::Ok);
  EXPECT_EQ(path, dir_ / "c.csv");
  EXPECT_TRUE(sink_.messages.empty());  // Chinese and ASCII fit the narrow code page

  readings[0].comment = kChinese + " " + kArabic;
  sink_.answers = {MessageAnswer::Cancel};
  path.clear();
  EXPECT_EQ(CheckExport(choice, readings, language_, sink_, &path), ExportResult::Declined);
  EXPECT_TRUE(path.empty());
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text, language_.GetText("Global Setting", "IDS_EXPORT_LOSSY") +
                                        "\r\nGBK: \xD9\x85\xD8\xAD\xD8\xAF\xD8\xB9\xD9\x84"
                                        "\xD9\x8A");
  EXPECT_EQ(sink_.messages[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(CheckExport(choice, readings, language_, sink_, &path), ExportResult::Ok);  // Ok
  choice.encoding = ExportEncoding::Utf8;
  EXPECT_EQ(CheckExport(choice, readings, language_, sink_, &path), ExportResult::Ok);
  EXPECT_EQ(sink_.messages.size(), 2u);  // UTF-8 loses nothing: no question

  // An existing file is asked about first; declining it asks nothing more.
  WriteBytes(dir_ / "c.csv", "keep");
  choice.encoding = ExportEncoding::Narrow;
  sink_.answers = {MessageAnswer::Cancel};
  sink_.next = 0;
  sink_.messages.clear();
  EXPECT_EQ(CheckExport(choice, readings, language_, sink_, &path), ExportResult::Declined);
  ASSERT_EQ(sink_.messages.size(), 1u);
  EXPECT_EQ(sink_.messages[0].text,
            dir_ / "c.csv" + "\r\n" + language_.GetText("Global Setting", "IDS_FINDFILEEXIST"));
  EXPECT_EQ(ReadBytes(dir_ / "c.csv"), "keep");
}

}  // namespace
}  // namespace vesk::test
