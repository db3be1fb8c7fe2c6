#include "cli/json_output.h"

#include <unordered_map>

#include "text/cp1251.h"

namespace tallyform::cli {

std::string Compact(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json Utf8(const std::string& cp1251) {
  return text::ToUtf8(cp1251);
}

Json Utf8List(const archive::StringList& list) {
  Json out = Json::array();
  for (const std::string& item : list) out.push_back(text::ToUtf8(item));
  return out;
}

Json Utf8Map(const archive::StringMap& map) {
  Json out = Json::object();
  for (const auto& [key, value] : map) out[text::ToUtf8(key)] = text::ToUtf8(value);
  return out;
}

void WriteElementData(std::ostream& out, const elements::ListData& data) {
  out << "\n  \"attributes\": " << Compact(Utf8List(data.attribute_names))
      << ",\n  \"prefixes\": " << Compact(Utf8List(data.prefixes))
      << ",\n  \"designations\": " << Compact(Utf8Map(data.designations)) << ",\n  \"elements\": [";
  // Attribute names repeat in every element; each is converted once.
  std::unordered_map<std::string, std::string> utf8_names;
  const char* separator = "\n    ";
  for (const auto& element : data.elements.storage()) {
    Json object = Json::object();
    for (const auto& [name, value] : element->pairs()) {
      auto [it, added] = utf8_names.try_emplace(name);
      if (added) it->second = text::ToUtf8(name);
      object.emplace(it->second, text::ToUtf8(value));
    }
    out << separator << Compact(object);
    separator = ",\n    ";
  }
  out << (data.elements.empty() ? "]" : "\n  ]");
}

}  // namespace tallyform::cli
