// A section that began at the top of the sheet after a full one was filled with the row count of the plain
// sheet it replaced (33 rows) on its section sheet (32 rows), into the empty rows at its end and, without
// them, past its last row.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "model/category.h"
#include "support/fill_invariants.h"
#include "support/random_designs.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;
using elements::MergeChoice;
using namespace tallyform::model;
using testing::GeneratedDesign;

class FillBoundsTest : public ::testing::Test {
 protected:
  // A design of `resistors` different resistors, and one of forty different microcircuits.
  static std::vector<GeneratedDesign> ResistorsThenMicrocircuits(int resistors) {
    std::vector<GeneratedDesign> designs{{"/pcb1/board.sch", "", {}}, {"/pcb2/board.sch", "", {}}};
    for (int i = 1; i <= resistors; ++i) {
      const std::string name = std::string("Р1-12-0,125-"_cp) + std::to_string(i) + std::string(" кОм"_cp);
      designs[0].elements.push_back({"R" + std::to_string(i), name, "", "0805", "", ""});
    }
    for (int i = 1; i <= 40; ++i) {
      const std::string name = std::string("К561ЛА"_cp) + std::to_string(i);
      designs[1].elements.push_back({"DD" + std::to_string(i), name, "", "DIP14", "", ""});
    }
    return designs;
  }

  // Fills the two designs as a simple bill with separate lists, checks that no sheet holds a text in its
  // empty rows at the end and that the fill keeps its rules, and tells whether the section of the
  // microcircuits began at the top of the second sheet, as a section sheet of 32 rows filled to its end.
  bool FillAndCheck(int resistors, int gap, int tail) {
    const std::vector<GeneratedDesign> designs = ResistorsThenMicrocircuits(resistors);
    const app::DocumentSession session = testing::FillDesigns(
        designs, DocumentKind::kSimpleBill, MergeChoice::kSeparateLists, {gap, tail}, ports_.tools());
    const Document& document = session.document();
    const document::SheetSet& sheets = document.sheets();
    for (std::size_t s = 0; s < sheets.sheet_count(); ++s) {
      EXPECT_LT(LastWrittenRow(sheets.sheet(s)), static_cast<int>(sheets.sheet(s).row_count()) - tail) << s;
    }
    EXPECT_EQ(testing::FillInvariants(document, designs, MergeChoice::kSeparateLists).Violations(),
              std::vector<std::string>{});
    const CTableRows& second = sheets.sheet(1);
    if (!second.section_start()) return false;
    EXPECT_EQ(second.cell(0, 1).text(), CategoryName(kSectionCategory));
    EXPECT_EQ(second.row_count(), 32u);
    EXPECT_EQ(LastWrittenRow(second), 31 - tail);
    return true;
  }

  // The last row of the sheet that holds a text.
  static int LastWrittenRow(const CTableRows& sheet) {
    int last = -1;
    for (std::size_t r = 0; r < sheet.row_count(); ++r) {
      for (const CCell& cell : sheet.row(r).cells()) {
        if (!cell.IsEmpty()) last = static_cast<int>(r);
      }
    }
    return last;
  }

  // Fills with 23 to 27 resistors and gaps of 0 to 3; the section begins at the top of the second sheet
  // whenever its headings no longer fit below the resistors.
  void FillAll(int tail) {
    int restarted = 0;
    for (int resistors = 23; resistors <= 27; ++resistors) {
      for (int gap = 0; gap <= 3; ++gap) {
        SCOPED_TRACE("resistors " + std::to_string(resistors) + ", gap " + std::to_string(gap));
        if (FillAndCheck(resistors, gap, tail)) ++restarted;
      }
    }
    EXPECT_GE(restarted, 10);
  }

  testing::TempFolder folder_;
  testing::FakeFillPorts ports_{folder_ / "errors.log"};
};

TEST_F(FillBoundsTest, ARestartedSectionSheetKeepsItsEmptyRowAtTheEnd) {
  FillAll(1);
}

TEST_F(FillBoundsTest, ARestartedSectionSheetWithoutEmptyRowsEndsAtItsLastRow) {
  FillAll(0);
}

}  // namespace
}  // namespace tallyform::document
