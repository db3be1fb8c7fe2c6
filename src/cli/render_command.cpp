// tallyform-cli render: draws the sheets of a document into a PDF file, SVG files or PNG images.

#include <unistd.h>

#include <QString>
#include <functional>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "adapters/qt_text.h"
#include "adapters/sheet_export.h"
#include "adapters/sheet_font.h"
#include "app/open_workflow.h"
#include "cli/commands.h"
#include "cli/qt_session.h"
#include "document/document.h"
#include "model/errors.h"
#include "model/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::cli {
namespace {

// Long drawings show how far they are on a terminal; pipes and files get nothing.
std::function<void(int, int)> TerminalProgress() {
  if (isatty(STDERR_FILENO) == 0) return {};
  return [](int done, int total) {
    if (total < 2) return;
    std::cerr << "\rsheet " << done << " of " << total << (done == total ? "\n" : "") << std::flush;
  };
}

using namespace tallyform::text::literals;
using Json = nlohmann::ordered_json;

struct RenderOptions {
  std::string document;
  std::string pdf;
  std::string svg;
  std::string png;
  std::optional<int> dpi;
  std::optional<int> sheet;
  std::string font;
};

std::string Utf8Path(const std::filesystem::path& path) {
  return text::ToUtf8(model::PathText(path));
}

int RunRender(const RenderOptions& options) {
  const int outputs = !options.pdf.empty() + !options.svg.empty() + !options.png.empty();
  if (outputs != 1) throw BadUsage("render: give exactly one of --pdf, --svg, --png");
  if (options.dpi && options.png.empty()) throw BadUsage("render: --dpi applies to --png only");

  EnsureQtSession();
  // Drawn as a window shows a document it opened; the file is not written.
  const app::DocumentSession session = app::OpenDocument(options.document);
  const document::Document& doc = session.document();

  adapters::ExportOptions exports;
  exports.family = QString::fromStdString(options.font);
  exports.png_dpi = options.dpi.value_or(adapters::kDefaultPngDpi);
  exports.sheet = options.sheet;
  exports.progress = TerminalProgress();
  WarnAboutMissingFont(options.font);

  std::vector<std::filesystem::path> written;
  if (!options.pdf.empty()) {
    adapters::ExportPdf(doc.sheets(), options.pdf, exports);
    written.emplace_back(options.pdf);
  } else if (!options.svg.empty()) {
    written = adapters::ExportSvg(doc.sheets(), options.svg, exports);
  } else {
    written = adapters::ExportPng(doc.sheets(), options.png, exports);
  }

  Json files = Json::array();
  for (const auto& file : written) files.push_back(Utf8Path(file));
  Json out;
  out["sheets"] = doc.sheets().sheet_count();
  out["files"] = std::move(files);
  std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
  return kOk;
}

}  // namespace

// The sheet face falls back silently; a face the user named and does not get deserves a word.
void WarnAboutMissingFont(const std::string& font) {
  const QString family = QString::fromStdString(font);
  if (family.isEmpty() || adapters::HasFontFamily(family)) return;
  PrintWarning(std::string("шрифт \""_cp) + adapters::FromQString(family) +
               std::string("\" не найден; тексты нарисованы шрифтом \""_cp) +
               adapters::FromQString(adapters::ChooseSheetFamily(family)) + "\".");
}

void WriteDocumentPdf(const document::Document& doc, const std::string& pdf_path, const std::string& font) {
  EnsureQtSession();
  adapters::ExportOptions exports;
  exports.family = QString::fromStdString(font);
  exports.progress = TerminalProgress();
  adapters::ExportPdf(doc.sheets(), pdf_path, exports);
}

void AddRenderCommand(CLI::App& app, Outcome& outcome) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* render = app.add_subcommand(
      "render", "Draw the sheets of a document (.enum) into a PDF file, SVG files or PNG images");
  render->add_option("document", options->document, "The document file (.enum)")->required();
  CLI::Option* pdf =
      render->add_option("--pdf", options->pdf, "Write every sheet as a page of this PDF file");
  CLI::Option* svg =
      render->add_option("--svg", options->svg,
                         "Write one SVG file per sheet into this folder: sheet-001.svg, sheet-002.svg, ...");
  CLI::Option* png =
      render->add_option("--png", options->png,
                         "Write one PNG image per sheet into this folder: sheet-001.png, sheet-002.png, ...");
  pdf->excludes(svg)->excludes(png);
  svg->excludes(png);
  render
      ->add_option("--dpi", options->dpi,
                   "Resolution of the PNG images in dots per inch (default " +
                       std::to_string(adapters::kDefaultPngDpi) + ")")
      ->check(CLI::Range(adapters::kMinPngDpi, adapters::kMaxPngDpi));
  render->add_option("--sheet", options->sheet, "Draw only this sheet (1 for the first)")
      ->check(CLI::PositiveNumber);
  render->add_option("--font", options->font, "Draw the texts in this font family instead of the sheet font");
  render->callback([options, &outcome] { outcome.status = RunRender(*options); });
}

}  // namespace tallyform::cli
