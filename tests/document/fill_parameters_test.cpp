#include "document/fill_parameters.h"

#include <gtest/gtest.h>

#include <string>

#include "document/table_rows.h"
#include "model/errors.h"
#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

std::string RefusalOf(model::DocumentKind kind, model::FillParameters parameters) {
  try {
    model::Validate(kind, parameters);
  } catch (const BadUsage& e) {
    return e.message();
  }
  return "";
}

TEST(FillParametersTest, EnteredValuesOutsideTheirRangeAreRefusedNamingTheRange) {
  // A tail must leave room for a heading and its element on a following sheet: rows - 3.
  EXPECT_EQ(model::MaxTail(model::DocumentKind::kElementList), 29);
  EXPECT_EQ(model::MaxTail(model::DocumentKind::kPurchasedBill), 27);
  EXPECT_EQ(model::MaxTail(model::DocumentKind::kSimpleBill), 29);  // a section sheet holds 32 rows

  EXPECT_EQ(RefusalOf(model::DocumentKind::kElementList, {0, 0}), "");
  EXPECT_EQ(RefusalOf(model::DocumentKind::kElementList, {model::kMaxGap, 29}), "");
  EXPECT_EQ(RefusalOf(model::DocumentKind::kElementList, {-1, 1}),
            "Число пустых строк между группами должно быть от 0 до 99."_cp);
  EXPECT_EQ(RefusalOf(model::DocumentKind::kElementList, {100, 1}),
            "Число пустых строк между группами должно быть от 0 до 99."_cp);
  EXPECT_EQ(RefusalOf(model::DocumentKind::kElementList, {3, 30}),
            "Число пустых строк в конце листа должно быть от 0 до 29."_cp);
  EXPECT_EQ(RefusalOf(model::DocumentKind::kPurchasedBill, {3, -1}),
            "Число пустых строк в конце листа должно быть от 0 до 27."_cp);
  EXPECT_EQ(RefusalOf(model::DocumentKind::kSimpleBill, {3, 29}), "");
  EXPECT_EQ(RefusalOf(model::DocumentKind::kSimpleBill, {3, 30}),
            "Число пустых строк в конце листа должно быть от 0 до 29."_cp);

  CTableRows table;
  EXPECT_THROW(SetFillParameters(table, model::DocumentKind::kPurchasedBill, {3, 28}), BadUsage);
  EXPECT_EQ(table.empty_rows_at_end(), 1);  // a refused value is not stored
  SetFillParameters(table, model::DocumentKind::kPurchasedBill, {0, 27});
  EXPECT_EQ(FillParametersOf(table, model::DocumentKind::kPurchasedBill), (model::FillParameters{0, 27}));
  // Read for a kind with fewer rows, the same table's tail is brought into that kind's range.
  table.SetEmptyRowsAtEnd(31);
  EXPECT_EQ(FillParametersOf(table, model::DocumentKind::kElementList), (model::FillParameters{0, 29}));
}

}  // namespace
}  // namespace tallyform::document
