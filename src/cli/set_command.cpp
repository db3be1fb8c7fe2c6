// tallyform-cli set: completes a saved document as the title block, font size, line width and number of
// products dialogs do, each through the document's session, and saves it.

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "adapters/qt_system_info.h"
#include "app/application.h"
#include "app/editor_identity.h"
#include "app/open_workflow.h"
#include "app/settings_file.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/setting_keys.h"
#include "document/document.h"
#include "document/settings_edits.h"
#include "model/errors.h"
#include "model/platform.h"
#include "text/cp1251.h"
#include "text/numbers.h"

namespace tallyform::cli {
namespace {

struct SetOptions {
  std::string document;
  std::vector<std::string> titles;
  std::vector<std::string> heights;
  std::vector<std::string> lines;
  std::vector<std::string> products;
  std::string output;
  std::optional<std::string> editor;
};

// A number the option's text holds whole, as the dialogs' fields accept it: "2,5" is refused rather than
// read as 2.
std::string Number(const std::string& option, const std::string& given, const std::string& text,
                   bool integer) {
  if (text::ClassifyNumberEntry(text, integer) != text::NumberEntry::kNumber) {
    throw BadUsage("set: " + option + " " + text::Cp1251FromUnknown(given) + ": \"" +
                   text::Cp1251FromUnknown(text) +
                   (integer ? "\" is not a whole number" : "\" is not a number (decimals take a point)"));
  }
  return text;
}

// The session's command, with the option that asked for it named in a refusal.
void Apply(app::DocumentSession& session, app::Command command, const std::string& option) {
  try {
    session.Apply(std::move(command));
  } catch (const BadUsage& e) {
    throw BadUsage("set: " + option + ": " + e.message());
  }
}

void ApplyTitle(app::DocumentSession& session, const std::vector<std::string>& titles) {
  if (titles.empty()) return;
  if (!session.Enabled(app::ViewState{}).title_block) {
    throw BadUsage("set: --title: a simple bill has no title block");
  }
  document::TitleFieldValues fields;
  for (const std::string& title : titles) {
    const auto [key, value] = SplitNameValue("set", "--title", title);
    const std::optional<document::TitleField> field = document::TitleFieldOfKey(key);
    if (!field) throw BadUsage("set: --title: no title block field \"" + text::Cp1251FromUnknown(key) + "\"");
    fields.emplace_back(*field, text::Cp1251FromUnknown(value));
  }
  Apply(session, app::commands::TitleBlock{std::move(fields), std::nullopt, std::nullopt}, "--title");
}

// The heights (or widths) as they stand, with the given ones in place; false when none is given.
bool Lengths(const std::string& option, const std::vector<std::string>& given, SettingKey::Kind kind,
             document::DrawingSettings& settings) {
  for (const std::string& pair : given) {
    const auto [name, value] = SplitNameValue("set", option, pair);
    const SettingKey* found = nullptr;
    std::string names;
    for (const SettingKey& key : kSettingKeys) {
      if (key.kind != kind || !key.settable) continue;
      if (key.name == name) found = &key;
      names += (names.empty() ? "" : ", ") + std::string(key.name);
    }
    if (found == nullptr) {
      throw BadUsage("set: " + option + ": no setting \"" + text::Cp1251FromUnknown(name) + "\" (one of " +
                     names + ")");
    }
    settings.*found->value = text::Strtod(Number(option, pair, value, false));
  }
  return !given.empty();
}

void ApplyLengths(app::DocumentSession& session, const SetOptions& options) {
  document::DrawingSettings settings = session.document().settings_table().settings();
  if (Lengths("--height", options.heights, SettingKey::Kind::kHeight, settings)) {
    const document::TextHeights heights{{settings.designation_text, settings.product_name_text,
                                         settings.enterprise_text, settings.other_text},
                                        settings.table_text};
    Apply(session, app::commands::TextHeights{heights}, "--height");
  }
  if (Lengths("--line", options.lines, SettingKey::Kind::kLine, settings)) {
    Apply(session, app::commands::LineWidths{{settings.main_line, settings.thin_line}}, "--line");
  }
}

void ApplyProducts(app::DocumentSession& session, const std::vector<std::string>& products) {
  for (const std::string& pair : products) {
    const auto [sheet, number] = SplitNameValue("set", "--products", pair);
    const int first = text::Atoi(Number("--products", pair, sheet, true));
    if (first < 1) throw BadUsage("set: --products " + pair + ": sheets are numbered from 1");
    Apply(session,
          app::commands::NumberOfProducts{static_cast<std::size_t>(first - 1),
                                          text::Atoi(Number("--products", pair, number, true))},
          "--products " + pair);
  }
}

int RunSet(const SetOptions& options) {
  if (options.titles.empty() && options.heights.empty() && options.lines.empty() &&
      options.products.empty()) {
    throw BadUsage("set: give at least one of --title, --height, --line, --products");
  }
  app::DocumentSession session = app::OpenDocument(options.document);
  ApplyTitle(session, options.titles);
  ApplyLengths(session, options);
  ApplyProducts(session, options.products);

  // Every change was accepted: only now is anything written.
  const std::filesystem::path output = options.output.empty() ? options.document : options.output;
  adapters::QtSystemInfo system;
  app::SettingsFile settings(app::SettingsFile::In(app::ProgramFolder()));
  session.Save(output,
               options.editor ? text::Cp1251FromUnknown(*options.editor)
                              : app::EditorIdentity(settings, system).PeekProposal(),
               system);

  const document::Document& doc = session.document();
  Json out = Json::object();
  out["output"] = Utf8(model::PathText(std::filesystem::absolute(doc.path())));
  out["sheets"] = doc.sheets().sheet_count();
  out["editor"] = Utf8(doc.editor_name());
  std::cout << Compact(out) << '\n';
  return kOk;
}

}  // namespace

void AddSetCommand(CLI::App& app, Outcome& outcome) {
  auto options = std::make_shared<SetOptions>();
  CLI::App* set = app.add_subcommand(
      "set",
      "Complete a saved document (.enum): title block fields, text heights, line widths and numbers of "
      "products, each refused as the dialogs refuse it; saved only when every value is accepted");
  set->add_option("file", options->document, "The document")->required();
  set->add_option("--title", options->titles,
                  "FIELD=TEXT: a title block field, by its name in dump's \"title\"; repeatable")
      ->allow_extra_args(false);
  using text::FormatG;
  set->add_option("--height", options->heights,
                  "NAME=MM: a text height (cell_height, designation_height, product_name_height, "
                  "enterprise_height, other_height), " +
                      FormatG(document::kMinTextHeight) + " to " + FormatG(document::kMaxTextHeight) +
                      " mm; repeatable")
      ->allow_extra_args(false);
  set->add_option("--line", options->lines,
                  "NAME=MM: a line width (main_line, thin_line), " + FormatG(document::kMinLineWidth) +
                      " (the thinnest line) to " + FormatG(document::kMaxLineWidth) + " mm; repeatable")
      ->allow_extra_args(false);
  set->add_option("--products", options->products,
                  "SHEET=N: the number of products of the simple bill's section that starts on sheet SHEET "
                  "(1 for the first), its quantities rescaled; repeatable")
      ->allow_extra_args(false);
  set->add_option("-o,--output", options->output, "Write the document here instead of over FILE");
  set->add_option("--editor", options->editor,
                  "Editor's name for the history record (default: the name the editor dialog proposes)");
  set->callback([options, &outcome] { outcome.status = RunSet(*options); });
}

}  // namespace tallyform::cli
