// Reads what a document file begins with, then object tags of every class until the input ends. A damaged
// input must end in tallyform::Error; any other exception, a crash, a hang or a runaway allocation is a
// fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "archive/archive.h"
#include "elements/component_list.h"
#include "model/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace archive = tallyform::archive;
  archive::ArchiveReader reader(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    archive::StringList names;
    tallyform::elements::ComponentList elements;
    archive::StringList prefixes;
    archive::StringMap designations;
    reader.ReadStringList(names);
    elements.Deserialize(reader);
    reader.ReadStringList(prefixes);
    reader.ReadStringMap(designations);

    // Tags only: what follows a new object is not read, so every object counts as read at once.
    int object = 0;
    while (reader.remaining() > 0) {
      archive::ObjectTag tag =
          reader.ReadObjectTag({archive::kComponentList, archive::kElementName, archive::kStringMap,
                                archive::kTableRows, archive::kRow, archive::kCell});
      if (tag.kind == archive::ObjectTag::Kind::kNew) reader.RegisterObject(tag.object_index, &object);
      // A reference the tag accepted must resolve (to this marker or to an element read above).
      if (tag.kind == archive::ObjectTag::Kind::kReference &&
          reader.ReferencedObject(tag.object_index) == nullptr) {
        std::abort();
      }
    }
  } catch (const tallyform::Error&) {
  }
  return 0;
}
