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

std::span<const std::string_view> OfferedHeadings(document::DocumentKind kind) {
  switch (kind) {
    case document::DocumentKind::kElementList:
      return kListHeadings;
    case document::DocumentKind::kPurchasedBill:
      return kBillHeadings;
    case document::DocumentKind::kSimpleBill:
      return kSimpleBillHeadings;
  }
  return {};
}

void ApplyDefaultHeadings(archive::StringMap& headings, const Roles& roles, document::DocumentKind kind) {
  switch (kind) {
    case document::DocumentKind::kElementList:
      SetHeading(headings, roles[kRoleDesignator], kHeadingDesignator);
      SetHeading(headings, roles[kRoleName], kHeadingName);
      SetHeading(headings, kQuantity, kHeadingQuantity);
      break;
    case document::DocumentKind::kPurchasedBill:
      SetHeading(headings, roles[kRoleName], kHeadingName);
      SetHeading(headings, roles[kRoleSupplyDoc], kHeadingSupplyDoc);
      SetHeading(headings, kGoesInto, kHeadingUnit);
      SetHeading(headings, kQuantity, kHeadingPerProduct);
      break;
    case document::DocumentKind::kSimpleBill:
      SetHeading(headings, roles[kRoleName], kHeadingName);
      SetHeading(headings, roles[kRoleValue], kHeadingNominal);
      SetHeading(headings, roles[kRolePackage], kHeadingPackage);
      SetHeading(headings, kQuantity, kHeadingQuantity);
      break;
  }
}

}  // namespace tallyform::elements
