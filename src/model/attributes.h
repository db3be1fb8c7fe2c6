#pragma once
// The attribute names with fixed meanings, and the designator prefix.

#include <array>
#include <string>
#include <string_view>

#include "text/literal.h"

namespace tallyform::model {

using namespace tallyform::text::literals;

inline constexpr std::string_view kRefDes = "RefDes";
inline constexpr std::string_view kType = "Type";
inline constexpr std::string_view kValue = "Value";
inline constexpr std::string_view kPattern = "Pattern";
inline constexpr std::string_view kSupplyDoc = "ТУ"_cp;
inline constexpr std::string_view kQuantity = "Количество"_cp;
inline constexpr std::string_view kGoesInto = "Куда входит"_cp;
inline constexpr std::string_view kFile = "Файл"_cp;
inline constexpr std::string_view kGroup = "Group";
inline constexpr std::string_view kRowsInGroup = "RowsInGroup";

/// The five attribute roles, in slot order.
enum RoleSlot { kRoleDesignator = 0, kRoleName = 1, kRoleValue = 2, kRoleSupplyDoc = 3, kRolePackage = 4 };
using Roles = std::array<std::string, 5>;

/// The default roles: "RefDes", "Type", "Value", "ТУ", "Pattern".
Roles DefaultRoles();

/// The one to three leading characters of a designator that select its kind: the first character; the
/// second when it is not a decimal digit; the third when the second was taken and it is not a digit.
std::string_view DesignatorPrefix(std::string_view designator);

/// True when the designator begins with a decimal digit (such components are never elements).
inline bool BeginsWithDigit(std::string_view designator) {
  return !designator.empty() && designator.front() >= '0' && designator.front() <= '9';
}

}  // namespace tallyform::model
