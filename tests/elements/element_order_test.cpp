#include "elements/element_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "model/category.h"
#include "support/fake_ports.h"
#include "text/case_fold.h"
#include "text/literal.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;
using model::DocumentKind;
using Ids = std::vector<std::string>;

int Sign(int v) {
  return (v > 0) - (v < 0);
}

ComponentList MakeList(const std::vector<std::pair<std::string, std::string>>& designators_and_files) {
  ComponentList list;
  for (std::size_t i = 0; i < designators_and_files.size(); ++i) {
    auto e = std::make_unique<Element>();
    e->Set("RefDes", designators_and_files[i].first);
    e->Set(model::kFile, designators_and_files[i].second);
    e->Set("id", std::to_string(i));
    list.Append(std::move(e));
  }
  return list;
}

Ids IdsOf(const ComponentList& list) {
  Ids ids;
  for (const auto& e : list.storage()) ids.emplace_back(e->Get("id"));
  return ids;
}

Ids DesignatorsOf(const ComponentList& list) {
  Ids out;
  for (const auto& e : list.storage()) out.emplace_back(e->Get("RefDes"));
  return out;
}

// The order written out the long way: the keys of the kind one after another, and an insertion sort that
// moves each element back past every earlier element that is not less than it.
int ReferenceCompare(model::DocumentKind kind, MergeChoice merge, const Element& a, const Element& b) {
  const std::string_view da = a.Get("RefDes"), db = b.Get("RefDes");
  const int files = text::CompareBytes(a.Get(model::kFile), b.Get(model::kFile));
  if (kind == model::DocumentKind::kPurchasedBill) {
    if (int c = text::CompareBytes(model::DesignatorPrefix(da), model::DesignatorPrefix(db)); c != 0)
      return c;
  }
  if (kind == model::DocumentKind::kSimpleBill && merge == MergeChoice::kOneList) {
    const int c =
        model::CategoryKey(model::DesignatorPrefix(da)) - model::CategoryKey(model::DesignatorPrefix(db));
    if (c != 0) return c;
  }
  if (files != 0) return files;
  return CompareDesignators(kind, da, db);
}

Ids ReferenceSort(const ComponentList& list, model::DocumentKind kind, MergeChoice merge) {
  std::vector<const Element*> v;
  for (const auto& e : list.storage()) v.push_back(e.get());
  for (std::size_t i = 1; i < v.size(); ++i) {
    const Element* e = v[i];
    std::size_t j = i;
    while (j > 0 && ReferenceCompare(kind, merge, *v[j - 1], *e) >= 0) --j;
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(j), e);
  }
  Ids ids;
  for (const Element* e : v) ids.emplace_back(e->Get("id"));
  return ids;
}

TEST(ElementOrderTest, ComparesDesignatorsNaturally) {
  const auto list = model::DocumentKind::kElementList;
  EXPECT_LT(CompareDesignators(list, "R2", "R10"), 0);
  EXPECT_LT(CompareDesignators(list, "DD3", "DD12"), 0);
  EXPECT_LT(CompareDesignators(list, "C1", "R1"), 0);
  EXPECT_EQ(CompareDesignators(list, "R1A", "R1B"), 0);
  EXPECT_EQ(CompareDesignators(list, "R12345", "R1234"), 0);
  // Three letters, as two: the number after them decides when the letters are equal, the texts otherwise.
  EXPECT_LT(CompareDesignators(list, "LED2", "LED10"), 0);
  EXPECT_LT(CompareDesignators(list, "MOV3", "MOV12"), 0);
  EXPECT_EQ(CompareDesignators(list, "LED12345", "LED1234"), 0);
  EXPECT_LT(CompareDesignators(list, "LE10", "LED1"), 0);  // a digit in the third place is no letter
  EXPECT_LT(CompareDesignators(list, "LE9", "LE10"), 0);
  EXPECT_GT(CompareDesignators(list, "LEX1", "LED10"), 0);
  EXPECT_GT(CompareDesignators(list, "LEd9", "LED10"), 0);  // third letters differing in case: texts
  EXPECT_EQ(CompareDesignators(list, "LE", "LED1"), 0);     // two characters: no third letter to compare
  EXPECT_LT(CompareDesignators(list, "c9", "R1"), 0);       // different first letters compare ignoring case
  EXPECT_GT(CompareDesignators(list, "R10", "R9"), 0);
  // The simple bill puts the category first: a microcircuit before a capacitor.
  EXPECT_LT(CompareDesignators(model::DocumentKind::kSimpleBill, "DD1", "C1"), 0);
  EXPECT_GT(CompareDesignators(list, "DD1", "C1"), 0);

  EXPECT_EQ(model::CategoryKey("DA"), 110);
  EXPECT_EQ(model::CategoryKey("VD"), 140);
  EXPECT_EQ(model::CategoryKey("CA"), 600);
  EXPECT_EQ(model::CategoryKey("MOV"), 252);
  EXPECT_EQ(model::CategoryKey("MO"), 600);
  EXPECT_EQ(model::CategoryKey("GB"), 510);
  EXPECT_EQ(model::CategoryName(6), "Разное"_cp);
}

