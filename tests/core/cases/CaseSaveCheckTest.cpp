// Saves of an open case on a folder that others write too: a save must find the file as it
// was loaded, or leave the other writer's change alone and say so.

#include <gtest/gtest.h>

#include <cstdio>

#include "CaseTestData.h"
#include "cases/AwpFormat.h"
#include "cases/CaseDocument.h"
#include "cases/Filemanage.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::Reading;
using test::SimpleCase;

class NoTexts : public IErrorTexts {
 public:
  std::string ErrorText(int32_t) const override { return {}; }
};

class CaseSaveCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    _FILE_ALL_INFO f = SimpleCase({Reading(2024, 1, 1, 8, 0), Reading(2024, 1, 1, 9, 0)});
    f.patient.name = "Ann";
    test::WriteBytes(path_, awp::Serialize(f, 2));
  }
  // A document of its own, as a second workstation would have.
  struct Doc {
    explicit Doc(const std::string& path) {
      doc.SetCasePath(path);
      EXPECT_EQ(doc.LoadCase(), ToInt(CaseLoadResult::Ok));
    }
    CaseState state;
    NoTexts texts;
    CaseDocument doc{state, texts};
  };
  // What the file holds now, read by a fresh document.
  std::vector<_BP_RECORD> Stored() {
    Doc fresh(path_);
    return fresh.doc.AllReadings();
  }
  std::vector<EditEntry> History() {
    std::vector<EditEntry> h;
    EXPECT_EQ(CFilemanage::LoadEditHistory(path_, h), ToInt(CaseFileResult::Ok));
    return h;
  }

  test::TempDir dir_;
  std::string path_ = dir_ / "case.awp";
  EditStamp stamp_{"nurse", "2024-01-02 10:00:00"};
};

EditEntry Comment(int32_t reading, const std::string& text) {
  EditEntry e;
  e.when = "2024-01-02 10:00:00";
  e.user = "nurse";
  e.kind = EditKind::Comment;
  e.reading = reading;
  e.newValue = text;
  return e;
}

