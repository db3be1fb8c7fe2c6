#pragma once
// The stored form of an element kind record (CElementName).

#include "model/element_kinds.h"

namespace tallyform::archive {
class ArchiveReader;
class ArchiveWriter;
}  // namespace tallyform::archive

namespace tallyform::elements {

/// Writes a kind record: the plural name, then the singular name.
void SerializeElementName(archive::ArchiveWriter& ar, const model::CElementName& name);
/// Reads the layout SerializeElementName writes; throws DamagedFile.
model::CElementName DeserializeElementName(archive::ArchiveReader& ar);

}  // namespace tallyform::elements
