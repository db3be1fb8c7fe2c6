#pragma once
// The rules every fill keeps, checked on a document filled from generated designs (random_designs.h), for
// the property tests and the fuzz target alike:
//
//   - every sheet has the rows of its geometry, texts stand only above its empty rows at the end, and every
//     following sheet has something written on it; the first sheet's title block counts the sheets;
//   - every element is counted once: in the list of elements its designator stands in exactly one row,
//     alone or inside a range ("R1...R4", "R1, R2"), the row's quantity counts the designators, and the
//     numbers of each prefix ascend from row to row; in the bills the quantities of each name add up to the
//     number of its elements, in a row per unit at most;
//   - a heading that follows written rows leaves the gap between groups above it;
//   - in the simple bill the items are numbered 1, 2, ... in order and in the order of the prepared list, a
//     section (the heading of active components) begins only on the first sheet or at the top of a section
//     sheet, and with separate lists the sheet where a section begins records its file.

#include <cstddef>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/document.h"
#include "document/fill_bill.h"
#include "document/fill_simple_bill.h"
#include "elements/element_order.h"
#include "model/attributes.h"
#include "model/category.h"
#include "support/random_designs.h"
#include "text/case_fold.h"
#include "text/numbers.h"

namespace tallyform::testing {

namespace detail {

// Splits a generated designator into its letters and its number ("LED12": "LED", 12); false when it is no
// letters followed by digits.
inline bool SplitDesignator(std::string_view designator, std::string& prefix, int& number) {
  const std::size_t digits = designator.find_first_of("0123456789");
  if (digits == 0 || digits == std::string_view::npos) return false;
  if (designator.find_first_not_of("0123456789", digits) != std::string_view::npos) return false;
  prefix = std::string(designator.substr(0, digits));
  number = text::Atoi(designator.substr(digits));
  return true;
}

// Adds the designators a cell text names ("R7", "R1, R2", "R1...R4", joined lines of such) to `out`; false
// when a part is neither a designator nor an ascending range of one prefix.
inline bool ExpandDesignators(std::string_view text, std::vector<std::string>& out) {
  for (bool more = true; more;) {
    const std::size_t comma = text.find(", ");
    const std::string_view part = text.substr(0, comma);
    more = comma != std::string_view::npos;
    if (more) text.remove_prefix(comma + 2);
    std::string first_prefix, last_prefix;
    int first = 0, last = 0;
    const std::size_t dots = part.find("...");
    if (dots == std::string_view::npos) {
      if (!SplitDesignator(part, first_prefix, first)) return false;
      out.emplace_back(part);
      continue;
    }
    if (!SplitDesignator(part.substr(0, dots), first_prefix, first) ||
        !SplitDesignator(part.substr(dots + 3), last_prefix, last) || first_prefix != last_prefix ||
        first >= last) {
      return false;
    }
    for (int n = first; n <= last; ++n) out.push_back(first_prefix + std::to_string(n));
  }
  return true;
}

}  // namespace detail

/// Reads a filled document back and lists every rule of the fills it breaks, one line each.
class FillInvariants {
 public:
  /// `designs` are those the document was filled from, `merge` how a simple bill listed their files.
  FillInvariants(const document::Document& document, std::span<const GeneratedDesign> designs,
                 elements::MergeChoice merge)
      : document_(document), sheets_(document.sheets()), designs_(designs), merge_(merge) {}

  /// The rules broken; empty when the fill keeps them all.
  std::vector<std::string> Violations() {
    problems_.clear();
    const model::FillParameters parameters = document_.fill_parameters();
    gap_ = parameters.gap;
    tail_ = parameters.tail;
    CheckSheets();
    ReadRows();
    CheckGaps();
    switch (document_.kind()) {
      case model::DocumentKind::kElementList:
        CheckDesignators();
        break;
      case model::DocumentKind::kPurchasedBill:
        CheckQuantities();
        CheckOrder();
        break;
      case model::DocumentKind::kSimpleBill:
        CheckQuantities();
        CheckOrder();
        CheckSections();
        break;
    }
    return problems_;
  }

