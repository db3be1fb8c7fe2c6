#pragma once
// What the user chooses in the dialogs that prepare an element list: the attributes of the roles, and the
// column each attribute goes into with the two fill parameters. Texts are code page 1251.

#include <optional>
#include <string>
#include <vector>

#include "model/fill_parameters.h"

namespace tallyform::model {

/// The choices of the roles dialog: an attribute name per role, or nothing chosen.
struct RoleSelection {
  std::optional<std::string> designator;
  std::optional<std::string> name;
  std::optional<std::string> value;
  std::optional<std::string> supply_document;  ///< optional: nothing chosen stores the empty name
  friend bool operator==(const RoleSelection&, const RoleSelection&) = default;
};

/// One row of the column mapping: an attribute and the title of the column it goes into ("" for none).
struct HeadingRow {
  std::string attribute;
  std::string title;
  friend bool operator==(const HeadingRow&, const HeadingRow&) = default;
};

/// The column mapping dialog's contents: one row per attribute and the two fill parameters.
struct ColumnMapping {
  std::vector<HeadingRow> rows;
  FillParameters parameters;
  friend bool operator==(const ColumnMapping&, const ColumnMapping&) = default;
};

}  // namespace tallyform::model