TEST_F(CaseSaveCheckTest, SecondWorkstationCannotSaveOverTheFirst) {
  Doc first(path_), second(path_);
  first.doc.AllReadings()[0].comment = "first";
  ASSERT_EQ(first.doc.SaveEditedCaseWithHistory({Comment(1, "first")}), CaseFileResult::Ok);

  second.doc.AllReadings()[1].included = 0;
  EXPECT_EQ(second.doc.SaveEditedCaseWithHistory({Comment(2, "second")}), CaseFileResult::Changed);
  EXPECT_EQ(second.doc.SavePatient(_PATIENT_INFO{}, stamp_), CaseFileResult::Changed);
  EXPECT_EQ(second.doc.Patient().name, "Ann");  // the refused sheet is not the document's
  EXPECT_TRUE(second.doc.FileChangedSinceLoad());
  const std::vector<_BP_RECORD> stored = Stored();
  EXPECT_EQ(stored[0].comment, "first");
  EXPECT_EQ(stored[1].included, 1);
  ASSERT_EQ(History().size(), 1u);

  // Opened again, the second sees the first one's edit and may save its own on top.
  Doc again(path_);
  again.doc.AllReadings()[1].included = 0;
  EXPECT_EQ(again.doc.SaveEditedCase(), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(Stored()[0].comment, "first");
  EXPECT_EQ(Stored()[1].included, 0);
}

TEST_F(CaseSaveCheckTest, WriterWithoutLockBetweenLoadAndSaveIsKept) {
  Doc open(path_);
  // A program that takes no lock (or a copy over the network) rewrites the case meanwhile.
  {
    auto lib = CFilemanage::CreateFor(path_);
    ASSERT_EQ(lib->LoadBPData(), ToInt(CaseFileResult::Ok));
    lib->FileInfo().readings[0].comment = "changed by the command line, a longer text";
    ASSERT_EQ(lib->SaveBPData(), ToInt(CaseFileResult::Ok));
  }
  open.doc.AllReadings()[0].comment = "window";
  EXPECT_EQ(open.doc.SaveEditedCase(), ToInt(CaseFileResult::Changed));
  EXPECT_EQ(Stored()[0].comment, "changed by the command line, a longer text");

  // A whole new file in its place (another inode) counts as well, even when it is not a case.
  Doc later(path_);
  test::WriteBytes(path_ + ".new", "not a case file");
  ASSERT_EQ(std::rename((path_ + ".new").c_str(), path_.c_str()), 0);
  EXPECT_EQ(later.doc.SaveEditedCase(), ToInt(CaseFileResult::Changed));
  EXPECT_EQ(later.doc.SavePatient(_PATIENT_INFO{}, stamp_), CaseFileResult::Changed);
  EXPECT_EQ(test::ReadBytes(path_), "not a case file");
}

TEST_F(CaseSaveCheckTest, OwnSavesFollowEachOther) {
  Doc open(path_);
  for (int round = 0; round < 3; ++round) {
    const std::string text = "edit " + std::to_string(round);
    open.doc.AllReadings()[0].comment = text;
    ASSERT_EQ(open.doc.SaveEditedCaseWithHistory({Comment(1, text)}), CaseFileResult::Ok) << round;
    EXPECT_FALSE(open.doc.FileChangedSinceLoad());
  }
  _PATIENT_INFO p = open.doc.Patient();
  p.name = "Bea";
  ASSERT_EQ(open.doc.SavePatient(p, stamp_), CaseFileResult::Ok);
  EXPECT_EQ(open.doc.Patient().name, "Bea");
  // The same data again writes nothing, and the next save still finds its own file.
  ASSERT_EQ(open.doc.SavePatient(p, stamp_), CaseFileResult::Ok);
  open.doc.AllReadings()[1].comment = "after the sheet";
  ASSERT_EQ(open.doc.SaveEditedCase(), ToInt(CaseFileResult::Ok));

  const std::vector<_BP_RECORD> stored = Stored();
  EXPECT_EQ(stored[0].comment, "edit 2");
  EXPECT_EQ(stored[1].comment, "after the sheet");
  Doc fresh(path_);
  EXPECT_EQ(fresh.doc.Patient().name, "Bea");
  EXPECT_EQ(History().size(), 4u);  // three comments and the name
}

TEST_F(CaseSaveCheckTest, AdoptedCaseKeepsTheStampOfItsLoad) {
  Doc scratch(path_);
  CaseState state;
  NoTexts texts;
  CaseDocument shown(state, texts);
  shown.AdoptCase(std::move(scratch.doc));
  EXPECT_FALSE(scratch.doc.FileChangedSinceLoad());
  test::WriteBytes(path_, test::ReadBytes(path_) + "; appended by someone\r\n");
  EXPECT_TRUE(shown.FileChangedSinceLoad());
  EXPECT_EQ(shown.SaveEditedCase(), ToInt(CaseFileResult::Changed));
  // A new path forgets the old file's stamp.
  shown.SetCasePath(path_);
  EXPECT_FALSE(shown.FileChangedSinceLoad());
}

TEST_F(CaseSaveCheckTest, GuardedLibrarySavesRefuseAnotherFile) {
  SaveGuard guard{StampFile(path_), {}};
  test::WriteBytes(path_, test::ReadBytes(path_) + "; someone else\r\n");
  const std::string theirs = test::ReadBytes(path_);

  auto lib = CFilemanage::CreateFor(path_);
  lib->GuardSave(&guard);
  ASSERT_EQ(lib->LoadBPData(), ToInt(CaseFileResult::Ok));
  EXPECT_EQ(lib->SaveBPData(), ToInt(CaseFileResult::Changed));
  EXPECT_EQ(lib->ChangeMeasuringTime(OleDateTime::FromParts(2025, 1, 1, 8, 0)),
            ToInt(CaseFileResult::Changed));
  EXPECT_EQ(CFilemanage::SavePatientWithHistory(2, path_, _PATIENT_INFO{}, stamp_, &guard),
            ToInt(CaseFileResult::Changed));
  EXPECT_EQ(test::ReadBytes(path_), theirs);
  EXPECT_FALSE(guard.written.exists);

  // With the stamp of the file as it is, the save goes through and names the new file.
  guard.expected = StampFile(path_);
  ASSERT_EQ(lib->ChangeMeasuringTime(OleDateTime::FromParts(2025, 1, 1, 8, 0)),
            ToInt(CaseFileResult::Ok));
  EXPECT_EQ(guard.written, StampFile(path_));
  EXPECT_EQ(Stored()[0].year, 2025);
  EXPECT_STREQ(CaseFileResultText(CaseFileResult::Changed),
               "the case file was changed by someone else since it was loaded");
}

}  // namespace
}  // namespace vesk