 private:
  struct Item {
    std::size_t sheet = 0;
    int row = 0;
    std::string number, designator, name, quantity;
  };
  struct Heading {
    std::size_t sheet = 0;
    int row = 0;
    std::string text;
    int above = -1;             ///< the row of the last text above it on the sheet, when not a heading
    std::size_t next_item = 0;  ///< the index of the item after it
  };

  static std::string Where(std::size_t sheet, int row) {
    return "sheet " + std::to_string(sheet + 1) + " row " + std::to_string(row);
  }
  void Fail(std::string problem) { problems_.push_back(std::move(problem)); }

  void CheckSheets() {
    const model::KindLayout& layout = model::LayoutOf(document_.kind());
    const std::size_t count = sheets_.sheet_count();
    const document::CTableRows& first = sheets_.sheet(0);
    if (first.title_field(document::TitleField::kSheetCount) != std::to_string(count))
      Fail("the sheet count reads \"" + first.title_field(document::TitleField::kSheetCount) + "\" for " +
           std::to_string(count) + " sheets");
    if (count > 1 && first.title_field(document::TitleField::kSheetNumber) != "1")
      Fail("the first of " + std::to_string(count) + " sheets is not numbered 1");
    for (std::size_t s = 0; s < count; ++s) {
      const document::CTableRows& table = sheets_.sheet(s);
      if (s > 0 && table.top_offset() != layout.following_top_offset &&
          table.top_offset() != layout.section_top_offset) {
        Fail("sheet " + std::to_string(s + 1) + " starts at " + std::to_string(table.top_offset()));
      }
      const int rows = sheets_.BodyHeightFor(s, table.top_offset()) / model::kRowHeight;
      if (static_cast<int>(table.row_count()) != rows)
        Fail("sheet " + std::to_string(s + 1) + " has " + std::to_string(table.row_count()) + " rows, not " +
             std::to_string(rows));
      const int usable = static_cast<int>(table.row_count()) - tail_;
      bool written = false;
      for (std::size_t r = 0; r < table.row_count(); ++r) {
        for (const document::CCell& cell : table.row(r).cells()) {
          // The heading of no unit is empty, but written (the sheets after the first are new).
          written = written || cell.attributes() != 0;
          if (cell.IsEmpty()) continue;
          written = true;
          if (static_cast<int>(r) >= usable)
            Fail("\"" + cell.text() + "\" at " + Where(s, static_cast<int>(r)) + " of " +
                 std::to_string(table.row_count()) + " lies in the empty rows at the end");
        }
      }
      if (s > 0 && !written) Fail("sheet " + std::to_string(s + 1) + " is empty");
    }
  }

  // Splits the rows, in reading order, into headings and items: an item starts at the row of its quantity
  // and takes the lines of its name and designator down to the next item or heading.
  void ReadRows() {
    items_.clear();
    headings_.clear();
    const model::DocumentKind kind = document_.kind();
    int number_column = -1, designator_column = -1, name_column = 1, quantity_column = 3;
    if (kind == model::DocumentKind::kElementList) {
      designator_column = 1;
      name_column = 2;
    } else if (kind == model::DocumentKind::kPurchasedBill) {
      quantity_column = document::FindBillColumns(document_.data().headings).quantity_column;
    } else {
      number_column = 0;
    }
    const auto text = [](const document::CRow& row, int column) -> const std::string& {
      static const std::string none;
      return column < 0 || static_cast<std::size_t>(column) >= row.cell_count()
                 ? none
                 : row.cell(static_cast<std::size_t>(column)).text();
    };

    bool in_item = false;
    for (std::size_t s = 0; s < sheets_.sheet_count(); ++s) {
      const document::CTableRows& table = sheets_.sheet(s);
      int last_written = -1;
      bool last_was_heading = false;
      for (std::size_t index = 0; index < table.row_count(); ++index) {
        const document::CRow& row = table.row(index);
        const int r = static_cast<int>(index);
        bool empty = true;
        for (const document::CCell& cell : row.cells()) empty = empty && cell.IsEmpty();
        if (empty) continue;
        const document::CCell& name = row.cell(static_cast<std::size_t>(name_column));
        const bool heading = !name.IsEmpty() && name.attributes() == document::kFillHeading;
        if (heading) {
          in_item = false;
          headings_.push_back({s, r, name.text(), last_was_heading ? -1 : last_written, items_.size()});
          for (const document::CCell& cell : row.cells()) {
            if (&cell != &name && !cell.IsEmpty())
              Fail("\"" + cell.text() + "\" beside a heading at " + Where(s, r));
          }
        } else {
          if (!text(row, quantity_column).empty()) {
            in_item = true;
            items_.push_back({s, r, text(row, number_column), {}, {}, text(row, quantity_column)});
          } else if (!text(row, number_column).empty()) {
            Fail("a number without a quantity at " + Where(s, r));
          }
          if (!in_item) {
            Fail("a text outside any item at " + Where(s, r));
          } else {
            items_.back().designator += text(row, designator_column);
            items_.back().name += name.text();
          }
        }
        last_written = r;
        last_was_heading = heading;
      }
    }
  }

