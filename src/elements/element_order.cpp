#include "elements/element_order.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "document/category.h"
#include "ports/prompts.h"
#include "text/case_fold.h"

namespace tallyform::elements {
namespace {

using document::DocumentKind;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of a designator's number part: up to four characters from `from`, read from their leading
// digits.
int NumberAt(std::string_view designator, std::size_t from) {
  if (from >= designator.size()) return 0;
  const std::string_view part = designator.substr(from, 4);
  int number = 0;
  for (char c : part) {
    if (!IsDigit(c)) break;
    number = number * 10 + (c - '0');
  }
  return number;
}

// What the comparison of designators reads, computed once per designator.
struct DesignatorKey {
  std::string_view text;
  int category = 0;   // the category key of the prefix; 0 when the kind does not compare it
  char first = '\0';  // an empty designator reads as one whose first character is the terminator
  char second = '\0';
  bool long_enough = false;  // at least two characters
  int number_after_one = 0;  // the number when the letter part is one character
  int number_after_two = 0;  // the number when it is two
};

DesignatorKey MakeDesignatorKey(std::string_view designator, bool with_category) {
  DesignatorKey key;
  key.text = designator;
  if (with_category) key.category = document::CategoryKey(DesignatorPrefix(designator));
  if (!designator.empty()) key.first = designator[0];
  key.long_enough = designator.size() >= 2;
  if (key.long_enough) key.second = designator[1];
  key.number_after_one = NumberAt(designator, 1);
  key.number_after_two = NumberAt(designator, 2);
  return key;
}

int CompareKeys(const DesignatorKey& a, const DesignatorKey& b) {
  if (a.category != b.category) return a.category - b.category;
  if (a.first != b.first) return text::CompareNoCase(a.text, b.text);
  if (a.long_enough && b.long_enough && (!IsDigit(a.second) || !IsDigit(b.second))) {
    // Looking at both second characters keeps the comparison antisymmetric: R1 against RK1 compares the
    // whole texts whichever of the two comes first.
    if (a.second != b.second) return text::CompareNoCase(a.text, b.text);
    return a.number_after_two - b.number_after_two;
  }
  return a.number_after_one - b.number_after_one;
}

// ---- Sorting ----

// The keys of one element in the order the kind compares them: a number (the category key, for the simple
// bill in one list), up to two texts compared by bytes (the prefix for the bill, then the source file), and
// the designator.
struct ElementKey {
  std::size_t index = 0;  // the element's place before sorting
  int number = 0;
  std::string_view first_text;
  std::string_view second_text;
  DesignatorKey designator;
};

ElementKey MakeElementKey(std::size_t index, const Element& element, std::string_view designator_role,
                          DocumentKind kind, MergeChoice merge) {
  ElementKey key;
  key.index = index;
  const std::string_view designator = element.Get(designator_role);
  const std::string_view file = element.Get(kFile);
  key.designator = MakeDesignatorKey(designator, kind == DocumentKind::kSimpleBill);
  if (kind == DocumentKind::kPurchasedBill) {
    key.first_text = DesignatorPrefix(designator);
    key.second_text = file;
  } else {
    key.first_text = file;
  }
  if (kind == DocumentKind::kSimpleBill && merge == MergeChoice::kOneList) key.number = key.designator.category;
  return key;
}

int Compare(const ElementKey& a, const ElementKey& b) {
  if (a.number != b.number) return a.number - b.number;
  if (int c = text::CompareBytes(a.first_text, b.first_text); c != 0) return c;
  if (int c = text::CompareBytes(a.second_text, b.second_text); c != 0) return c;
  return CompareKeys(a.designator, b.designator);
}

// The insertion sort itself: each element, in list order, moves back past every earlier element that is
// not less than it. Only pointers to the keys move.
void InsertionSort(std::vector<const ElementKey*>& order) {
  for (std::size_t i = 1; i < order.size(); ++i) {
    const ElementKey* element = order[i];
    std::size_t j = i;
    while (j > 0 && Compare(*order[j - 1], *element) >= 0) --j;
    if (j == i) continue;
    std::move_backward(order.begin() + static_cast<std::ptrdiff_t>(j), order.begin() + static_cast<std::ptrdiff_t>(i),
                       order.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    order[j] = element;
  }
}

// ---- When the designators compare consistently ----
//
// Designators with one first character (one byte per letter, whatever its case) order by their folded
// first character, then by the class of their second character (a digit, or no second character, is one
// class placed where the digits sort; any other character is a class of its own, placed by its folded
// byte), then by the number after the letter part. This holds as long as
//   - no two designators have first characters that differ only in letter case (R9 and r10 compare as
//     texts, R9 and R10 by number);
//   - no two designators with one first character have second characters that differ only in letter case
//     and are not digits (RK9 and Rk10 compare as texts, RK9 and RK10 by number);
//   - designators with one first character are not both one character long and followed by a non-digit
//     (R equals RK1 and is less than R1, while R1 is less than RK1); an empty designator counts as one
//     character long, its first character read as the zero byte.
// Under these conditions the comparison is that of the key below: a strict weak ordering.

struct OrderKey {
  unsigned char first = 0;
  unsigned char second_class = 0;
  int number = 0;
  friend auto operator<=>(const OrderKey&, const OrderKey&) = default;
};

// The class of designators without a letter in the second place sorts where the digits do.
constexpr unsigned char kDigitClass = '0';

OrderKey ConsistentKey(const DesignatorKey& key) {
  OrderKey order;
  order.first = static_cast<unsigned char>(text::FoldByte(key.first));
  if (key.long_enough && !IsDigit(key.second)) {
    order.second_class = static_cast<unsigned char>(text::FoldByte(key.second));
    order.number = key.number_after_two;
  } else {
    order.second_class = kDigitClass;
    order.number = key.number_after_one;
  }
  return order;
}

// True when the designators meet the conditions above.
bool ComparesConsistently(const std::vector<ElementKey>& keys) {
  // Per folded first character, the byte seen (-1 for none yet).
  std::array<int, 256> first_byte;
  first_byte.fill(-1);
  // Per first byte: per folded non-digit second character, the byte seen; and which lengths of letter part
  // were seen.
  struct PerFirst {
    std::array<int, 256> second_byte;
    bool short_seen = false;
    bool two_letters_seen = false;
  };
  std::vector<std::unique_ptr<PerFirst>> per_first(256);
  for (const ElementKey& element_key : keys) {
    const DesignatorKey& key = element_key.designator;
    const auto first = static_cast<unsigned char>(key.first);
    int& first_seen = first_byte[static_cast<unsigned char>(text::FoldByte(key.first))];
    if (first_seen < 0) {
      first_seen = first;
    } else if (first_seen != first) {
      return false;
    }
    auto& slot = per_first[first];
    if (!slot) {
      slot = std::make_unique<PerFirst>();
      slot->second_byte.fill(-1);
    }
    if (!key.long_enough) {
      slot->short_seen = true;
    } else if (!IsDigit(key.second)) {
      slot->two_letters_seen = true;
      int& second_seen = slot->second_byte[static_cast<unsigned char>(text::FoldByte(key.second))];
      const auto second = static_cast<unsigned char>(key.second);
      if (second_seen < 0) {
        second_seen = second;
      } else if (second_seen != second) {
        return false;
      }
    }
    if (slot->short_seen && slot->two_letters_seen) return false;
  }
  return true;
}

// With a strict weak ordering the insertion sort leaves elements that compare equal in reverse order of
// their places and everything else in order, which is what a stable sort of the reversed list does.
std::vector<std::size_t> ConsistentOrder(const std::vector<ElementKey>& keys) {
  struct Entry {
    int number;
    std::string_view first_text;
    std::string_view second_text;
    int category;
    OrderKey order;
    std::size_t index;
  };
  std::vector<Entry> entries;
  entries.reserve(keys.size());
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    entries.push_back({it->number, it->first_text, it->second_text, it->designator.category,
                       ConsistentKey(it->designator), it->index});
  }
  // string_view compares by unsigned bytes, as CompareBytes does.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.number != b.number) return a.number < b.number;
    if (int c = a.first_text.compare(b.first_text); c != 0) return c < 0;
    if (int c = a.second_text.compare(b.second_text); c != 0) return c < 0;
    if (a.category != b.category) return a.category < b.category;
    return a.order < b.order;
  });
  std::vector<std::size_t> order;
  order.reserve(entries.size());
  for (const Entry& entry : entries) order.push_back(entry.index);
  return order;
}

}  // namespace

