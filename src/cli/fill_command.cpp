// tallyform-cli fill: the whole road of a document: read the designs, prepare, fill, save.

#include "document/fill_command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "adapters/qt_settings_store.h"
#include "adapters/qt_shell.h"
#include "adapters/qt_system_info.h"
#include "adapters/qt_text_measurer.h"
#include "app/application.h"
#include "app/editor_identity.h"
#include "cli/cli_prompts.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/qt_session.h"
#include "document/document.h"
#include "document/fill_parameters.h"
#include "elements/default_headings.h"
#include "elements/list_data.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::cli {
namespace {

using namespace tallyform::text::literals;
using document::DocumentKind;

// The options of one run; each later option (roles, headings, joins, another source) gets a member here
// and a step in RunFill.
struct FillOptions {
  std::string kind;
  std::vector<std::string> files;
  std::string output;
  std::string pdf;
  std::optional<std::string> editor;
  std::optional<int> gap;
  std::optional<int> tail;
};

DocumentKind KindOf(const std::string& name) {
  if (name == "bill") return DocumentKind::kPurchasedBill;
  if (name == "simple") return DocumentKind::kSimpleBill;
  return DocumentKind::kElementList;
}

// The CLI's prompts, except that the report question is left to the summary at the end, which names the
// report file instead of offering to open it.
class FillPrompts : public CliPrompts {
 public:
  bool WarningQuestion(const std::string&) override { return false; }
};

int RunFill(const FillOptions& options) {
  const DocumentKind kind = KindOf(options.kind);
  if (kind != DocumentKind::kElementList) {
    throw document::FillNotAvailable(std::string("Заполнение документов этого вида пока недоступно."_cp));
  }
  // Values the user typed are refused before anything is read.
  if (options.gap) document::ValidateGap(*options.gap);
  if (options.tail) document::ValidateTail(kind, *options.tail);

  EnsureQtSession();
  app::Application application(app::ProgramFolder());
  document::Document doc(kind);

  elements::ListData data;
  bool read_mismatch = false;
  ReadDesigns(application, options.files, data, read_mismatch);
  data.roles = elements::DefaultRoles();
  elements::ApplyDefaultHeadings(data.headings, data.roles, kind);
  doc.SetListData(std::move(data));

  document::FillParameters parameters = doc.fill_parameters();
  if (options.gap) parameters.gap = *options.gap;
  if (options.tail) parameters.tail = *options.tail;
  document::SetFillParameters(doc.settings_table(), kind, parameters);

  const adapters::QtTextMeasurer measurer;
  adapters::QtShell shell;
  FillPrompts prompts;
  document::FillDocument(doc, {measurer, application.kinds(), application.value_check(), prompts, shell});

  adapters::QtSystemInfo system;
  if (options.editor) {
    doc.SetEditorName(text::Cp1251FromUnknown(*options.editor));
  } else {
    // Only proposed: the name the editor dialog would offer, without storing anything.
    adapters::QtSettingsStore settings(adapters::QtSettingsStore::FileIn(application.folder()));
    doc.SetEditorName(app::EditorIdentity(settings, system).PeekProposal());
  }
  doc.Save(options.output, system);
  // Drawn after saving, so the file holds the fill as it is, whatever the drawing marks in the sheets.
  if (!options.pdf.empty()) WriteDocumentPdf(doc, options.pdf);

  const std::string report = text::Cp1251FromUnknown(application.value_check().report_path().string());
  Json out = Json::object();
  out["output"] = Utf8(text::Cp1251FromUnknown(std::filesystem::absolute(doc.path()).string()));
  out["elements"] = doc.data().elements.count();
  out["sheets"] = doc.sheets().sheet_count();
  out["editor"] = Utf8(doc.editor_name());
  out["mismatch"] = doc.mismatch();
  out["report"] = Utf8(report);
  if (!options.pdf.empty()) {
    out["pdf"] = Utf8(text::Cp1251FromUnknown(std::filesystem::absolute(options.pdf).string()));
  }
  std::cout << Compact(out) << '\n';
  if (doc.mismatch()) {
    PrintWarning(std::string("В данном документе обнаружен ряд несоответствий номиналов резисторов и/или "
                             "конденсаторов их заданной точности. Отчет: "_cp) +
                 report);
  }
  return kOk;
}

}  // namespace

void AddFillCommand(CLI::App& app, Outcome& outcome) {
  auto options = std::make_shared<FillOptions>();
  CLI::App* fill = app.add_subcommand("fill", "Read designs, fill a document of a kind and save it as .enum");
  fill->add_option("--kind", options->kind, "Document kind: list (list of elements), bill, simple")
      ->required()
      ->check(CLI::IsMember({"list", "bill", "simple"}));
  fill->add_option("files", options->files, "Designs, read into one list in the order given")->required();
  fill->add_option("-o,--output", options->output, "The document file to write (OUT.enum)")->required();
  fill->add_option("--pdf", options->pdf, "Also draw every sheet into this PDF file, one page per sheet");
  fill->add_option("--editor", options->editor,
                   "Editor's name for the history record (default: the name the editor dialog proposes)");
  fill->add_option("--gap", options->gap, "Empty rows between groups (0 to 99)");
  fill->add_option("--tail", options->tail, "Empty rows at the end of a sheet");
  fill->callback([options, &outcome] { outcome.status = RunFill(*options); });
}

}  // namespace tallyform::cli
