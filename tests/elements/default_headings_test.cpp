#include "elements/default_headings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tallyform::elements {
namespace {

using model::DocumentKind;

TEST(DefaultHeadingsTest, EachKindMapsTheAttributesInItsRoleSlots) {
  model::Roles roles = model::DefaultRoles();
  roles[model::kRoleDesignator] = "Ref";
  roles[model::kRoleName] = "Name";
  roles[model::kRoleValue] = "Nominal";
  roles[model::kRoleSupplyDoc] = "Spec";
  const archive::StringMap kept{{"Other", "x"}, {"Name", "old"}};

  archive::StringMap list = kept;
  ApplyDefaultHeadings(list, roles, model::DocumentKind::kElementList);
  EXPECT_EQ(list, (archive::StringMap{{"Other", "x"},
                                      {"Ref", std::string(kHeadingDesignator)},
                                      {"Name", std::string(kHeadingName)},
                                      {std::string(model::kQuantity), std::string(kHeadingQuantity)}}));

  archive::StringMap bill = kept;
  ApplyDefaultHeadings(bill, roles, model::DocumentKind::kPurchasedBill);
  EXPECT_EQ(bill, (archive::StringMap{{"Other", "x"},
                                      {"Name", std::string(kHeadingName)},
                                      {"Spec", std::string(kHeadingSupplyDoc)},
                                      {std::string(model::kGoesInto), std::string(kHeadingUnit)},
                                      {std::string(model::kQuantity), std::string(kHeadingPerProduct)}}));

  archive::StringMap simple = kept;
  ApplyDefaultHeadings(simple, roles, model::DocumentKind::kSimpleBill);
  EXPECT_EQ(simple, (archive::StringMap{{"Other", "x"},
                                        {"Name", std::string(kHeadingName)},
                                        {"Nominal", std::string(kHeadingNominal)},
                                        {"Pattern", std::string(kHeadingPackage)},
                                        {std::string(model::kQuantity), std::string(kHeadingQuantity)}}));
}

TEST(DefaultHeadingsTest, OfferedTitlesStartWithNoColumnAndHoldEveryDefault) {
  for (model::DocumentKind kind : {model::DocumentKind::kElementList, model::DocumentKind::kPurchasedBill,
                                   model::DocumentKind::kSimpleBill}) {
    const auto offered = OfferedHeadings(kind);
    ASSERT_FALSE(offered.empty());
    EXPECT_EQ(offered.front(), "");
    archive::StringMap defaults;
    ApplyDefaultHeadings(defaults, model::DefaultRoles(), kind);
    for (const auto& [attribute, heading] : defaults) {
      EXPECT_NE(std::find(offered.begin(), offered.end(), heading), offered.end()) << attribute;
    }
  }
  EXPECT_EQ(OfferedHeadings(model::DocumentKind::kPurchasedBill).size(), 12u);
}

}  // namespace
}  // namespace tallyform::elements
