#include "shell/random.h"

#include <gtest/gtest.h>

namespace quillorn {
namespace {

TEST(Random, SeededWithOneGivesTheKnownSequence) {
  SeedRandom(1);
  EXPECT_EQ(Random(), 41);
  EXPECT_EQ(Random(), 18467);
  EXPECT_EQ(Random(), 6334);
  EXPECT_EQ(Random(), 26500);
  EXPECT_EQ(Random(), 19169);
}

TEST(Random, SeededWithZeroStartsAt38) {
  SeedRandom(0);
  EXPECT_EQ(Random(), 38);
}

TEST(Random, ReseedingRepeatsTheSequence) {
  SeedRandom(0xDEADBEEF);
  int32_t first[4];
  for (int32_t& v : first) v = Random();
  SeedRandom(0xDEADBEEF);
  for (int32_t v : first) EXPECT_EQ(Random(), v);
}

TEST(Random, ResultsStayWithinFifteenBitsAndReachBothEnds) {
  SeedRandom(12345);
  int32_t lowest = 32767, highest = 0;
  for (int i = 0; i < 200000; ++i) {
    int32_t r = Random();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  EXPECT_LT(lowest, 16);
  EXPECT_GT(highest, 32751);
}

}  // namespace
}  // namespace quillorn
