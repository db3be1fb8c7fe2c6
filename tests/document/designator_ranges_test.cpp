#include "document/designator_ranges.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "elements/element_order.h"
#include "model/document_kind.h"
#include "text/case_fold.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;
using elements::ComponentList;
using elements::Element;

const model::Roles kRoles = model::DefaultRoles();

std::unique_ptr<Element> MakeElement(
    std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  auto e = std::make_unique<Element>();
  for (const auto& [name, value] : pairs) e->Set(name, value);
  return e;
}

// A resistor or other part as the readers leave it: one piece, one row.
std::unique_ptr<Element> Part(std::string_view designator, std::string_view type, std::string_view value = "",
                              std::string_view unit = "") {
  return MakeElement({{"RefDes", designator},
                      {"Type", type},
                      {"Value", value},
                      {"Pattern", "0805"},
                      {model::kQuantity, "1"},
                      {model::kGoesInto, unit},
                      {"Group", designator.substr(0, 1)},
                      {"RowsInGroup", "1"}});
}

std::vector<std::pair<std::string, std::string>> Summary(const ComponentList& list) {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t i = 0; i < list.count(); ++i) {
    out.emplace_back(list.at(i).Get("RefDes"), list.at(i).Get(model::kQuantity));
  }
  return out;
}

using Rows = std::vector<std::pair<std::string, std::string>>;

TEST(JoinDesignatorsTest, JoinsRunsOfNeighboursIntoRangesAndPairs) {
  ComponentList three;
  for (const char* d : {"R1", "R2", "R3"}) three.Append(Part(d, "C2-33", "10k"));
  JoinDesignators(three, kRoles, true);
  EXPECT_EQ(Summary(three), (Rows{{"R1...R3", "3"}}));

  ComponentList pair;
  pair.Append(Part("R1", "C2-33", "10k"));
  pair.Append(Part("R2", "c2-33", "10K"));  // names and values compare ignoring case
  pair.Append(Part("C1", "K10-17", "0,1"));
  JoinDesignators(pair, kRoles, true);
  EXPECT_EQ(Summary(pair), (Rows{{"R1, R2", "2"}, {"C1", "1"}}));

  // The newest designator replaces whatever followed the first; numbers need not be consecutive.
  ComponentList gaps;
  for (const char* d : {"R1", "R5", "R9", "R12"}) gaps.Append(Part(d, "C2-33", "10k"));
  gaps.at(1).Set(model::kSupplyDoc, "other");  // the supply document is not compared
  JoinDesignators(gaps, kRoles, true);
  EXPECT_EQ(Summary(gaps), (Rows{{"R1...R12", "4"}}));
}

TEST(JoinDesignatorsTest, LeavesApartWhatDiffersOrIsNotNeighbouring) {
  ComponentList list;
  list.Append(Part("R1", "C2-33", "10k"));
  list.Append(Part("R2", "C2-33", "20k"));
  list.Append(Part("R3", "C2-33", "10k"));
  list.Append(Part("VD1", "KD522"));
  list.Append(Part("VT1", "KD522"));  // prefixes differ
  list.Append(Part("R4", "C2-33", "10k", "A"));
  list.Append(Part("R5", "C2-33", "10k", "B"));  // another unit
  ComponentList other_kinds = list;

  JoinDesignators(list, kRoles, true);
  EXPECT_EQ(
      Summary(list),
      (Rows{{"R1", "1"}, {"R2", "1"}, {"R3", "1"}, {"VD1", "1"}, {"VT1", "1"}, {"R4", "1"}, {"R5", "1"}}));
  // The bills do not look at the unit.
  JoinDesignators(other_kinds, kRoles, false);
  EXPECT_EQ(Summary(other_kinds).back(), (std::pair<std::string, std::string>{"R4, R5", "2"}));

  ComponentList one;
  one.Append(Part("R1", "C2-33", "10k"));
  const ComponentList before = one;
  JoinDesignators(one, kRoles, true);
  OrderAndMergePurchased(one, kRoles);
  CountGroupRows(one);
  EXPECT_EQ(one, before);
}

