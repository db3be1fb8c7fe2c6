#pragma once
// An element list together with the side data that travels with it: the attribute names met, the kind
// prefixes met, the designation map, the column headings and the attribute roles. A document owns one; the
// element list window works on a copy of it.

#include "archive/archive.h"
#include "elements/component_list.h"
#include "model/attributes.h"

namespace tallyform::elements {

struct ListData {
  /// The elements, in the order of the rows.
  ComponentList elements;
  /// Every attribute name met in the elements, in the order first met, plus "Количество" and "Куда входит".
  archive::StringList attribute_names;
  /// The distinct designator prefixes of the elements, in the order first met.
  archive::StringList prefixes;
  /// Full path of a source file (code page 1251) to the designation of the unit its elements go into.
  archive::StringMap designations;
  /// Attribute name to the heading of the document column that receives it.
  archive::StringMap headings;
  /// Which attribute plays which role.
  model::Roles roles = model::DefaultRoles();
};

}  // namespace tallyform::elements
