#include "model/category.h"

#include <array>

#include "text/literal.h"

namespace tallyform::model {

using namespace tallyform::text::literals;

namespace {

constexpr std::array<std::string_view, kLastCategory> kCategoryNames{
    "Активные компоненты"_cp,
    "Пассивные компоненты"_cp,
    "Оптоэлектронные приборы"_cp,
    "Механические компоненты"_cp,
    "Приборы"_cp,
    "Разное"_cp,
};

// Keys of the prefixes that are told apart by their first character alone.
struct FirstCharacterKey {
  char first;
  int key;
};
constexpr std::array<FirstCharacterKey, 14> kLaterFirstCharacterKeys{{
    {'H', 320},
    {'E', 330},
    {'K', 410},
    {'J', 441},
    {'X', 442},
    {'Q', 451},
    {'S', 452},
    {'A', 461},
    {'B', 462},
    {'U', 463},
    {'W', 464},
    {'Y', 465},
    {'G', 510},
    {'P', 550},
}};

}  // namespace

int CategoryKey(std::string_view prefix) {
  const char first = prefix.empty() ? '\0' : prefix.front();
  if (first == 'D') return 110;
  if (prefix == "VT") return 120;
  if (prefix == "VS") return 130;
  if (first == 'V') return 140;
  if (prefix == "C") return 210;
  if (prefix == "R") return 220;
  if (first == 'Z') return 230;
  if (first == 'L') return 241;
  if (first == 'T') return 242;
  if (first == 'F') return 251;
  if (prefix == "MOV") return 252;
  for (const FirstCharacterKey& entry : kLaterFirstCharacterKeys) {
    if (first == entry.first) return entry.key;
  }
  return 600;
}

std::string_view CategoryName(int category) {
  if (category < kFirstCategory || category > kLastCategory) return {};
  return kCategoryNames[static_cast<std::size_t>(category - kFirstCategory)];
}

}  // namespace tallyform::model