// Designators of three letters read as the number 0 after two, so the sort reversed LED1 to LED11 and the
// join made one row "LED11...LED1".
TEST(JoinDesignatorsTest, JoinsThreeLetterDesignatorsInNaturalOrderAfterTheSort) {
  ComponentList list;
  for (const char* d : {"LED1", "LED2", "LED3", "LED10", "LED11"}) list.Append(Part(d, "L-53HD"));
  ComponentList apart = list;
  elements::SortElements(list, kRoles, model::DocumentKind::kElementList);
  JoinDesignators(list, kRoles, true);
  EXPECT_EQ(Summary(list), (Rows{{"LED1...LED11", "5"}}));

  // Only neighbours with equal attributes join: another name for LED3 splits the run.
  apart.at(2).Set("Type", "L-53GD");
  elements::SortElements(apart, kRoles, model::DocumentKind::kElementList);
  JoinDesignators(apart, kRoles, true);
  EXPECT_EQ(Summary(apart), (Rows{{"LED1, LED2", "2"}, {"LED3", "1"}, {"LED10, LED11", "2"}}));
}

TEST(OrderAndMergePurchasedTest, MergesEqualItemsAnywhereEarlierDesignatorFirst) {
  ComponentList list;
  list.Append(Part("R7", "Res", "1k"));
  list.Append(Part("R2", "Cap-like", "1k"));
  list.Append(Part("R3", "RES", "1K"));
  list.at(0).Set(model::kQuantity, "2");
  list.at(2).Set(model::kQuantity, "3");
  OrderAndMergePurchased(list, kRoles);
  // Sorted by name within the group first (Cap-like before Res), then R3 merged into R7.
  EXPECT_EQ(Summary(list), (Rows{{"R2", "1"}, {"R7, R3", "5"}}));
}

TEST(OrderAndMergePurchasedTest, SortsWithinEachGroupRunOnlyAndKeepsEqualNamesInOrder) {
  ComponentList list;
  list.Append(Part("R1", "b", "1"));
  list.Append(Part("R2", "A", "2"));
  list.Append(Part("R3", "a", "3"));
  list.Append(Part("C1", "a", "4"));  // a new group: not moved before the resistors
  list.Append(Part("R4", "0", "5"));  // a run of its own after the capacitor
  OrderAndMergePurchased(list, kRoles);
  EXPECT_EQ(Summary(list), (Rows{{"R2", "1"}, {"R3", "1"}, {"R1", "1"}, {"C1", "1"}, {"R4", "1"}}));
}

TEST(CountGroupRowsTest, EveryElementOfARunGetsTheRunLength) {
  ComponentList list;
  for (const char* d : {"R1", "R2", "R3", "C1", "D1", "D2", "X1"}) list.Append(Part(d, d));
  list.at(6).Set("RowsInGroup", "lone");  // a last run of one is left alone
  CountGroupRows(list);
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < list.count(); ++i) rows.emplace_back(list.at(i).Get("RowsInGroup"));
  EXPECT_EQ(rows, (std::vector<std::string>{"3", "3", "3", "1", "2", "2", "lone"}));
}

// ---- The straightforward pairwise scans, element by element, for comparison ----

void ReferenceJoin(ComponentList& list, bool same_unit_only) {
  for (std::size_t i = 0; i + 1 < list.count();) {
    Element& a = list.at(i);
    const Element& b = list.at(i + 1);
    if (same_unit_only && a.Get(model::kGoesInto) != b.Get(model::kGoesInto)) {
      ++i;
      continue;
    }
    const bool joinable =
        model::DesignatorPrefix(a.Get("RefDes")) == model::DesignatorPrefix(b.Get("RefDes")) &&
        text::EqualNoCase(a.Get("Type"), b.Get("Type")) &&
        text::EqualNoCase(a.Get("Value"), b.Get("Value")) &&
        text::EqualNoCase(a.Get("Pattern"), b.Get("Pattern"));
    if (!joinable) {
      ++i;
      continue;
    }
    std::string d(a.Get("RefDes"));
    const std::string e(b.Get("RefDes"));
    std::size_t p = d.find(", ");
    if (p == std::string::npos) p = d.find("...");
    d = p == std::string::npos ? d + ", " + e : d.substr(0, p) + "..." + e;
    a.Set("RefDes", d);
    a.Set(model::kQuantity, text::FormatD(text::Atoi(a.Get(model::kQuantity)) + 1LL));
    list.Remove(i + 1);
  }
}

