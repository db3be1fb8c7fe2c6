#pragma once
// The text heights and line widths of a document's settings by the names the command-line program uses
// for them: dump prints them under these names, and set takes them.

#include "document/table_rows.h"

namespace tallyform::cli {

struct SettingKey {
  enum class Kind { kHeight, kLine };
  const char* name;
  double document::DrawingSettings::*value;
  Kind kind;
  /// The font size or the line width dialog edits it (the document name's height is the fill's).
  bool settable;
};

inline constexpr SettingKey kSettingKeys[] = {
    {"cell_height", &document::DrawingSettings::table_text, SettingKey::Kind::kHeight, true},
    {"designation_height", &document::DrawingSettings::designation_text, SettingKey::Kind::kHeight, true},
    {"product_name_height", &document::DrawingSettings::product_name_text, SettingKey::Kind::kHeight, true},
    {"document_name_height", &document::DrawingSettings::document_name_text, SettingKey::Kind::kHeight,
     false},
    {"enterprise_height", &document::DrawingSettings::enterprise_text, SettingKey::Kind::kHeight, true},
    {"other_height", &document::DrawingSettings::other_text, SettingKey::Kind::kHeight, true},
    {"thin_line", &document::DrawingSettings::thin_line, SettingKey::Kind::kLine, true},
    {"main_line", &document::DrawingSettings::main_line, SettingKey::Kind::kLine, true},
};

}  // namespace tallyform::cli