// A letter in the second place of only one designator made each of R1 and RK1 greater than the other, so
// the order of a list depended on where they stood.
TEST(ElementOrderTest, DesignatorComparisonIsAntisymmetric) {
  const std::vector<std::string> pool{"R",   "R1",   "RK1", "RK",   "R-1",  "Rk2", "r1",   "R1A",  "RR",
                                      "R10", "RK10", "",    "C1",   "CA1",  "C",   "DD3",  "D12",  "VT1",
                                      "LE",  "LE1",  "LED", "LED1", "LEd2", "LEX", "LE-1", "LED10"};
  for (model::DocumentKind kind : {model::DocumentKind::kElementList, model::DocumentKind::kSimpleBill}) {
    for (const std::string& a : pool) {
      for (const std::string& b : pool) {
        EXPECT_EQ(Sign(CompareDesignators(kind, a, b)), -Sign(CompareDesignators(kind, b, a)))
            << a << " " << b;
      }
    }
  }
  EXPECT_LT(CompareDesignators(model::DocumentKind::kElementList, "R1", "RK1"), 0);
  ComponentList one = MakeList({{"RK1", "f"}, {"R1", "f"}});
  ComponentList other = MakeList({{"R1", "f"}, {"RK1", "f"}});
  SortElements(one, model::DefaultRoles(), model::DocumentKind::kElementList);
  SortElements(other, model::DefaultRoles(), model::DocumentKind::kElementList);
  EXPECT_EQ(DesignatorsOf(one), (Ids{"R1", "RK1"}));
  EXPECT_EQ(DesignatorsOf(other), (Ids{"R1", "RK1"}));
}

TEST(ElementOrderTest, SortsByTheKeysOfEachKind) {
  const model::Roles roles = model::DefaultRoles();
  // List of elements: the file first, then natural designator order within it.
  ComponentList list =
      MakeList({{"R10", "B"}, {"R2", "B"}, {"C1", "B"}, {"R1", "A"}, {"DD12", "A"}, {"DD3", "A"}});
  SortElements(list, roles, model::DocumentKind::kElementList);
  EXPECT_EQ(DesignatorsOf(list), (Ids{"DD3", "DD12", "R1", "C1", "R2", "R10"}));

  // Bill: the prefix decides before the file.
  ComponentList bill = MakeList({{"R1", "A"}, {"C1", "B"}, {"C2", "A"}});
  SortElements(bill, roles, model::DocumentKind::kPurchasedBill);
  EXPECT_EQ(IdsOf(bill), (Ids{"2", "1", "0"}));

  // Simple bill in one list: the category key decides before the file.
  ComponentList merged = MakeList({{"XS1", "A"}, {"R1", "A"}, {"C1", "B"}, {"DA1", "C"}});
  SortElements(merged, roles, model::DocumentKind::kSimpleBill, MergeChoice::kOneList);
  EXPECT_EQ(DesignatorsOf(merged), (Ids{"DA1", "C1", "R1", "XS1"}));
  // In separate lists the file decides first, then the category within it.
  ComponentList separate = MakeList({{"R1", "B"}, {"DA1", "B"}, {"XS1", "A"}, {"C1", "A"}});
  SortElements(separate, roles, model::DocumentKind::kSimpleBill, MergeChoice::kSeparateLists);
  EXPECT_EQ(DesignatorsOf(separate), (Ids{"C1", "XS1", "DA1", "R1"}));

  // Elements equal in every key come out in reverse order of their places.
  ComponentList ties = MakeList({{"R1", "A"}, {"R1", "A"}, {"R1A", "A"}, {"C1", "A"}});
  SortElements(ties, roles, model::DocumentKind::kElementList);
  EXPECT_EQ(IdsOf(ties), (Ids{"3", "2", "1", "0"}));

  // The designator is the designator-role attribute.
  model::Roles other = roles;
  other[model::kRoleDesignator] = "Pos";
  ComponentList by_role = MakeList({{"R1", "A"}, {"R2", "A"}});
  by_role.at(0).Set("Pos", "C2");
  by_role.at(1).Set("Pos", "C1");
  SortElements(by_role, other, model::DocumentKind::kElementList);
  EXPECT_EQ(IdsOf(by_role), (Ids{"1", "0"}));
}