void ReferenceOrderAndMerge(ComponentList& list) {
  for (std::size_t i = 1; i < list.count(); ++i) {
    const std::string group(list.at(i).Get("Group"));
    std::size_t s = i;
    while (s > 0 && list.at(s - 1).Get("Group") == group) --s;
    for (std::size_t k = s; k < i; ++k) {
      if (text::CompareNoCase(list.at(k).Get("Type"), list.at(i).Get("Type")) > 0) {
        auto moved = std::move(list.Remove(i).front());
        list.Insert(k, std::move(moved));
        break;
      }
    }
  }
  for (std::size_t i = 1; i < list.count(); ++i) {
    const Element& e = list.at(i);
    for (std::size_t k = 0; k < i; ++k) {
      Element& f = list.at(k);
      if (text::EqualNoCase(f.Get("Type"), e.Get("Type")) &&
          text::EqualNoCase(f.Get("Value"), e.Get("Value")) &&
          text::EqualNoCase(f.Get("Pattern"), e.Get("Pattern")) &&
          text::EqualNoCase(f.Get(model::kGoesInto), e.Get(model::kGoesInto))) {
        f.Set("RefDes", std::string(f.Get("RefDes")) + ", " + std::string(e.Get("RefDes")));
        f.Set(model::kQuantity, text::FormatD(static_cast<long long>(text::Atoi(f.Get(model::kQuantity))) +
                                              text::Atoi(e.Get(model::kQuantity))));
        list.Remove(i);
        --i;
        break;
      }
    }
  }
}

void ReferenceCountGroupRows(ComponentList& list) {
  const std::size_t count = list.count();
  if (count < 2) return;
  for (std::size_t i = 0;;) {
    Element& a = list.at(i);
    std::size_t j = i + 1;
    for (; j < count && list.at(j).Get("Group") == a.Get("Group"); ++j) {
      a.Set("RowsInGroup", text::FormatD(text::Atoi(a.Get("RowsInGroup")) + 1LL));
    }
    for (std::size_t k = i + 1; k < j; ++k) list.at(k).Set("RowsInGroup", a.Get("RowsInGroup"));
    if (j >= count - 1) break;
    i = j;
  }
}

ComponentList RandomList(std::mt19937& random) {
  static const char* const kPrefixes[] = {"R", "C", "VD", "VT"};
  static const char* const kNames[] = {"res", "RES", "Res", "cap", "Ёлка"};
  static const char* const kValues[] = {"10k", "10K", "1k", ""};
  static const char* const kUnits[] = {"", "A", "a"};
  static const char* const kQuantities[] = {"1", "1", "2", "", "x"};
  ComponentList list;
  const int count = static_cast<int>(random() % 40);
  for (int i = 0; i < count; ++i) {
    const std::string prefix = kPrefixes[random() % 4];
    auto e = std::make_unique<Element>();
    // Some designators carry their own ", " or "..." to exercise the range rule.
    const unsigned shape = random() % 10;
    std::string designator = prefix + std::to_string(i + 1);
    if (shape == 0) designator += ", x";
    if (shape == 1) designator += "...y";
    e->Set("RefDes", designator);
    std::string name = kNames[random() % 5];
    if (name == "Ёлка") name = std::string("ёЛКА"_cp);
    e->Set("Type", name);
    if (random() % 5 != 0) e->Set("Value", kValues[random() % 4]);  // sometimes absent
    e->Set("Pattern", random() % 2 ? "0805" : "0805 ");
    e->Set(model::kQuantity, kQuantities[random() % 5]);
    e->Set(model::kGoesInto, kUnits[random() % 3]);
    e->Set("Group", random() % 3 ? prefix : std::string("R"));
    e->Set("RowsInGroup", random() % 6 ? "1" : "2");
    list.Append(std::move(e));
  }
  return list;
}

TEST(DesignatorRangesTest, MatchesThePairwiseScansOnRandomLists) {
  std::mt19937 random(20240520);
  for (int round = 0; round < 400; ++round) {
    const ComponentList original = RandomList(random);
    for (bool same_unit_only : {true, false}) {
      ComponentList fast = original;
      ComponentList slow = original;
      JoinDesignators(fast, kRoles, same_unit_only);
      ReferenceJoin(slow, same_unit_only);
      ASSERT_EQ(fast, slow) << "join, round " << round;

      ComponentList fast_bill = fast;
      OrderAndMergePurchased(fast_bill, kRoles);
      ReferenceOrderAndMerge(slow);
      ASSERT_EQ(fast_bill, slow) << "order and merge, round " << round;

      ComponentList fast_rows = original;
      ComponentList slow_rows = original;
      CountGroupRows(fast_rows);
      ReferenceCountGroupRows(slow_rows);
      ASSERT_EQ(fast_rows, slow_rows) << "group rows, round " << round;
    }
  }
}

}  // namespace
}  // namespace tallyform::document
