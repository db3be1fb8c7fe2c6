#include "model/attributes.h"

namespace tallyform::model {
namespace {
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
}  // namespace

Roles DefaultRoles() {
  return {std::string(kRefDes), std::string(kType), std::string(kValue), std::string(kSupplyDoc),
          std::string(kPattern)};
}

std::string_view DesignatorPrefix(std::string_view designator) {
  if (designator.empty()) return {};
  std::size_t n = 1;
  if (designator.size() > 1 && !IsDigit(designator[1])) {
    n = 2;
    if (designator.size() > 2 && !IsDigit(designator[2])) n = 3;
  }
  return designator.substr(0, n);
}

}  // namespace tallyform::model
