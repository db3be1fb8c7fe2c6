#pragma once
// Preparing a copy of the element list for filling: neighbouring equal elements become one element with a
// designator range and a summed quantity, purchased items are ordered by name within their kind and equal
// items merged wherever they stand, and the rows of each kind group are counted.
//
// All three run in linear or n log n time; the results are those of the straightforward pairwise scans.

#include "elements/component_list.h"
#include "model/attributes.h"

namespace tallyform::document {

/// Joins every run of neighbouring joinable elements into its first element. Two neighbours are joinable
/// when their designator prefixes are equal (bytes) and their name, value and package attributes (role
/// slots 1, 2, 4) are equal ignoring letter case; with `same_unit_only` (the list of elements) their
/// "Куда входит" must also be equal (bytes). Designator numbers and the supply document are not compared.
///
/// The first element's designator D takes each joined designator E in turn: D up to its first ", " or
/// "..." followed by "..." and E, or else D, ", " and E (R1, R2; then R1...R3). Its "Количество" becomes
/// atoi of itself plus one per joined element; the quantities of the joined elements are not used.
void JoinDesignators(elements::ComponentList& list, const model::Roles& roles, bool same_unit_only);

/// Sorts each run of equal "Group" (bytes) by name (role slot 1) ignoring letter case, keeping the order of
/// equal names; then merges every element into the first earlier element with equal name, value, package
/// and "Куда входит" (ignoring letter case): the designators are joined with ", ", earlier first, and the
/// quantities (atoi) added.
void OrderAndMergePurchased(elements::ComponentList& list, const model::Roles& roles);

/// Sets "RowsInGroup" of the elements of each run of equal "Group" (bytes) to atoi of the first element's
/// own value plus the run's length less one (n for a run of n elements that each held "1"). A list of
/// fewer than two elements, and a last element that forms a run of its own, are left as they are.
void CountGroupRows(elements::ComponentList& list);

}  // namespace tallyform::document
