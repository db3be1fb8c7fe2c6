#pragma once
// The element data at the start of a saved document: the attribute names, the element list, the kind
// prefixes and the designation map, read without the rest of the file, to add to an element list.

#include <string_view>

#include "archive/archive.h"
#include "elements/component_list.h"
#include "elements/list_data.h"

namespace tallyform::elements {

/// The four items a document file begins with.
struct SavedList {
  archive::StringList attribute_names;
  ComponentList elements;
  archive::StringList prefixes;
  archive::StringMap designations;
  /// Bytes of the file after the four items (the document's tables and history).
  std::size_t bytes_after = 0;
};

/// Reads the four items from the start of the document file's bytes. Bytes that do not follow the archive
/// layout are tallyform::DamagedFile (model::kDamagedArchive).
SavedList ReadSavedList(std::string_view bytes);

/// Takes the saved items into the list data. Without `append` they replace the attribute names, the
/// elements and the kind prefixes; with it the attribute names and prefixes the data lacks are appended in
/// file order and the elements are moved to the end. Either way every saved designation is set into the
/// data's map (replacing an entry of the same file). Elements keep every attribute they were saved with.
void TakeSavedList(SavedList saved, bool append, ListData& data);

}  // namespace tallyform::elements
