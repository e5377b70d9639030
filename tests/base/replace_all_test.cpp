// ReplaceAll: left-to-right, no re-scan of inserted text, never past the buffer.
#include "base/replace_all.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vsmr {
namespace {

struct ReplaceCase {
  const char* name;
  const char* text;
  const char* pattern;
  const char* replacement;
  const char* expected;
  std::size_t count;
};

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, Replaces) {
  const ReplaceCase& c = GetParam();
  char buffer[256];
  std::memset(buffer, 'Z', sizeof buffer);
  std::strcpy(buffer, c.text);
  EXPECT_EQ(c.count, ReplaceAll(buffer, sizeof buffer, c.pattern, c.replacement));
  EXPECT_STREQ(c.expected, buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    ::testing::Values(
        ReplaceCase{"none", "abc", "%01", "x", "abc", 0},
        ReplaceCase{"every", "%01-%01", "%01", "A", "A-A", 2},
        // The inserted text holds the pattern: it is not searched again.
        ReplaceCase{"noRescan", "%01 %01", "%01", "[%01]", "[%01] [%01]", 2},
        ReplaceCase{"shrink", "aaaa", "aa", "b", "bb", 2},
        ReplaceCase{"toEmpty", "x%**y", "%**", "", "xy", 1},
        ReplaceCase{"emptyPattern", "abc", "", "x", "abc", 0},
        ReplaceCase{"japanese", "表示%01", "%01", "ソフト", "表示ソフト", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceAllBounds, GrowthIsCutAtCapacity) {
  // 16-byte buffer inside a sentinel-filled block: nothing past it is written.
  char block[32];
  std::memset(block, 'Z', sizeof block);
  std::strcpy(block, "a%01b");
  ReplaceAll(block, 16, "%01", "0123456789ABCDEF");
  EXPECT_EQ(15u, std::strlen(block));
  EXPECT_STREQ("a0123456789ABCD", block);
  for (std::size_t i = 16; i < sizeof block; ++i) EXPECT_EQ('Z', block[i]) << i;
}

TEST(ReplaceAllBounds, TailKeptWhenItFits) {
  char buffer[12] = "x%01y%01z";
  EXPECT_EQ(2u, ReplaceAll(buffer, sizeof buffer, "%01", "ab"));
  EXPECT_STREQ("xabyabz", buffer);
}

}  // namespace
}  // namespace vsmr
