#include "valuecheck/value_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "text/literal.h"
#include "valuecheck/series.h"

namespace tallyform::valuecheck {
namespace {

using namespace text::literals;

std::vector<std::string_view> Keys(const SeriesRegistry& registry) {
  std::vector<std::string_view> keys;
  for (const Series& s : registry.in_order()) keys.push_back(s.key);
  return keys;
}

TEST(SeriesTest, RegistriesHoldTheStandardSeriesInTheirEnumerationOrder) {
  const SeriesRegistry resistors = BuildResistorSeries();
  const SeriesRegistry capacitors = BuildCapacitorSeries();
  EXPECT_EQ(Keys(resistors), (std::vector<std::string_view>{"5", "0,5", "20", "1", "10", "2"}));
  EXPECT_EQ(Keys(capacitors), (std::vector<std::string_view>{"5", "0,5", "20", "10"}));

  const std::vector<std::pair<std::string_view, std::size_t>> sizes = {{"5", 24}, {"0,5", 192}, {"20", 6},
                                                                       {"1", 96}, {"10", 12},   {"2", 48}};
  for (const auto& [key, size] : sizes) {
    ASSERT_NE(resistors.Find(key), nullptr) << key;
    const auto& numbers = resistors.Find(key)->numbers;
    EXPECT_EQ(numbers.size(), size) << key;
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << key;
  }
  EXPECT_EQ(resistors.Find("20")->numbers, (std::vector<std::int32_t>{10, 15, 22, 33, 47, 68}));
  EXPECT_EQ(resistors.Find("10")->numbers,
            (std::vector<std::int32_t>{10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82}));
  EXPECT_EQ(capacitors.Find("20")->numbers, (std::vector<std::int32_t>{100, 150, 220, 330, 470, 680}));
  EXPECT_EQ(capacitors.Find("5")->numbers.back(), 910);
  EXPECT_EQ(capacitors.Find("1"), nullptr);
  EXPECT_EQ(capacitors.Find("2"), nullptr);

  // Guards the hand-typed E192 against typos: the rounded geometric step except the published 920.
  const auto& e192 = resistors.Find("0,5")->numbers;
  for (std::size_t i = 0; i < e192.size(); ++i) {
    const auto step =
        static_cast<std::int32_t>(std::lround(100 * std::pow(10.0, static_cast<double>(i) / 192)));
    EXPECT_EQ(e192[i], step == 919 ? 920 : step) << i;
  }
  EXPECT_EQ(resistors.Find("1")->numbers[48], 316);  // the square root of ten
  EXPECT_EQ(resistors.Find("2")->numbers[24], 316);
  EXPECT_EQ(resistors.Find("2")->numbers.back(), 953);
}

TEST(SeriesTest, ToleranceTextsResolveToKeys) {
  const auto r = ComponentClass::kResistor;
  const auto c = ComponentClass::kCapacitor;
  for (std::string_view key : {"20", "10", "5", "1", "2", "0,5"}) EXPECT_EQ(ResolveToleranceKey(r, key), key);
  EXPECT_EQ(ResolveToleranceKey(r, "1,5"), "2");
  EXPECT_EQ(ResolveToleranceKey(r, "0,25"), "0,5");
  EXPECT_EQ(ResolveToleranceKey(r, "0,1"), "0,5");
  EXPECT_EQ(ResolveToleranceKey(r, "±5"_cp), "0,5");  // no digit first
  EXPECT_EQ(ResolveToleranceKey(r, "3"), "5");
  EXPECT_EQ(ResolveToleranceKey(r, "5,0"), "10");  // only the exact text is its own key
  EXPECT_EQ(ResolveToleranceKey(r, "10 кОм±5"_cp), "20");
  EXPECT_EQ(ResolveToleranceKey(r, "19"), "20");
  EXPECT_EQ(ResolveToleranceKey(r, "25"), std::nullopt);
  EXPECT_EQ(ResolveToleranceKey(r, " 5"), "10");

  EXPECT_EQ(ResolveToleranceKey(c, "1"), "5");
  EXPECT_EQ(ResolveToleranceKey(c, "2"), "5");
  EXPECT_EQ(ResolveToleranceKey(c, "0,5"), "0,5");
  EXPECT_EQ(ResolveToleranceKey(c, "7"), "10");
  EXPECT_EQ(ResolveToleranceKey(c, "20"), "20");
  EXPECT_EQ(ResolveToleranceKey(c, "30"), std::nullopt);
}

TEST(SeriesTest, MantissaIsLengthenedToTheFormOfTheResolvedSeries) {
  const auto r = ComponentClass::kResistor;
  const auto c = ComponentClass::kCapacitor;
  EXPECT_EQ(ToSeriesNumber(r, "47", "1"), 470);
  EXPECT_EQ(ToSeriesNumber(r, "47", "0,5"), 470);
  EXPECT_EQ(ToSeriesNumber(r, "47", "5"), 47);
  EXPECT_EQ(ToSeriesNumber(r, "464", "5"), 464);
  // A tolerance of 3 % resolves to E24, so its mantissa stays two-digit and 47 can match.
  EXPECT_EQ(ToSeriesNumber(r, "47", *ResolveToleranceKey(r, "3")), 47);
  EXPECT_EQ(ToSeriesNumber(c, "15", "5"), 150);
  EXPECT_EQ(ToSeriesNumber(c, "", "5"), 0);
  EXPECT_EQ(ToSeriesNumber(c, "1234", "5"), 1234);
}

TEST(ValueParseTest, ToleranceAndValueComeFromTheTypeText) {
  EXPECT_EQ(ExtractTolerance("Р1-12-0,125-10 кОм-5%"_cp), "5");
  EXPECT_EQ(ExtractValueFromType("Р1-12-0,125-10 кОм-5%"_cp), "10 кОм"_cp);
  EXPECT_EQ(ExtractValueFromType("К10-17-1-0,1 мкФ±10%"_cp), "1");  // the tolerance has no "-" of its own
  EXPECT_EQ(ExtractTolerance("Р1-12-0,125-10 кОм±5%"_cp), "10 кОм±5"_cp);
  EXPECT_EQ(ExtractTolerance("Р1-12-0,125-10 кОм-5% -20%"_cp), "5");  // the first "%" counts
  EXPECT_EQ(ExtractTolerance("Р1-12-0,125-10 кОм"_cp), std::nullopt);
  EXPECT_EQ(ExtractTolerance("Р1 5%"_cp), std::nullopt);
  EXPECT_EQ(ExtractTolerance("Р1-5%"_cp), "5");
  EXPECT_EQ(ExtractValueFromType("Р1-5%"_cp), std::nullopt);
  EXPECT_EQ(ExtractValueFromType("--5%"), "");
}

TEST(ValueParseTest, SplitsValuesIntoSignificantDigitsAndLayout) {
  ValueLayout layout = *SplitValue("4,7 кОм"_cp);
  EXPECT_EQ(layout, (ValueLayout{"47", std::string(" кОм"_cp), 3, 2, 1, 0, 0}));

  layout = *SplitValue("0,015 мкФ"_cp);
  EXPECT_EQ(layout.mantissa, "15");
  EXPECT_EQ(layout.numeric_length, 5);
  EXPECT_EQ(layout.separator_position, 1);
  EXPECT_EQ(layout.leading_zeros, 2);
  EXPECT_EQ(layout.significant_digits, 2);

  layout = *SplitValue("100 пФ"_cp);
  EXPECT_EQ(layout, (ValueLayout{"10", std::string(" пФ"_cp), 3, 1, -1, 0, 2}));
  EXPECT_EQ(SplitValue("1 кОм"_cp)->mantissa, SplitValue("10 кОм"_cp)->mantissa);
  EXPECT_EQ(*SplitValue("1,00"), (ValueLayout{"10", "", 4, 1, 1, 0, 2}));
  EXPECT_EQ(SplitValue("4.7k")->mantissa, "47");
  EXPECT_EQ(SplitValue("4.7k")->separator_position, 1);
  EXPECT_EQ(SplitValue("4,7кОм5%"_cp)->unit_suffix, std::string("кОм"_cp));  // stops at the next digit
  EXPECT_EQ(SplitValue("1,2,5")->mantissa, "12,5");                          // a second separator stays

  layout = *SplitValue("0,00 Ом"_cp);
  EXPECT_EQ(layout.mantissa, "");
  EXPECT_EQ(layout.significant_digits, 0);

  EXPECT_EQ(SplitValue(" 4,7 кОм"_cp), std::nullopt);
  EXPECT_EQ(SplitValue("кОм"_cp), std::nullopt);
  EXPECT_EQ(SplitValue(""), std::nullopt);
}

TEST(ValueParseTest, SeriesNumbersAreWrittenInTheEnteredLayout) {
  auto format = [](std::int32_t n, std::string_view value) {
    return FormatSeriesValue(n, *SplitValue(value));
  };
  EXPECT_EQ(format(43, "4,7"), "4,3");
  EXPECT_EQ(format(51, "4,7"), "5,1");
  EXPECT_EQ(format(16, "0,015"), "0,016");
  EXPECT_EQ(format(120, "100"), "120");
  EXPECT_EQ(format(221, "2,2"), "2,21");
  EXPECT_EQ(format(43, "4.7"), "4,3");  // always a comma
  EXPECT_EQ(format(33, "30"), "33");
  EXPECT_EQ(format(15, "200"), "150");
  EXPECT_EQ(format(464, "470"), "464");
  EXPECT_EQ(format(464, "4700"), "4640");
  EXPECT_EQ(format(10, "4"), "1");
  // The decade stays when the number has more digits than the entered integer shows.
  EXPECT_EQ(format(464, "47"), "46,4");
  EXPECT_EQ(format(499, "5"), "4,99");
  // Trailing zeros are restored up to the digits shown, the separator not counted.
  EXPECT_EQ(format(12, "1,00"), "1,20");
  EXPECT_EQ(format(464, "4,70"), "4,64");
  EXPECT_EQ(format(11, "1,10"), "1,10");
}

}  // namespace
}  // namespace tallyform::valuecheck
