#include "elements/default_headings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tallyform::elements {
namespace {

using document::DocumentKind;

TEST(DefaultHeadingsTest, EachKindMapsTheAttributesInItsRoleSlots) {
  Roles roles = DefaultRoles();
  roles[kRoleDesignator] = "Ref";
  roles[kRoleName] = "Name";
  roles[kRoleValue] = "Nominal";
  roles[kRoleSupplyDoc] = "Spec";
  const archive::StringMap kept{{"Other", "x"}, {"Name", "old"}};

  archive::StringMap list = kept;
  ApplyDefaultHeadings(list, roles, DocumentKind::kElementList);
  EXPECT_EQ(list, (archive::StringMap{{"Other", "x"},
                                      {"Ref", std::string(kHeadingDesignator)},
                                      {"Name", std::string(kHeadingName)},
                                      {std::string(kQuantity), std::string(kHeadingQuantity)}}));

  archive::StringMap bill = kept;
  ApplyDefaultHeadings(bill, roles, DocumentKind::kPurchasedBill);
  EXPECT_EQ(bill, (archive::StringMap{{"Other", "x"},
                                      {"Name", std::string(kHeadingName)},
                                      {"Spec", std::string(kHeadingSupplyDoc)},
                                      {std::string(kGoesInto), std::string(kHeadingUnit)},
                                      {std::string(kQuantity), std::string(kHeadingPerProduct)}}));

  archive::StringMap simple = kept;
  ApplyDefaultHeadings(simple, roles, DocumentKind::kSimpleBill);
  EXPECT_EQ(simple, (archive::StringMap{{"Other", "x"},
                                        {"Name", std::string(kHeadingName)},
                                        {"Nominal", std::string(kHeadingNominal)},
                                        {"Pattern", std::string(kHeadingPackage)},
                                        {std::string(kQuantity), std::string(kHeadingQuantity)}}));
}

TEST(DefaultHeadingsTest, OfferedTitlesStartWithNoColumnAndHoldEveryDefault) {
  for (DocumentKind kind :
       {DocumentKind::kElementList, DocumentKind::kPurchasedBill, DocumentKind::kSimpleBill}) {
    const auto offered = OfferedHeadings(kind);
    ASSERT_FALSE(offered.empty());
    EXPECT_EQ(offered.front(), "");
    archive::StringMap defaults;
    ApplyDefaultHeadings(defaults, DefaultRoles(), kind);
    for (const auto& [attribute, heading] : defaults) {
      EXPECT_NE(std::find(offered.begin(), offered.end(), heading), offered.end()) << attribute;
    }
  }
  EXPECT_EQ(OfferedHeadings(DocumentKind::kPurchasedBill).size(), 12u);
}

}  // namespace
}  // namespace tallyform::elements
