#pragma once
// A test whose program folder is a fresh demo home: Language/ and res/ copied from the
// source tree's data/, an empty data/, and GetProgramDir() pointing at it for the test's
// length (the previous folder comes back afterwards).

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"

namespace vesk::test {

// The source tree's data folder (language files, resources).
std::string SourceDataDir();

class HomeFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::string& home() const { return home_; }
  // home() + "/" + name
  std::string HomePath(const std::string& name) const { return home_ + "/" + name; }

 private:
  TempDir temp_;
  std::string home_;
  std::string previousDir_;
};

}  // namespace vesk::test
