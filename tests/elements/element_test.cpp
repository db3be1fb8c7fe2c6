#include "elements/element.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/attributes.h"
#include "text/literal.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;

TEST(DesignatorPrefixTest, TakesUpToThreeLeadingNonDigits) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},        {"12", "1"},   {"C", "C"},     {"R1A", "R"}, {"VD12", "VD"}, {"SA1B", "SA"},
      {"ABCD", "ABC"}, {"DD3", "DD"}, {"XS10", "XS"}, {"R", "R"},   {"1AB", "1AB"}, {"DA", "DA"},
  };
  for (const auto& [designator, prefix] : cases)
    EXPECT_EQ(model::DesignatorPrefix(designator), prefix) << designator;
  EXPECT_EQ(model::DesignatorPrefix("Ключ1"_cp), "Клю"_cp);
  EXPECT_TRUE(model::BeginsWithDigit("12"));
  EXPECT_FALSE(model::BeginsWithDigit("R1"));
  EXPECT_FALSE(model::BeginsWithDigit(""));
}

TEST(ElementTest, SetReplacesInPlaceAndAbsentReadsEmpty) {
  Element e;
  e.Set("RefDes", "R1");
  e.Set(std::string("Value"), std::string("10k"));
  e.Set("RefDes", "R2");
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e.pairs()[0], (Element::Pair{"RefDes", "R2"}));
  EXPECT_EQ(e.Get("Value"), "10k");
  // Names compare byte for byte: another case is another attribute.
  EXPECT_FALSE(e.Has("value"));
  EXPECT_EQ(e.Find("Type"), nullptr);
  EXPECT_EQ(e.Get("Type"), "");

  e.Set("Type", "");
  EXPECT_TRUE(e.Has("Type"));
  EXPECT_TRUE(e.Remove("RefDes"));
  EXPECT_FALSE(e.Remove("RefDes"));
  EXPECT_EQ(e.pairs(), (std::vector<Element::Pair>{{"Value", "10k"}, {"Type", ""}}));
}

TEST(ElementTest, SetAllBehavesAsSetInTurn) {
  Element e;
  e.Set("RefDes", "R1");
  std::vector<Element::Pair> pairs{{"Value", "1k"}, {"RefDes", "R9"}, {"Value", "2k"}, {"Pattern", ""}};
  Element expected = e;
  for (const auto& [name, value] : pairs) expected.Set(name, value);
  e.SetAll(std::move(pairs));
  EXPECT_EQ(e, expected);
  EXPECT_EQ(e.pairs(), (std::vector<Element::Pair>{{"RefDes", "R9"}, {"Value", "2k"}, {"Pattern", ""}}));

  // Many pairs, names long enough to live outside the string object, repeated once each.
  std::vector<Element::Pair> many;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 5000; ++i)
      many.emplace_back("attribute-with-a-long-name-" + std::to_string(i), std::to_string(round));
  }
  Element big;
  big.SetAll(std::move(many));
  ASSERT_EQ(big.size(), 5000u);
  EXPECT_EQ(big.pairs()[4999].first, "attribute-with-a-long-name-4999");
  EXPECT_EQ(big.Get("attribute-with-a-long-name-17"), "1");
}

}  // namespace
}  // namespace tallyform::elements
