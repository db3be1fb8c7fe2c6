#include "elements/element_name_archive.h"

#include "archive/archive.h"

namespace tallyform::elements {

void SerializeElementName(archive::ArchiveWriter& ar, const model::CElementName& name) {
  ar.WriteString(name.plural);
  ar.WriteString(name.singular);
}

model::CElementName DeserializeElementName(archive::ArchiveReader& ar) {
  model::CElementName name;
  name.plural = ar.ReadString();
  name.singular = ar.ReadString();
  return name;
}

}  // namespace tallyform::elements
