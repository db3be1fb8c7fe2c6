#include "elements/element_order.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <compare>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/category.h"
#include "ports/prompts.h"
#include "text/case_fold.h"

namespace tallyform::elements {
namespace {

using model::DocumentKind;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The number of a designator's number part: up to four characters from `from`, read from their leading
// digits.
std::uint16_t NumberAt(std::string_view designator, std::size_t from) {
  if (from >= designator.size()) return 0;
  const std::string_view part = designator.substr(from, 4);
  int number = 0;
  for (char c : part) {
    if (!IsDigit(c)) break;
    number = number * 10 + (c - '0');
  }
  return static_cast<std::uint16_t>(number);
}

// What the comparison of designators reads, computed once per designator.
struct DesignatorKey {
  std::string_view text;
  int category = 0;   // the category key of the prefix; 0 when the kind does not compare it
  char first = '\0';  // an empty designator reads as one whose first character is the terminator
  char second = '\0';
  char third = '\0';
  bool long_enough = false;  // at least two characters
  bool three_long = false;   // at least three characters
  // The numbers after a letter part of one, two and three characters: at most four digits each.
  std::uint16_t number_after_one = 0;
  std::uint16_t number_after_two = 0;
  std::uint16_t number_after_three = 0;
};

DesignatorKey MakeDesignatorKey(std::string_view designator, bool with_category) {
  DesignatorKey key;
  key.text = designator;
  if (with_category) key.category = model::CategoryKey(model::DesignatorPrefix(designator));
  if (!designator.empty()) key.first = designator[0];
  key.long_enough = designator.size() >= 2;
  if (key.long_enough) key.second = designator[1];
  key.three_long = designator.size() >= 3;
  if (key.three_long) key.third = designator[2];
  key.number_after_one = NumberAt(designator, 1);
  key.number_after_two = NumberAt(designator, 2);
  key.number_after_three = NumberAt(designator, 3);
  return key;
}

int CompareKeys(const DesignatorKey& a, const DesignatorKey& b) {
  if (a.category != b.category) return a.category - b.category;
  if (a.first != b.first) return text::CompareNoCase(a.text, b.text);
  if (a.long_enough && b.long_enough && (!IsDigit(a.second) || !IsDigit(b.second))) {
    // Looking at both second characters keeps the comparison antisymmetric: R1 against RK1 compares the
    // whole texts whichever of the two comes first.
    if (a.second != b.second) return text::CompareNoCase(a.text, b.text);
    // Two letters, and a third one goes the same way: LED1 against LE1 compares the whole texts, LED2
    // against LED10 the numbers after the three letters.
    if (a.three_long && b.three_long && (!IsDigit(a.third) || !IsDigit(b.third))) {
      if (a.third != b.third) return text::CompareNoCase(a.text, b.text);
      return a.number_after_three - b.number_after_three;
    }
    return a.number_after_two - b.number_after_two;
  }
  return a.number_after_one - b.number_after_one;
}

// ---- Sorting ----
//
// The insertion sort moves each element, in list order, back past every earlier element that is not less
// than it. Where the designators compare consistently (a strict weak ordering), that leaves elements that
// compare equal in reverse order of their places and everything else in order: what a stable sort of the
// reversed list gives.
//
// Part of the comparison is always consistent: the keys before the designator, the category key, and the
// folded first character of the designator (designators whose first characters differ compare as texts
// ignoring case, which their folded first characters decide when they differ). Whatever the rest does, the
// insertion sort keeps the elements ordered by these outer keys: an element walks back past the elements
// with greater outer keys, which stand at the end, and stops inside the run of its own outer keys, at the
// place the insertion sort of that run alone would put it. So the list is sorted stably by the outer keys,
// and each run of equal outer keys is sorted on its own: by the n log n sort when its designators compare
// consistently, otherwise by the insertion sort itself.
//
// Within a run (one folded first character) the designators compare consistently as long as
//   - they share one first character byte (R9 and r10 compare as texts, R9 and R10 by number);
//   - the designators with a non-digit second character have one byte per folded second character (RK9
//     and Rk10 compare as texts, RK9 and RK10 by number);
//   - they are not both one character long and followed by a non-digit (R equals RK1 and is less than R1,
//     while R1 is less than RK1); an empty designator counts as one character long, its first character
//     the zero byte;
//   - of the designators that share a non-digit second character, those with a non-digit third character
//     have one byte per folded third character (LED9 and LEd10 compare as texts, LED9 and LED10 by
//     number);
//   - those that share a non-digit second character are not both two characters long and followed by a
//     non-digit third (LE equals LED1 and is less than LE1, while LE1 is less than LED1).
// Then they order by the class of their second character (a digit, or none, is one class placed where the
// digits sort; any other character is a class of its own, placed by its folded byte), those with a letter
// in the second place by the class of their third character in the same way, and by the number after the
// letter part. No other character folds to a digit, so the digits' class orders against the others as
// any digit does.

// The class of designators without a letter in the second (third) place sorts where the digits do.
constexpr unsigned char kDigitClass = '0';

// The keys of one element: a number (the category key, for the simple bill in one list), up to two texts
// compared by bytes (the prefix for the bill, then the source file), and the designator.
struct ElementKey {
  std::size_t index = 0;  // the element's place before sorting
  int number = 0;
  std::string_view first_text;
  std::string_view second_text;
  DesignatorKey designator;
  unsigned char folded_first = 0;
  // The order within a run whose designators compare consistently: run_order packs the second class, the
  // third class and the number after the letter part (at most four digits, so below 2^16) into one word.
  unsigned char second_class = 0;
  unsigned char third_class = 0;
  std::uint32_t run_order = 0;
};

ElementKey MakeElementKey(std::size_t index, const Element& element, std::string_view designator_role,
                          model::DocumentKind kind, MergeChoice merge) {
  ElementKey key;
  key.index = index;
  const std::string_view designator = element.Get(designator_role);
  const std::string_view file = element.Get(model::kFile);
  key.designator = MakeDesignatorKey(designator, kind == model::DocumentKind::kSimpleBill);
  if (kind == model::DocumentKind::kPurchasedBill) {
    key.first_text = model::DesignatorPrefix(designator);
    key.second_text = file;
  } else {
    key.first_text = file;
  }
  if (kind == model::DocumentKind::kSimpleBill && merge == MergeChoice::kOneList)
    key.number = key.designator.category;
  const DesignatorKey& d = key.designator;
  key.folded_first = static_cast<unsigned char>(text::FoldByte(d.first));
  key.second_class = kDigitClass;
  key.third_class = kDigitClass;
  std::uint32_t run_number = d.number_after_one;
  if (d.long_enough && !IsDigit(d.second)) {
    key.second_class = static_cast<unsigned char>(text::FoldByte(d.second));
    run_number = d.number_after_two;
    if (d.three_long && !IsDigit(d.third)) {
      key.third_class = static_cast<unsigned char>(text::FoldByte(d.third));
      run_number = d.number_after_three;
    }
  }
  key.run_order = std::uint32_t{key.second_class} << 24 | std::uint32_t{key.third_class} << 16 | run_number;
  return key;
}

int Compare(const ElementKey& a, const ElementKey& b) {
  if (a.number != b.number) return a.number - b.number;
  if (int c = text::CompareBytes(a.first_text, b.first_text); c != 0) return c;
  if (int c = text::CompareBytes(a.second_text, b.second_text); c != 0) return c;
  return CompareKeys(a.designator, b.designator);
}

// Orders by the outer keys; string_view compares by unsigned bytes, as CompareBytes does.
int CompareOuter(const ElementKey& a, const ElementKey& b) {
  if (a.number != b.number) return a.number < b.number ? -1 : 1;
  if (int c = a.first_text.compare(b.first_text); c != 0) return c;
  if (int c = a.second_text.compare(b.second_text); c != 0) return c;
  if (a.designator.category != b.designator.category)
    return a.designator.category < b.designator.category ? -1 : 1;
  return static_cast<int>(a.folded_first) - static_cast<int>(b.folded_first);
}

using Run = std::span<const ElementKey*>;

// The third letter of a designator, with the classes of its second and third characters.
struct ThirdLetter {
  unsigned char second_class = 0;
  unsigned char third_class = 0;
  char third = '\0';
  auto operator<=>(const ThirdLetter&) const = default;
};

// True when the designators of a run of equal outer keys compare consistently (see above).
bool ComparesConsistently(Run run) {
  const char first = run.front()->designator.first;
  bool short_seen = false;
  // By second class: the byte of its designators, whether some are exactly two characters long, and whether
  // some have a third letter.
  std::array<char, 256> second_of{};
  std::bitset<256> second_seen;
  std::bitset<256> two_long;
  std::bitset<256> third_letter;
  std::vector<ThirdLetter> thirds;
  for (const ElementKey* key : run) {
    const DesignatorKey& d = key->designator;
    if (d.first != first) return false;
    if (!d.long_enough) {
      short_seen = true;
      continue;
    }
    if (IsDigit(d.second)) continue;
    const unsigned char second_class = key->second_class;
    if (!second_seen[second_class]) {
      second_seen.set(second_class);
      second_of[second_class] = d.second;
    } else if (second_of[second_class] != d.second) {
      return false;
    }
    if (!d.three_long) {
      two_long.set(second_class);
    } else if (!IsDigit(d.third)) {
      third_letter.set(second_class);
      thirds.push_back({second_class, key->third_class, d.third});
    }
  }
  if (short_seen && second_seen.any()) return false;
  if ((two_long & third_letter).any()) return false;
  // Sorted, two bytes of one third class (within one second class) stand next to each other.
  std::sort(thirds.begin(), thirds.end());
  for (std::size_t i = 1; i < thirds.size(); ++i) {
    const ThirdLetter& a = thirds[i - 1];
    const ThirdLetter& b = thirds[i];
    if (a.second_class == b.second_class && a.third_class == b.third_class && a.third != b.third)
      return false;
  }
  return true;
}

void InsertionSort(Run run) {
  for (std::size_t i = 1; i < run.size(); ++i) {
    const ElementKey* element = run[i];
    std::size_t j = i;
    while (j > 0 && Compare(*run[j - 1], *element) >= 0) --j;
    if (j == i) continue;
    std::move_backward(run.begin() + static_cast<std::ptrdiff_t>(j),
                       run.begin() + static_cast<std::ptrdiff_t>(i),
                       run.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    run[j] = element;
  }
}

// Sorts a run that compares consistently: its elements stand in their original order.
void ConsistentSort(Run run) {
  std::reverse(run.begin(), run.end());
  std::stable_sort(run.begin(), run.end(),
                   [](const ElementKey* a, const ElementKey* b) { return a->run_order < b->run_order; });
}

}  // namespace

int CompareDesignators(model::DocumentKind kind, std::string_view a, std::string_view b) {
  const bool with_category = kind == model::DocumentKind::kSimpleBill;
  return CompareKeys(MakeDesignatorKey(a, with_category), MakeDesignatorKey(b, with_category));
}

SortMethod SortElements(ComponentList& list, const model::Roles& roles, model::DocumentKind kind,
                        MergeChoice merge) {
  auto& items = list.storage();
  std::vector<ElementKey> keys;
  keys.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    keys.push_back(MakeElementKey(i, *items[i], roles[model::kRoleDesignator], kind, merge));
  }
  std::vector<const ElementKey*> order;
  order.reserve(keys.size());
  for (const ElementKey& key : keys) order.push_back(&key);
  std::stable_sort(order.begin(), order.end(),
                   [](const ElementKey* a, const ElementKey* b) { return CompareOuter(*a, *b) < 0; });

