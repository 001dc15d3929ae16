#include "settings/StandardValues.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(StandardValuesTest, PairsAreHeldApartWithinTheirRanges) {
  EXPECT_EQ(FixSystolic(140, 90, Period::Awake), 140);
  EXPECT_EQ(FixSystolic(90, 90, Period::Awake), 91);
  EXPECT_EQ(FixSystolic(30, 20, Period::Awake), 51) << "partner taken as at least 50";
  EXPECT_EQ(FixSystolic(200, 279, Period::Awake), 280);
  EXPECT_EQ(FixSystolic(100, 239, Period::Asleep), 240);
  EXPECT_EQ(FixDiastolic(135, 135, Period::Awake), 134);
  EXPECT_EQ(FixDiastolic(400, 300, Period::Awake), 279) << "partner taken as at most 280";
  EXPECT_EQ(FixDiastolic(10, 120, Period::Asleep), 40);
  EXPECT_EQ(FixLowCR(20, 20), 19);
  EXPECT_EQ(FixLowCR(5, 1), 1);
  EXPECT_EQ(FixHighCR(10, 10), 11);
  EXPECT_EQ(FixHighCR(99, 100), 100);
  EXPECT_EQ(FixLoad(-1), 0);
  EXPECT_EQ(FixLoad(101), 100);
}

}  // namespace
}  // namespace vesk
