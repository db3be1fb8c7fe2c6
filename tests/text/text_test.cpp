#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#include "text/case_fold.h"
#include "text/cp1251.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::text {
namespace {

using namespace literals;

TEST(Cp1251Test, LiteralsAreCompiledToCodePageBytes) {
  constexpr std::string_view heading = "Резисторы"_cp;
  ASSERT_EQ(heading.size(), 9u);
  EXPECT_EQ(static_cast<unsigned char>(heading[0]), 0xd0);  // Р
  EXPECT_EQ(static_cast<unsigned char>("Ёё№"_cp[0]), 0xa8);
  EXPECT_EQ(static_cast<unsigned char>("Ёё№"_cp[1]), 0xb8);
  EXPECT_EQ(static_cast<unsigned char>("Ёё№"_cp[2]), 0xb9);
  EXPECT_EQ("Latin"_cp, "Latin");
}

TEST(Cp1251Test, RoundTripsEveryAssignedByteThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b != 0x98) all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
  EXPECT_EQ(ToUtf8("Конденсатор"_cp), "Конденсатор");
}

TEST(Cp1251Test, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(FromUtf8("R1 ✓ 10Ω"), "R1 ? 10?");
  EXPECT_EQ(FromUtf8("\xff\xfe"), "??");  // not UTF-8 at all
  EXPECT_EQ(FromUtf16(u"Ом\u4e2d"), "Ом?"_cp);
}

TEST(Cp1251Test, RecognisesUtf8InputButNotCodePageText) {
  EXPECT_TRUE(LooksLikeUtf8("Резистор"));
  EXPECT_FALSE(LooksLikeUtf8("Резистор"_cp));
  EXPECT_FALSE(LooksLikeUtf8("plain ASCII"));
  EXPECT_EQ(Cp1251FromUnknown("Резистор"), "Резистор"_cp);
  EXPECT_EQ(Cp1251FromUnknown("Резистор"_cp), "Резистор"_cp);
}

TEST(CaseFoldTest, FoldsLatinAndCyrillicIncludingYo) {
  EXPECT_EQ(Fold("ABC xyz"), "abc xyz");
  EXPECT_EQ(Fold("ЁЖИК Ящик"_cp), "ёжик ящик"_cp);
  EXPECT_TRUE(EqualNoCase("К10-17 ЧИП"_cp, "к10-17 чип"_cp));
  EXPECT_FALSE(EqualNoCase("R1"_cp, "R1 "_cp));
  EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
  EXPECT_EQ(CompareNoCase("ёлка"_cp, "ЁЛКА"_cp), 0);
  EXPECT_GT(CompareBytes("я"_cp, "z"), 0);  // bytes compare unsigned
}

TEST(NumbersTest, AtoiFollowsTheCLibrary) {
  EXPECT_EQ(Atoi("  42abc"), 42);
  EXPECT_EQ(Atoi("-7"), -7);
  EXPECT_EQ(Atoi("+3"), 3);
  EXPECT_EQ(Atoi("abc"), 0);
  EXPECT_EQ(Atoi(""), 0);
  EXPECT_EQ(Atoi("0,25"), 0);
  EXPECT_EQ(Atoi("99999999999999999999"), 2147483647);
  EXPECT_EQ(Atoi("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(Atoll(" 9223372036854775807x"), 9223372036854775807LL);
  EXPECT_EQ(Atoll("99999999999999999999999"), 9223372036854775807LL);
  EXPECT_EQ(Atoll("-9223372036854775808"), -9223372036854775807LL - 1);
  EXPECT_EQ(Atoll("-99999999999999999999999"), -9223372036854775807LL - 1);
}

// A number field takes what the core reads whole, and what a digit more would make a number.
TEST(NumbersTest, ClassifiesWhatANumberFieldHolds) {
  using enum NumberEntry;
  for (const auto& [typed, real, integer] :
       std::initializer_list<std::tuple<const char*, NumberEntry, NumberEntry>>{
           {"0.35", kNumber, kNotNumber},
           {"2.", kNumber, kNotNumber},
           {"-1.5e2", kNumber, kNotNumber},
           {"42", kNumber, kNumber},
           {"-7", kNumber, kNumber},
           {"", kUnfinished, kUnfinished},
           {"-", kUnfinished, kUnfinished},
           {".", kUnfinished, kNotNumber},
           {"1e", kUnfinished, kNotNumber},
           {"1e-", kUnfinished, kNotNumber},
           {"0,35", kNotNumber, kNotNumber},
           {"1 ", kNotNumber, kNotNumber},
           {"abc", kNotNumber, kNotNumber},
           {"inf", kNotNumber, kNotNumber},
       }) {
    EXPECT_EQ(ClassifyNumberEntry(typed, false), real) << typed;
    EXPECT_EQ(ClassifyNumberEntry(typed, true), integer) << typed;
  }
}

TEST(NumbersTest, StrtodStopsAtADecimalComma) {
  std::size_t used = 0;
  EXPECT_DOUBLE_EQ(Strtod("0.35", &used), 0.35);
  EXPECT_EQ(used, 4u);
  EXPECT_DOUBLE_EQ(Strtod("2,5", &used), 2.0);
  EXPECT_EQ(used, 1u);
  EXPECT_DOUBLE_EQ(Strtod(" -1.5e2x"), -150.0);
  EXPECT_DOUBLE_EQ(Strtod("1e"), 1.0);
  EXPECT_DOUBLE_EQ(Strtod("abc", &used), 0.0);
  EXPECT_EQ(used, 0u);
  EXPECT_DOUBLE_EQ(Strtod(".5"), 0.5);
}

TEST(NumbersTest, FormatsLikePrintf) {
  EXPECT_EQ(FormatG(4.0), "4");
  EXPECT_EQ(FormatG(0.2), "0.2");
  EXPECT_EQ(FormatG(0.35), "0.35");
  EXPECT_EQ(FormatG(1234567.0), "1.23457e+06");
  EXPECT_EQ(FormatG(0.00001), "1e-05");
  EXPECT_EQ(FormatG(100000.0), "100000");
  EXPECT_EQ(FormatD(-12), "-12");
}

}  // namespace
}  // namespace tallyform::text