// The fast sort must give the insertion sort's order exactly, ties included; designators that do not
// compare consistently must still come out as the insertion sort leaves them.
TEST(ElementOrderTest, MatchesTheInsertionSortOnRandomLists) {
  // KL1 stands for designators with a digit in the third place (KL17), beside the letters of KLS and KLa.
  const std::vector<std::string> consistent{"R",  "C", "DD",  "DA", "VT",  "VD",  "XS", "L",
                                            "HL", "G", "MOV", "SA", "KLS", "KLa", "KL1"};
  // Each family breaks one of the conditions under which designators compare consistently; the odd ones
  // break none. The last one is random designators of one to six characters.
  const std::string zero(1, '\0');
  const std::vector<std::vector<std::string>> families{
      {"r", "c", "dd", "Dd"},
      {"RK", "Rk", "DD", "Dd"},
      {"R", "RK", "R-", "C"},  // alone at times
      {"", zero, zero + "K"},
      {"x", "MO1", "1", "R_", std::string("Д"_cp), std::string("д"_cp)},
      {"KLs", "KLA", "MOv"},
      {"KL", "MO", "KL2"},  // alone at times
      {},
  };
  const std::size_t alone_at_times[] = {2, 6};
  const std::size_t random_characters = families.size() - 1;
  const std::vector<std::string> files{"A.sch", "B.sch", "b.sch", "/x/C.pcb"};
  std::mt19937 random(20240305);
  auto pick = [&](const std::vector<std::string>& pool) { return pool[random() % pool.size()]; };
  auto random_designator = [&] {
    static constexpr std::string_view kFirst = "KkM", kOther = "KLlSsAa019-";
    std::string designator(1, kFirst[random() % kFirst.size()]);
    for (std::size_t length = 1 + random() % 6; designator.size() < length;)
      designator += kOther[random() % kOther.size()];
    return designator;
  };
  const std::pair<model::DocumentKind, MergeChoice> orders[] = {
      {model::DocumentKind::kElementList, MergeChoice::kSeparateLists},
      {model::DocumentKind::kPurchasedBill, MergeChoice::kSeparateLists},
      {model::DocumentKind::kSimpleBill, MergeChoice::kOneList},
      {model::DocumentKind::kSimpleBill, MergeChoice::kSeparateLists},
  };
  int insertion_runs = 0;
  for (int round = 0; round < 450; ++round) {
    const std::size_t family = round % (families.size() + 1);
    const bool mixed = family < families.size();
    std::vector<std::pair<std::string, std::string>> input;
    const std::size_t n = 1 + random() % 60;
    for (std::size_t i = 0; i < n; ++i) {
      const bool odd = mixed && random() % 3 == 0;
      if (odd && family == random_characters) {
        input.emplace_back(random_designator(), pick(files));
        continue;
      }
      std::string designator = odd ? pick(families[family]) : pick(consistent);
      const unsigned tail = random() % 8;
      const bool alone = odd && tail < 2 && std::ranges::count(alone_at_times, family) > 0;
      if (tail < 6 && !alone) designator += std::to_string(random() % (tail < 5 ? 15 : 123456));
      if (tail == 5) designator += "A";
      input.emplace_back(designator, pick(files));
    }
    for (const auto& [kind, merge] : orders) {
      ComponentList list = MakeList(input);
      const Ids expected = ReferenceSort(list, kind, merge);
      const SortMethod method = SortElements(list, model::DefaultRoles(), kind, merge);
      ASSERT_EQ(IdsOf(list), expected) << "round " << round << " kind " << static_cast<int>(kind);
      if (!mixed) {
        EXPECT_EQ(method, SortMethod::kMerge) << "round " << round;
      }
      insertion_runs += method == SortMethod::kInsertion;
    }
  }
  EXPECT_GT(insertion_runs, 450);  // the families did exercise the exact insertion sort
}

TEST(ElementOrderTest, SortChoiceIsAskedForASimpleBillOfSeveralFiles) {
  const model::Roles roles = model::DefaultRoles();
  const archive::StringMap two_files{{"A", ""}, {"B", ""}};
  testing::FakePrompts prompts;
  MergeChoice merge = MergeChoice::kSeparateLists;

  // One file, or another kind: sorted at once, nothing asked.
  ComponentList list = MakeList({{"R1", "B"}, {"DA1", "A"}});
  EXPECT_TRUE(SortWithChoice(list, roles, model::DocumentKind::kSimpleBill, {{"A", ""}}, merge, prompts));
  EXPECT_TRUE(SortWithChoice(list, roles, model::DocumentKind::kElementList, two_files, merge, prompts));
  EXPECT_TRUE(prompts.calls.empty());

  // Cancel leaves the choice and the order.
  list = MakeList({{"R1", "A"}, {"DA1", "B"}});
  prompts.sort_answers = {std::nullopt, 0};
  EXPECT_FALSE(SortWithChoice(list, roles, model::DocumentKind::kSimpleBill, two_files, merge, prompts));
  EXPECT_EQ(merge, MergeChoice::kSeparateLists);
  EXPECT_EQ(DesignatorsOf(list), (Ids{"R1", "DA1"}));
  ASSERT_EQ(prompts.Texts(testing::FakePrompts::Kind::kSortChoice), (Ids{std::string(kSortChoiceText)}));
  EXPECT_EQ(prompts.last_sort_choices,
            (Ids{std::string(kSortChoiceOneList), std::string(kSortChoiceSeparateLists)}));
  EXPECT_EQ(prompts.last_sort_current, 1u);

  // Choosing the first entry merges the files into one list, ordered by category.
  EXPECT_TRUE(SortWithChoice(list, roles, model::DocumentKind::kSimpleBill, two_files, merge, prompts));
  EXPECT_EQ(merge, MergeChoice::kOneList);
  EXPECT_EQ(DesignatorsOf(list), (Ids{"DA1", "R1"}));
}

}  // namespace
}  // namespace tallyform::elements
