// Byte searches that must not take a Shift-JIS trail byte 0x5C for a backslash.
#include "base/sjis.h"

#include <gtest/gtest.h>

namespace vsmr {
namespace {

TEST(Sjis, TrailByteIsNotABackslash) {
  // "ソ" is 0x83 0x5C: its trail byte equals '\'.
  std::string_view path = "C:\\ソ";
  ASSERT_EQ('\x5C', path[4]);
  EXPECT_EQ(2u, FindLastSjisChar(path, '\\'));
  EXPECT_EQ(2u, FindSjisChar(path, '\\'));
  EXPECT_EQ(std::string_view::npos, FindSjisChar(path, '\\', 3));
}

TEST(Sjis, RealBackslashAfterDoubleByteCharacters) {
  std::string_view path = "C:\\表示\\能力\\a.exe";
  std::size_t last = FindLastSjisChar(path, '\\');
  ASSERT_NE(std::string_view::npos, last);
  EXPECT_EQ("\\a.exe", path.substr(last));
}

TEST(Sjis, LoneLeadByteAtEndIsNotSkippedPastTheEnd) {
  std::string_view text("a\x83", 2);
  EXPECT_EQ(std::string_view::npos, FindLastSjisChar(text, '\\'));
  EXPECT_EQ(1u, SjisCutLength("a表", 2));  // never half a character
  EXPECT_EQ(3u, SjisCutLength("a表", 3));
  EXPECT_EQ(2u, SjisCutLength("abc", 2));
}

TEST(Sjis, CaseIsFoldedForLettersButNotForTrailBytes) {
  EXPECT_TRUE(SjisEqualIgnoringCase("Note", "nOTE"));
  EXPECT_FALSE(SjisEqualIgnoringCase("Note", "Notes"));
  EXPECT_TRUE(SjisEqualIgnoringCase("メモ帳a", "メモ帳A"));
  // 0x83 0x41 ("ア") and 0x83 0x61 are two characters: folding the trail byte would join them.
  EXPECT_FALSE(SjisEqualIgnoringCase("\x83\x41", "\x83\x61"));
}

}  // namespace
}  // namespace vsmr