  // A heading below written rows of another group leaves the gap above it. Elements of no known kind have
  // no group, so the heading of a unit that begins with one follows a lone element without the gap.
  void CheckGaps() {
    std::map<std::string, std::string, std::less<>> group_of;
    const bool list = document_.kind() == model::DocumentKind::kElementList;
    if (list) {
      const std::string_view designator_role = document_.data().roles[model::kRoleDesignator];
      for (const auto& element : document_.data().elements.storage())
        group_of[std::string(element->Get(designator_role))] = element->Get(model::kGroup);
    }
    for (const Heading& heading : headings_) {
      if (heading.above < 0 || heading.row - heading.above - 1 >= gap_) continue;
      if (list && heading.next_item < items_.size()) {
        std::vector<std::string> named;
        detail::ExpandDesignators(items_[heading.next_item].designator, named);
        if (!named.empty() && group_of[named.front()].empty()) continue;
      }
      Fail("the heading \"" + heading.text + "\" at " + Where(heading.sheet, heading.row) + " follows row " +
           std::to_string(heading.above) + " with a gap of " + std::to_string(gap_));
    }
  }

  // List of elements: each designator in exactly one row, each row's quantity the number it names, and the
  // numbers of each prefix ascending from row to row (the files sort in the order of the designs, whose
  // numbers run on, and each file in natural designator order).
  void CheckDesignators() {
    std::map<std::string, int> seen;
    for (const GeneratedDesign& design : designs_) {
      for (const GeneratedElement& e : design.elements) seen[e.designator] = 0;
    }
    std::map<std::string, int> last_number;  // by prefix
    for (const Item& item : items_) {
      std::vector<std::string> named;
      if (!detail::ExpandDesignators(item.designator, named)) {
        Fail("\"" + item.designator + "\" at " + Where(item.sheet, item.row) + " is no designator or range");
        continue;
      }
      if (item.quantity != std::to_string(named.size()))
        Fail("\"" + item.designator + "\" at " + Where(item.sheet, item.row) + " has the quantity " +
             item.quantity);
      for (const std::string& designator : named) {
        const auto found = seen.find(designator);
        if (found == seen.end()) {
          Fail(designator + " at " + Where(item.sheet, item.row) + " is no element");
        } else {
          ++found->second;
        }
        std::string prefix;
        int number = 0;
        if (!detail::SplitDesignator(designator, prefix, number)) continue;
        const auto [last, first] = last_number.try_emplace(prefix, number);
        if (!first && number <= last->second)
          Fail(designator + " at " + Where(item.sheet, item.row) + " follows " + prefix +
               std::to_string(last->second));
        last->second = number;
      }
    }
    for (const auto& [designator, times] : seen) {
      if (times != 1) Fail(designator + " stands in " + std::to_string(times) + " rows");
    }
  }

