#include "elements/value_normalization.h"

#include "text/literal.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;

constexpr auto npos = std::string_view::npos;

// Digits, blanks and separators only: a number without a unit (the empty value included).
bool IsBare(std::string_view value) {
  for (char c : value) {
    if (!((c >= '0' && c <= '9') || c == ' ' || c == ',' || c == '.')) return false;
  }
  return true;
}

bool Contains(std::string_view value, std::string_view what) {
  return value.find(what) != npos;
}

std::string ReplaceAll(std::string_view value, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit = value.find(from); hit != npos; hit = value.find(from, pos)) {
    out.append(value.substr(pos, hit - pos)).append(to);
    pos = hit + from.size();
  }
  out.append(value.substr(pos));
  return out;
}

std::string Concat(std::string_view a, std::string_view b, std::string_view c = {}, std::string_view d = {}) {
  std::string out;
  out.reserve(a.size() + b.size() + c.size() + d.size());
  out.append(a).append(b).append(c).append(d);
  return out;
}

std::string NormalizeCapacitor(std::string_view value) {
  if (IsBare(value)) {
    return Concat(value, Contains(value, ".") || Contains(value, ",") ? " мкФ"_cp : " пФ"_cp);
  }
  if (Contains(value, "мк"_cp)) {
    return Contains(value, "мкФ"_cp) ? std::string(value) : ReplaceAll(value, "мк"_cp, "мкФ"_cp);
  }
  if (Contains(value, "н"_cp)) {
    return Contains(value, "нФ"_cp) ? std::string(value) : ReplaceAll(value, "н"_cp, "нФ"_cp);
  }
  // A Latin unit cuts the value at its first letter and appends the unit in full.
  static constexpr struct {
    std::string_view latin;
    std::string_view unit;
  } kLatin[] = {{"mk", "мкФ"_cp}, {"u", "мкФ"_cp}, {"p", "пФ"_cp}, {"n", "нФ"_cp}};
  for (const auto& rule : kLatin) {
    std::size_t p = value.find(rule.latin);
    if (p != npos) return Concat(value.substr(0, p), rule.unit);
  }
  return std::string(value);
}

// The multiplier letter at p stands for the decimal separator unless it ends the value: "4k7", "10k".
std::string SplitAtLetter(std::string_view value, std::size_t p, std::string_view unit) {
  if (p + 1 == value.size()) return Concat(value.substr(0, p), " ", unit);
  return Concat(value.substr(0, p), ",", value.substr(p + 1), Concat(" ", unit));
}

std::string NormalizeResistor(std::string_view value) {
  if (IsBare(value)) return Concat(value, " Ом"_cp);
  if (std::size_t p = value.find('R'); p != npos && p + 1 < value.size()) {
    return Concat(value.substr(0, p), ",", value.substr(p + 1), " Ом"_cp);
  }
  if (std::size_t p = value.find('k'); p != npos) return SplitAtLetter(value, p, "кОм"_cp);
  if (std::size_t p = value.find("к"_cp); p != npos) {
    if (p + 1 < value.size() && value.substr(p) == "кОм"_cp) return std::string(value);
    return SplitAtLetter(value, p, "кОм"_cp);
  }
  if (std::size_t p = value.find('M'); p != npos) return SplitAtLetter(value, p, "МОм"_cp);
  if (std::size_t p = value.find("М"_cp); p != npos) {
    if (p + 1 < value.size() && value.substr(p) == "МОм"_cp) return std::string(value);
    return SplitAtLetter(value, p, "МОм"_cp);
  }
  return std::string(value);
}

}  // namespace

std::string NormalizeValue(char kind_letter, std::string_view value) {
  switch (kind_letter) {
    case 'C':
      return NormalizeCapacitor(value);
    case 'R':
      return NormalizeResistor(value);
    default:
      return std::string(value);
  }
}

}  // namespace tallyform::elements
