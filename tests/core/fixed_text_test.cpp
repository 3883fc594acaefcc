#include "core/fixed_text.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace lumbra {
namespace {

TEST(FixedText, AssignPadsAndClips) {
  FixedText<5> t = "AB";
  EXPECT_EQ(t.full(), "AB   ");
  EXPECT_EQ(t.clipped(), "AB");
  t = "ABCDEFG";
  EXPECT_EQ(t.full(), "ABCDE");
  t = "";
  EXPECT_TRUE(t.blank());
  EXPECT_EQ(t.full(), "     ");
}

TEST(FixedText, ComparesOverTheFullWidth) {
  const FixedText<6> t = "ABC";
  EXPECT_TRUE(t == "ABC");
  EXPECT_TRUE(t == "ABC   ");
  EXPECT_FALSE(t == "AB");
  EXPECT_FALSE(t == "ABCD");
  EXPECT_FALSE(t == " ABC");
  EXPECT_TRUE(t == FixedText<6>("ABC  "));
  // A longer text is compared as it would be stored: cut at the width.
  EXPECT_TRUE(FixedText<3>("XYZ") == "XYZW");
}

TEST(FixedText, InnerBlanksAreKept) {
  const FixedText<10> t = "A B  ";
  EXPECT_EQ(t.clipped(), "A B");
  EXPECT_EQ(StripLeadingBlanks("  x y "), "x y ");
}

TEST(FixedText, IsExactlyItsWidthInARecord) {
  EXPECT_EQ(sizeof(FixedText<255>), 255u);
  EXPECT_TRUE(std::is_trivially_copyable_v<FixedText<13>>);
}

}  // namespace
}  // namespace lumbra
