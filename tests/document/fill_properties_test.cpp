// Fills of made-up designs, several at a time, as every document kind with gaps and tails over their whole
// ranges: each fill must keep the rules of support/fill_invariants.h.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/document_session.h"
#include "document/document.h"
#include "document/fill_parameters.h"
#include "support/fill_invariants.h"
#include "support/random_designs.h"
#include "support/temp_folder.h"

namespace tallyform::document {
namespace {

using elements::MergeChoice;
using namespace tallyform::model;
using testing::GeneratedDesign;

struct Fill {
  DocumentKind kind;
  MergeChoice merge;
  const char* label;
};
constexpr Fill kFills[] = {
    {DocumentKind::kElementList, MergeChoice::kSeparateLists, "list"},
    {DocumentKind::kPurchasedBill, MergeChoice::kSeparateLists, "bill"},
    {DocumentKind::kSimpleBill, MergeChoice::kSeparateLists, "simple bill, separate lists"},
    {DocumentKind::kSimpleBill, MergeChoice::kOneList, "simple bill, one list"},
};

class FillPropertiesTest : public ::testing::Test {
 protected:
  // The rules the document breaks, with what made it, for a failure message; empty when it keeps them.
  static std::string Broken(const Document& document, const std::vector<GeneratedDesign>& designs,
                            const Fill& fill, std::uint32_t seed) {
    const std::vector<std::string> problems =
        testing::FillInvariants(document, designs, fill.merge).Violations();
    if (problems.empty()) return {};
    const FillParameters parameters = document.fill_parameters();
    std::string message = "seed " + std::to_string(seed) + ", " + fill.label + ", gap " +
                          std::to_string(parameters.gap) + ", tail " + std::to_string(parameters.tail) +
                          ", " + std::to_string(document.data().elements.count()) + " elements, " +
                          std::to_string(document.sheets().sheet_count()) + " sheets:";
    for (std::size_t i = 0; i < problems.size() && i < 8; ++i) message += "\n  " + problems[i];
    return message;
  }

  testing::TempFolder folder_;
  testing::FakeFillPorts ports_{folder_ / "errors.log"};
};

TEST_F(FillPropertiesTest, EveryKindKeepsItsRulesOverRandomDesigns) {
  constexpr std::uint32_t kSeeds = 60;
  int sheets = 0;
  for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
    testing::SeededChoices choices(seed);
    const std::vector<GeneratedDesign> designs = testing::GenerateDesigns(choices);
    for (const Fill& fill : kFills) {
      const FillParameters parameters = testing::GenerateParameters(choices, fill.kind);
      const app::DocumentSession session =
          testing::FillDesigns(designs, fill.kind, fill.merge, parameters, ports_.tools());
      const Document& document = session.document();
      sheets += static_cast<int>(document.sheets().sheet_count());
      const std::string broken = Broken(document, designs, fill, seed);
      ASSERT_TRUE(broken.empty()) << broken;
    }
  }
  // The designs run over many sheets, so that sheet ends and sections meet everything else.
  EXPECT_GT(sheets, static_cast<int>(kSeeds) * 8);
}

TEST_F(FillPropertiesTest, FillingAgainWithOtherParametersKeepsTheRules) {
  // A document filled once, then again from its own list with another gap and tail, as the user does
  // after looking at it; undoing the second fill gives back the sheets of the first exactly.
  for (std::uint32_t seed = 1001; seed <= 1012; ++seed) {
    testing::SeededChoices choices(seed);
    const std::vector<GeneratedDesign> designs = testing::GenerateDesigns(choices);
    for (const Fill& fill : kFills) {
      app::DocumentSession session = testing::FillDesigns(
          designs, fill.kind, fill.merge, testing::GenerateParameters(choices, fill.kind), ports_.tools());
      const SheetArray first = CopySheets(session.document().sheets().sheets());
      testing::FillThroughTheSequence(session, session.document().data(),
                                      testing::GenerateParameters(choices, fill.kind), fill.merge,
                                      ports_.tools(), /*sorted=*/true);
      const std::string broken = Broken(session.document(), designs, fill, seed);
      ASSERT_TRUE(broken.empty()) << broken;
      ASSERT_TRUE(session.Undo());
      const SheetArray& undone = session.document().sheets().sheets();
      ASSERT_EQ(undone.size(), first.size()) << "seed " << seed << ", " << fill.label;
      for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_TRUE(*undone[i] == *first[i]) << "seed " << seed << ", " << fill.label << ", sheet " << i;
      }
    }
  }
}

TEST(FillInvariantsTest, ReadsDesignatorRangesAndRefusesWhatIsNone) {
  std::vector<std::string> named;
  EXPECT_TRUE(testing::detail::ExpandDesignators("R1...R4, R7, DD10, DD11", named));
  EXPECT_EQ(named, (std::vector<std::string>{"R1", "R2", "R3", "R4", "R7", "DD10", "DD11"}));
  for (const char* none : {"R4...R2", "R1...C3", "R", "12", "R1, ", "R1..R3", "R1,R2"}) {
    named.clear();
    EXPECT_FALSE(testing::detail::ExpandDesignators(none, named)) << none;
  }
}

}  // namespace
}  // namespace tallyform::document
