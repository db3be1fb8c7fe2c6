#include "presentation/edit_view_columns.h"

namespace tallyform::presentation {

std::span<const EditViewColumn> EditViewColumns(model::DocumentKind kind) {
  static constexpr EditViewColumn kList[] = {
      {"№", kRowNumber, true},   {"Зона", 0, false}, {"Поз.обозначение", 1, false},
      {"Наименование", 2, true}, {"Кол.", 3, false}, {"Примечание", 4, false},
  };
  static constexpr EditViewColumn kBill[] = {
      {"№", kRowNumber, true},   {"Наименование", 1, true},
      {"Код ОКП", 2, false},     {"Обозначение документа на поставку", 3, false},
      {"Поставщик", 4, false},   {"Куда входит (обозначение)", 5, false},
      {"на изделие", 6, false},  {"в комплекты", 7, false},
      {"на регулир.", 8, false}, {"всего", 9, false},
      {"Примечание", 10, false},
  };
  static constexpr EditViewColumn kSimpleBill[] = {
      {"№", kRowNumber, false}, {"Наименование", 1, true}, {"Номинал", 2, true},
      {"Кол.", 3, false},       {"Корпус", 4, true},       {"Примечание", 5, false},
  };
  switch (kind) {
    case model::DocumentKind::kElementList:
      return kList;
    case model::DocumentKind::kPurchasedBill:
      return kBill;
    case model::DocumentKind::kSimpleBill:
      return kSimpleBill;
  }
  return kList;
}

int EditViewColumnOf(model::DocumentKind kind, int cell) {
  const std::span<const EditViewColumn> columns = EditViewColumns(kind);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].cell == cell) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tallyform::presentation
