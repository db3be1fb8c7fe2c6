#pragma once
// JSON output of the command-line program: code page 1251 text becomes UTF-8 here, and large lists are
// written piece by piece so that they never exist twice in memory.

#include <array>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "archive/archive.h"
#include "document/table_rows.h"
#include "elements/list_data.h"

namespace tallyform::cli {

using Json = nlohmann::ordered_json;

/// Dumps a value on one line; text that is not valid UTF-8 is replaced, never an exception.
std::string Compact(const Json& value);

/// The UTF-8 JSON string of a code page 1251 text.
Json Utf8(const std::string& cp1251);
/// A list of code page 1251 texts as a JSON array of UTF-8 strings.
Json Utf8List(const archive::StringList& list);
/// A map of code page 1251 texts as a JSON object, in the map's order.
Json Utf8Map(const archive::StringMap& map);

/// Writes the element data as the first members of a JSON object whose "{" is already written:
/// "attributes", "prefixes", "designations" and "elements" (every attribute of every element, in list order,
/// one element a line). Ends after the elements' "]", so the caller goes on with ",\n" or closes the object.
void WriteElementData(std::ostream& out, const elements::ListData& data);

}  // namespace tallyform::cli
