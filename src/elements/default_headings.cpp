#include "elements/default_headings.h"

#include <array>
#include <string>

namespace tallyform::elements {
namespace {

constexpr std::array<std::string_view, 6> kListHeadings{"",           kHeadingZone,     kHeadingDesignator,
                                                        kHeadingName, kHeadingQuantity, kHeadingNote};
constexpr std::array<std::string_view, 12> kBillHeadings{"",
                                                         kHeadingLineNumber,
                                                         kHeadingName,
                                                         kHeadingProductCode,
                                                         kHeadingSupplyDoc,
                                                         kHeadingSupplier,
                                                         kHeadingUnit,
                                                         kHeadingPerProduct,
                                                         kHeadingInSets,
                                                         kHeadingForTuning,
                                                         kHeadingTotal,
                                                         kHeadingNote};
constexpr std::array<std::string_view, 7> kSimpleBillHeadings{
    "", kHeadingNumber, kHeadingName, kHeadingNominal, kHeadingQuantity, kHeadingPackage, kHeadingNote};

void SetHeading(archive::StringMap& headings, std::string_view attribute, std::string_view heading) {
  headings.insert_or_assign(std::string(attribute), std::string(heading));
}

}  // namespace

std::span<const std::string_view> OfferedHeadings(model::DocumentKind kind) {
  switch (kind) {
    case model::DocumentKind::kElementList:
      return kListHeadings;
    case model::DocumentKind::kPurchasedBill:
      return kBillHeadings;
    case model::DocumentKind::kSimpleBill:
      return kSimpleBillHeadings;
  }
  return {};
}

void ApplyDefaultHeadings(archive::StringMap& headings, const model::Roles& roles, model::DocumentKind kind) {
  switch (kind) {
    case model::DocumentKind::kElementList:
      SetHeading(headings, roles[model::kRoleDesignator], kHeadingDesignator);
      SetHeading(headings, roles[model::kRoleName], kHeadingName);
      SetHeading(headings, model::kQuantity, kHeadingQuantity);
      break;
    case model::DocumentKind::kPurchasedBill:
      SetHeading(headings, roles[model::kRoleName], kHeadingName);
      SetHeading(headings, roles[model::kRoleSupplyDoc], kHeadingSupplyDoc);
      SetHeading(headings, model::kGoesInto, kHeadingUnit);
      SetHeading(headings, model::kQuantity, kHeadingPerProduct);
      break;
    case model::DocumentKind::kSimpleBill:
      SetHeading(headings, roles[model::kRoleName], kHeadingName);
      SetHeading(headings, roles[model::kRoleValue], kHeadingNominal);
      SetHeading(headings, roles[model::kRolePackage], kHeadingPackage);
      SetHeading(headings, model::kQuantity, kHeadingQuantity);
      break;
  }
}

}  // namespace tallyform::elements
