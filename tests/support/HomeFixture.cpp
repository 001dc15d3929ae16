#include "support/HomeFixture.h"

#include "app/DemoHome.h"
#include "platform/ProgramDir.h"

namespace vesk::test {

std::string SourceDataDir() {
  return std::string(VESK_SOURCE_DIR) + "/data";
}

void HomeFixture::SetUp() {
  home_ = temp_ / "home";
  const DemoHomeResult r = PrepareDemoHome(home_, SourceDataDir());
  ASSERT_TRUE(r.ok) << r.error;
  previousDir_ = GetProgramDir();
  SetProgramDir(home_);
}

void HomeFixture::TearDown() {
  SetProgramDir(previousDir_);
}

}  // namespace vesk::test
