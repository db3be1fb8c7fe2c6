#include "elements/saved_list.h"

#include <algorithm>
#include <utility>

namespace tallyform::elements {
namespace {

void AppendMissing(archive::StringList& to, const archive::StringList& from) {
  for (const std::string& item : from) {
    if (std::find(to.begin(), to.end(), item) == to.end()) to.push_back(item);
  }
}

}  // namespace

SavedList ReadSavedList(std::string_view bytes) {
  archive::ArchiveReader ar(bytes);
  SavedList saved;
  ar.ReadStringList(saved.attribute_names);
  saved.elements.Deserialize(ar);
  ar.ReadStringList(saved.prefixes);
  ar.ReadStringMap(saved.designations);
  saved.bytes_after = ar.remaining();
  return saved;
}

void TakeSavedList(SavedList saved, bool append, ListData& data) {
  if (append) {
    AppendMissing(data.attribute_names, saved.attribute_names);
    data.elements.AppendList(std::move(saved.elements));
    AppendMissing(data.prefixes, saved.prefixes);
  } else {
    data.attribute_names = std::move(saved.attribute_names);
    data.elements = std::move(saved.elements);
    data.prefixes = std::move(saved.prefixes);
  }
  for (auto& [file, designation] : saved.designations) data.designations[file] = std::move(designation);
}

}  // namespace tallyform::elements
