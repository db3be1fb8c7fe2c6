#pragma once
// The order of the elements before a document is filled: by source file or by kind, and within that by
// designator in natural order (R2 before R10, DD3 before DD12, C1 before R1). The simple bill orders kinds
// by their category key, and when its elements come from several files it either keeps one list per file
// or merges them into one; the user picks which in the sort choice dialog.

#include <cstddef>
#include <optional>
#include <string_view>

#include "archive/archive.h"
#include "elements/component_list.h"
#include "model/attributes.h"
#include "model/document_kind.h"
#include "text/literal.h"

namespace tallyform::ports {
class Prompts;
}  // namespace tallyform::ports

namespace tallyform::elements {

using namespace tallyform::text::literals;

/// How the simple bill lists elements from several design files.
enum class MergeChoice {
  kSeparateLists = 0,  ///< one list (section) per file, the choice a fresh element list window starts with
  kOneList = 1,        ///< the elements of all files merged into one list
};

/// Compares two designators: negative, zero or positive.
///   1. For the simple bill, the category keys of their prefixes decide when they differ.
///   2. When the first characters differ (bytes), the whole designators compare ignoring letter case.
///   3. The letter part is one character long, or two when both designators have at least two characters,
///      their second characters are equal and not decimal digits. When both have at least two characters
///      and their second characters differ with at least one of them not a digit, the whole designators
///      compare ignoring letter case.
///   4. A letter part of two grows to three in the same way: when both designators have at least three
///      characters and the third character of either is not a digit, equal third characters make it
///      three long, and different ones make the whole designators compare ignoring letter case.
///   5. Otherwise the numbers after the letter part decide: at most the four characters after it, read
///      from their leading decimal digits (0 when there are none).
/// So R2 < R10, DD3 < DD12, LED2 < LED10, C1 < R1, R1 < RK1, DD1 < DDA1, R1A == R1B, DD == DDA1 and
/// R12345 == R1234. Designators that differ only in letter case do not always compare consistently
/// ("R10" < "r9" == "R9" < "R10").
int CompareDesignators(model::DocumentKind kind, std::string_view a, std::string_view b);

/// Which algorithm SortElements used.
enum class SortMethod {
  kMerge,      ///< the designators compare consistently: an n log n stable sort
  kInsertion,  ///< some designators do not compare consistently: the exact insertion sort for their runs
};

/// Sorts the elements for a document of the kind. The keys, compared in order until one differs:
///   list of elements: source file ("Файл", bytes), designator;
///   bill: designator prefix (bytes), source file, designator;
///   simple bill merged into one list: category key of the prefix, source file, designator;
///   simple bill in separate lists: source file, designator (whose comparison starts with the category key).
/// The designator is the value of the designator-role attribute, compared by CompareDesignators. The result
/// is that of an insertion sort that moves each element, in list order, back past every earlier element
/// that is greater than or equal to it by these keys; so elements equal in every key come out in reverse
/// order of their places.
SortMethod SortElements(ComponentList& list, const model::Roles& roles, model::DocumentKind kind,
                        MergeChoice merge = MergeChoice::kSeparateLists);

// ---- The sort choice dialog ----

inline constexpr std::string_view kSortChoiceTitle = "Сортировка"_cp;
inline constexpr std::string_view kSortChoiceText =
    "Ведомость покупных изделий (простая) содержит элементы из нескольких файлов. Выберите способ "
    "заполнения данной ведомости:"_cp;
inline constexpr std::string_view kSortChoiceOneList = "Объединить элементы в один список"_cp;
inline constexpr std::string_view kSortChoiceSeparateLists = "Разместить элементы в отдельных списках"_cp;

/// True when sorting asks the sort choice first: a simple bill whose designation map holds more than one
/// file.
bool NeedsSortChoice(model::DocumentKind kind, const archive::StringMap& designations);

/// Shows the sort choice dialog (Prompts::SortChoice) with `current` marked: the choice made, or nullopt
/// when it was cancelled.
std::optional<MergeChoice> AskSortChoice(ports::Prompts& prompts, MergeChoice current);

/// The sort command: when NeedsSortChoice, asks first and stores the choice in `merge`; a cancelled choice
/// leaves `merge` and the order as they were and returns false. Otherwise sorts with `merge` and returns
/// true.
bool SortWithChoice(ComponentList& list, const model::Roles& roles, model::DocumentKind kind,
                    const archive::StringMap& designations, MergeChoice& merge, ports::Prompts& prompts);

}  // namespace tallyform::elements