  SortMethod method = SortMethod::kMerge;
  for (std::size_t begin = 0; begin < order.size();) {
    std::size_t end = begin + 1;
    while (end < order.size() && CompareOuter(*order[begin], *order[end]) == 0) ++end;
    if (end - begin > 1) {
      const Run run(order.data() + begin, end - begin);
      if (ComparesConsistently(run)) {
        ConsistentSort(run);
      } else {
        InsertionSort(run);
        method = SortMethod::kInsertion;
      }
    }
    begin = end;
  }

  std::vector<std::unique_ptr<Element>> reordered;
  reordered.reserve(items.size());
  for (const ElementKey* key : order) reordered.push_back(std::move(items[key->index]));
  items = std::move(reordered);
  return method;
}

bool NeedsSortChoice(model::DocumentKind kind, const archive::StringMap& designations) {
  return kind == model::DocumentKind::kSimpleBill && designations.size() > 1;
}

std::optional<MergeChoice> AskSortChoice(ports::Prompts& prompts, MergeChoice current) {
  // The dialog lists merging first.
  const std::vector<std::string> choices{std::string(kSortChoiceOneList),
                                         std::string(kSortChoiceSeparateLists)};
  const std::size_t marked = current == MergeChoice::kOneList ? 0 : 1;
  const std::optional<std::size_t> chosen = prompts.SortChoice(std::string(kSortChoiceText), choices, marked);
  if (!chosen || *chosen >= choices.size()) return std::nullopt;
  return *chosen == 0 ? MergeChoice::kOneList : MergeChoice::kSeparateLists;
}

bool SortWithChoice(ComponentList& list, const model::Roles& roles, model::DocumentKind kind,
                    const archive::StringMap& designations, MergeChoice& merge, ports::Prompts& prompts) {
  if (NeedsSortChoice(kind, designations)) {
    const std::optional<MergeChoice> chosen = AskSortChoice(prompts, merge);
    if (!chosen) return false;
    merge = *chosen;
  }
  SortElements(list, roles, kind, merge);
  return true;
}

}  // namespace tallyform::elements
