#include "elements/value_normalization.h"

#include <gtest/gtest.h>

#include "text/literal.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;

struct Case {
  char kind;
  std::string_view read;
  std::string_view stored;
};

void ExpectAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(NormalizeValue(c.kind, c.read), c.stored) << c.kind << " " << c.read;
  }
}

TEST(ValueNormalizationTest, CapacitorValuesGetFaradUnits) {
  ExpectAll({
      {'C', "100", "100 пФ"_cp},
      {'C', "0,1", "0,1 мкФ"_cp},
      {'C', "4.7u", "4.7мкФ"_cp},
      {'C', "22p", "22пФ"_cp},
      {'C', "100n", "100нФ"_cp},
      {'C', "0,1мк"_cp, "0,1мкФ"_cp},
      {'C', "", " пФ"_cp},  // the empty value counts as a bare number
      {'C', "1 000", "1 000 пФ"_cp},
      {'C', "0.1mkF", "0.1мкФ"_cp},  // a Latin unit cuts the value at its first letter
      {'C', "0.1uF", "0.1мкФ"_cp},
      {'C', "10mkF 16V", "10мкФ"_cp},
      {'C', "47мкФ"_cp, "47мкФ"_cp},
      {'C', "2мк2мк"_cp, "2мкФ2мкФ"_cp},  // every "мк" is completed
      {'C', "10н"_cp, "10нФ"_cp},
      {'C', "10нФ"_cp, "10нФ"_cp},
      {'C', "1000 pF", "1000 пФ"_cp},
      {'C', "NC", "NC"},
  });
}

TEST(ValueNormalizationTest, ResistorValuesGetOhmUnits) {
  ExpectAll({
      {'R', "470", "470 Ом"_cp},
      {'R', "4R7", "4,7 Ом"_cp},
      {'R', "4k7", "4,7 кОм"_cp},
      {'R', "10k", "10 кОм"_cp},
      {'R', "10кОм"_cp, "10кОм"_cp},
      {'R', "1M5", "1,5 МОм"_cp},
      {'R', "", " Ом"_cp},
      {'R', "10R", "10R"},  // "R" at the end is no separator
      {'R', "4к7"_cp, "4,7 кОм"_cp},
      {'R', "10к"_cp, "10 кОм"_cp},
      {'R', "10 кОм"_cp, "10 кОм"_cp},
      {'R', "2М2"_cp, "2,2 МОм"_cp},
      {'R', "1МОм"_cp, "1МОм"_cp},
      {'R', "3M", "3 МОм"_cp},
      {'R', "47K", "47K"},  // only the lower-case Latin "k" is a multiplier
  });
}

TEST(ValueNormalizationTest, OtherKindsKeepTheirValues) {
  ExpectAll({{'L', "10u", "10u"}, {'V', "470", "470"}, {'\0', "4k7", "4k7"}});
}

}  // namespace
}  // namespace tallyform::elements
