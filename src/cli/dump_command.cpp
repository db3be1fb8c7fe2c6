// tallyform-cli dump: the whole of a saved document as JSON.

#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "app/open_workflow.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/setting_keys.h"
#include "document/document.h"
#include "model/errors.h"
#include "text/cp1251.h"

namespace tallyform::cli {
namespace {

using document::CTableRows;
using document::TitleField;

Json SheetSettings(const CTableRows& sheet) {
  Json title = Json::object();
  for (std::size_t f = 0; f < document::kTitleFieldCount; ++f) {
    title[std::string(document::TitleFieldKey(static_cast<TitleField>(f)))] =
        Utf8(sheet.title_field(static_cast<TitleField>(f)));
  }
  const document::DrawingSettings& settings = sheet.settings();
  Json out = Json::object();
  out["title"] = std::move(title);
  out["customer_approval"] = sheet.customer_approval();
  out["products"] = sheet.number_of_products();
  for (const SettingKey& key : kSettingKeys) out[key.name] = settings.*key.value;
  out["section_file"] = Utf8(sheet.section_file());
  out["section_start"] = sheet.section_start();
  out["gap"] = sheet.empty_rows_between_groups();
  out["tail"] = sheet.empty_rows_at_end();
  out["body_height"] = sheet.body_height();
  out["used_height"] = sheet.used_height();
  out["top"] = sheet.table_top();
  out["left"] = sheet.table_left();
  out["columns"] = sheet.column_count();
  Json widths = Json::array();
  for (int width : sheet.column_widths()) widths.push_back(width);
  out["widths"] = std::move(widths);
  return out;
}

Json RowJson(const document::CRow& row) {
  Json cells = Json::array();
  for (const document::CCell& cell : row.cells()) {
    const document::Rect& r = cell.rect();
    Json object = Json::object();
    object["text"] = Utf8(cell.text());
    object["attrs"] = cell.attributes();
    object["rect"] = Json::array({r.left, r.top, r.right, r.bottom});
    cells.push_back(std::move(object));
  }
  return cells;
}

// One sheet: its settings on one line, then its rows one a line.
void WriteSheet(std::ostream& out, const CTableRows& sheet) {
  std::string settings = Compact(SheetSettings(sheet));
  settings.pop_back();  // the closing brace: the rows follow inside the same object
  out << settings << ",\"rows\":[";
  const char* separator = "\n      ";
  for (const document::CRow& row : sheet.rows()) {
    out << separator << Compact(RowJson(row));
    separator = ",\n      ";
  }
  out << (sheet.row_count() == 0 ? "]}" : "\n    ]}");
}

int RunDump(const std::string& file) {
  const app::DocumentSession session = app::OpenDocument(file);
  const document::Document& doc = session.document();

  std::ostream& out = std::cout;
  out << "{";
  WriteElementData(out, doc.data());
  Json roles = Json::array();
  for (std::size_t i = 0; i < 4; ++i) roles.push_back(Utf8(doc.data().roles[i]));
  out << ",\n  \"headings\": " << Compact(Utf8Map(doc.data().headings))
      << ",\n  \"roles\": " << Compact(roles) << ",\n  \"kind\": " << static_cast<int>(doc.kind())
      << ",\n  \"history\": [";
  const char* separator = "\n    ";
  for (const document::HistoryRecord& record : doc.history()) {
    Json object = Json::object();
    object["file"] = Utf8(record.file);
    object["editor"] = Utf8(record.editor);
    object["time"] = Utf8(record.time);
    object["computer"] = Utf8(record.computer);
    object["user"] = Utf8(record.user);
    out << separator << Compact(object);
    separator = ",\n    ";
  }
  out << (doc.history().empty() ? "]" : "\n  ]") << ",\n  \"sheets\": [";
  separator = "\n    ";
  for (const auto& sheet : doc.sheets().sheets()) {
    out << separator;
    WriteSheet(out, *sheet);
    separator = ",\n    ";
  }
  out << "\n  ]\n}\n";
  return kOk;
}

}  // namespace

void AddDumpCommand(CLI::App& app, Outcome& outcome) {
  auto file = std::make_shared<std::string>();
  CLI::App* dump = app.add_subcommand(
      "dump",
      "Print a saved document (.enum) as JSON: element data, roles, kind, history, every sheet and cell");
  dump->add_option("file", *file, "The document")->required();
  dump->callback([file, &outcome] { outcome.status = RunDump(*file); });
}

}  // namespace tallyform::cli