  // Bills: the quantities of a name add up to its elements, in at most one row per unit they go into (equal
  // neighbours of two units join before the merge, which keeps units apart).
  void CheckQuantities() {
    struct Count {
      long long elements = 0;
      std::set<std::string> units;
      long long quantity = 0;
      int rows = 0;
    };
    std::map<std::string, Count> counts;
    for (const GeneratedDesign& design : designs_) {
      for (const GeneratedElement& e : design.elements) {
        Count& count = counts[text::Fold(e.name)];
        ++count.elements;
        count.units.insert(design.unit);
      }
    }
    for (const Item& item : items_) {
      const auto found = counts.find(text::Fold(item.name));
      if (found == counts.end()) {
        Fail("\"" + item.name + "\" at " + Where(item.sheet, item.row) + " names no element");
        continue;
      }
      found->second.quantity += text::Atoi(item.quantity);
      ++found->second.rows;
    }
    for (const auto& [name, count] : counts) {
      if (count.quantity != count.elements || count.rows < 1 ||
          count.rows > static_cast<int>(count.units.size()))
        Fail("\"" + name + "\": " + std::to_string(count.quantity) + " in " + std::to_string(count.rows) +
             " rows for " + std::to_string(count.elements) + " elements of " +
             std::to_string(count.units.size()) + " units");
    }
  }

  // Bills: the items stand in the order of the prepared list; the simple bill numbers them as they come.
  void CheckOrder() {
    prepared_ = document_.data().elements;
    document::PreparePurchased(prepared_, document_.data().roles);
    const std::string_view name_role = document_.data().roles[model::kRoleName];
    if (items_.size() != prepared_.count())
      Fail(std::to_string(items_.size()) + " items for " + std::to_string(prepared_.count()) + " prepared");
    for (std::size_t i = 0; i < items_.size() && i < prepared_.count(); ++i) {
      const Item& item = items_[i];
      if (item.name != prepared_.at(i).Get(name_role))
        Fail("item " + std::to_string(i + 1) + " at " + Where(item.sheet, item.row) + " reads \"" +
             item.name + "\"");
      if (document_.kind() == model::DocumentKind::kSimpleBill && item.number != std::to_string(i + 1))
        Fail("item " + std::to_string(i + 1) + " at " + Where(item.sheet, item.row) + " is numbered " +
             item.number);
    }
  }

  // Simple bill: where sections begin, and what their sheets record.
  void CheckSections() {
    const model::KindLayout& layout = model::LayoutOf(document_.kind());
    const std::string_view section_heading = model::CategoryName(model::kSectionCategory);
    std::vector<bool> begins(sheets_.sheet_count(), false);
    std::vector<std::string> files(sheets_.sheet_count());
    for (const Heading& heading : headings_) {
      if (heading.text != section_heading) continue;
      const document::CTableRows& table = sheets_.sheet(heading.sheet);
      if (heading.sheet > 0 && (heading.row != 0 || table.top_offset() != layout.section_top_offset))
        Fail("a section begins at " + Where(heading.sheet, heading.row) + " of a sheet starting at " +
             std::to_string(table.top_offset()));
      begins[heading.sheet] = true;
      // The section's file is that of the first item after its heading.
      for (std::size_t i = 0; i < items_.size() && i < prepared_.count(); ++i) {
        if (std::pair(items_[i].sheet, items_[i].row) > std::pair(heading.sheet, heading.row)) {
          files[heading.sheet] = std::string(prepared_.at(i).Get(model::kFile));
          break;
        }
      }
    }
    for (std::size_t s = 0; s < sheets_.sheet_count(); ++s) {
      const document::CTableRows& table = sheets_.sheet(s);
      if (table.section_start() != begins[s])
        Fail("sheet " + std::to_string(s + 1) +
             (begins[s] ? " begins a section without its mark" : " is marked as a section start"));
      if (s > 0 && table.top_offset() == layout.section_top_offset &&
          layout.section_top_offset != layout.following_top_offset && !begins[s]) {
        Fail("sheet " + std::to_string(s + 1) + " has the section header but begins no section");
      }
      std::string expected;
      if (begins[s] && merge_ == elements::MergeChoice::kSeparateLists) expected = files[s];
      if (table.section_file() != expected && table.section_file() != document::ShortenedPath(expected))
        Fail("sheet " + std::to_string(s + 1) + " records the file \"" + table.section_file() + "\", not \"" +
             expected + "\"");
    }
  }

  const document::Document& document_;
  const document::SheetSet& sheets_;
  std::span<const GeneratedDesign> designs_;
  elements::MergeChoice merge_;
  int gap_ = 0;
  int tail_ = 0;
  std::vector<Item> items_;
  std::vector<Heading> headings_;
  elements::ComponentList prepared_;
  std::vector<std::string> problems_;
};

}  // namespace tallyform::testing