int CompareDesignators(DocumentKind kind, std::string_view a, std::string_view b) {
  const bool with_category = kind == DocumentKind::kSimpleBill;
  return CompareKeys(MakeDesignatorKey(a, with_category), MakeDesignatorKey(b, with_category));
}

SortMethod SortElements(ComponentList& list, const Roles& roles, DocumentKind kind, MergeChoice merge) {
  auto& items = list.storage();
  if (items.size() < 2) return SortMethod::kMerge;
  std::vector<ElementKey> keys;
  keys.reserve(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    keys.push_back(MakeElementKey(i, *items[i], roles[kRoleDesignator], kind, merge));
  }

  SortMethod method = SortMethod::kMerge;
  std::vector<std::size_t> order;
  if (ComparesConsistently(keys)) {
    order = ConsistentOrder(keys);
  } else {
    method = SortMethod::kInsertion;
    std::vector<const ElementKey*> sorted;
    sorted.reserve(keys.size());
    for (const ElementKey& key : keys) sorted.push_back(&key);
    InsertionSort(sorted);
    order.reserve(sorted.size());
    for (const ElementKey* key : sorted) order.push_back(key->index);
  }

  std::vector<std::unique_ptr<Element>> reordered;
  reordered.reserve(items.size());
  for (std::size_t index : order) reordered.push_back(std::move(items[index]));
  items = std::move(reordered);
  return method;
}

bool NeedsSortChoice(DocumentKind kind, const archive::StringMap& designations) {
  return kind == DocumentKind::kSimpleBill && designations.size() > 1;
}

std::optional<MergeChoice> AskSortChoice(ports::Prompts& prompts, MergeChoice current) {
  // The dialog lists merging first.
  const std::vector<std::string> choices{std::string(kSortChoiceOneList), std::string(kSortChoiceSeparateLists)};
  const std::size_t marked = current == MergeChoice::kOneList ? 0 : 1;
  const std::optional<std::size_t> chosen = prompts.SortChoice(std::string(kSortChoiceText), choices, marked);
  if (!chosen || *chosen >= choices.size()) return std::nullopt;
  return *chosen == 0 ? MergeChoice::kOneList : MergeChoice::kSeparateLists;
}

bool SortWithChoice(ComponentList& list, const Roles& roles, DocumentKind kind,
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
