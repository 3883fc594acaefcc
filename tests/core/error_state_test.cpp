#include "core/error_state.h"

#include <gtest/gtest.h>

#include "core/error_texts.h"

namespace lumbra {
namespace {

TEST(ErrorState, KnownCodeSetsItsText) {
  SetErrorState(8);
  EXPECT_EQ(ERRORCODE(), 8);
  EXPECT_EQ(ERROR(), "Insufficient Memory");
  ClearErrorState();
  EXPECT_EQ(ERRORCODE(), 0);
  EXPECT_EQ(ERROR(), "");
}

TEST(ErrorState, UnknownCodeUsesTheUnknownText) {
  SetErrorState(12345);
  EXPECT_EQ(ERROR(), "Unknown Error Posted : 12345");
}

TEST(ErrorState, CodeZeroIsTheLastSystemErrorPlus300) {
  SetLastSystemErrorQuery([]() -> std::uint32_t { return 5; });
  SetErrorState(0);
  EXPECT_EQ(ERRORCODE(), 305);
  EXPECT_EQ(ERROR(), "Access Denied");
  SetLastSystemErrorQuery(nullptr);
}

TEST(ErrorState, LongTextsAreCutAt79) {
  SetErrorTextLookup([](std::int32_t, bool* found) {
    *found = true;
    return std::string("   ") + std::string(100, 'x');
  });
  SetErrorState(2);
  EXPECT_EQ(ERROR(), std::string(79, 'x'));
  SetErrorTextLookup(nullptr);
}

TEST(ErrorTexts, TableIsCompleteAndOrdered) {
  EXPECT_EQ(ErrorTexts().size(), 173u);
  for (std::size_t i = 1; i < ErrorTexts().size(); ++i)
    EXPECT_LT(ErrorTexts()[i - 1].code, ErrorTexts()[i].code);
  EXPECT_STREQ(FindErrorText(403), "Termination caused by signal.  (User break or Floating point)");
  EXPECT_STREQ(FindErrorText(350), "Not Supported ");
  EXPECT_EQ(FindErrorText(6), nullptr);
}

}  // namespace
}  // namespace lumbra
