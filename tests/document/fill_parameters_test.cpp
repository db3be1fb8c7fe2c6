#include "document/fill_parameters.h"

#include <gtest/gtest.h>

#include <string>

#include "document/table_rows.h"
#include "ports/errors.h"
#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

std::string RefusalOf(DocumentKind kind, FillParameters parameters) {
  try {
    Validate(kind, parameters);
  } catch (const BadUsage& e) {
    return e.message();
  }
  return "";
}

TEST(FillParametersTest, EnteredValuesOutsideTheirRangeAreRefusedNamingTheRange) {
  // A tail must leave room for a heading and its element on a following sheet: rows - 3.
  EXPECT_EQ(MaxTail(DocumentKind::kElementList), 29);
  EXPECT_EQ(MaxTail(DocumentKind::kPurchasedBill), 27);
  EXPECT_EQ(MaxTail(DocumentKind::kSimpleBill), 29);  // a section sheet holds 32 rows

  EXPECT_EQ(RefusalOf(DocumentKind::kElementList, {0, 0}), "");
  EXPECT_EQ(RefusalOf(DocumentKind::kElementList, {kMaxGap, 29}), "");
  EXPECT_EQ(RefusalOf(DocumentKind::kElementList, {-1, 1}),
            "Число пустых строк между группами должно быть от 0 до 99."_cp);
  EXPECT_EQ(RefusalOf(DocumentKind::kElementList, {100, 1}),
            "Число пустых строк между группами должно быть от 0 до 99."_cp);
  EXPECT_EQ(RefusalOf(DocumentKind::kElementList, {3, 30}),
            "Число пустых строк в конце листа должно быть от 0 до 29."_cp);
  EXPECT_EQ(RefusalOf(DocumentKind::kPurchasedBill, {3, -1}),
            "Число пустых строк в конце листа должно быть от 0 до 27."_cp);
  EXPECT_EQ(RefusalOf(DocumentKind::kSimpleBill, {3, 29}), "");
  EXPECT_EQ(RefusalOf(DocumentKind::kSimpleBill, {3, 30}),
            "Число пустых строк в конце листа должно быть от 0 до 29."_cp);

  CTableRows table;
  EXPECT_THROW(SetFillParameters(table, DocumentKind::kPurchasedBill, {3, 28}), BadUsage);
  EXPECT_EQ(table.empty_rows_at_end(), 1);  // a refused value is not stored
  SetFillParameters(table, DocumentKind::kPurchasedBill, {0, 27});
  EXPECT_EQ(FillParametersOf(table, DocumentKind::kPurchasedBill), (FillParameters{0, 27}));
  // Read for a kind with fewer rows, the same table's tail is brought into that kind's range.
  table.SetEmptyRowsAtEnd(31);
  EXPECT_EQ(FillParametersOf(table, DocumentKind::kElementList), (FillParameters{0, 29}));
}

}  // namespace
}  // namespace tallyform::document
