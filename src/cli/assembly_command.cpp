// tallyform-cli assembly: the "_SB" copy of a board with RefDes2 on every component, through the design
// server.

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "app/assembly_drawing.h"
#include "cli/cli_prompts.h"
#include "cli/commands.h"
#include "model/errors.h"
#include "model/platform.h"
#include "model/refdes2.h"
#include "pcad/design_link.h"
#include "ports/progress.h"
#include "text/case_fold.h"
#include "text/cp1251.h"

namespace tallyform::cli {
namespace {

struct AssemblyOptions {
  std::string board;
  std::string layer;
  std::string style;
  std::string justify;
  bool replace = false;
  bool overwrite = false;
};

// The justification code named by its list text (any letter case) or by the code itself.
std::int32_t JustificationCode(const std::string& given) {
  for (const model::Justification& j : model::kRefDes2Justifications) {
    if (text::EqualNoCase(j.text, given) || std::to_string(j.code) == given) return j.code;
  }
  std::string known;
  for (const model::Justification& j : model::kRefDes2Justifications) {
    known += (known.empty() ? "" : ", ") + std::string(j.text);
  }
  throw BadUsage("assembly: --justify expects one of " + known + ", got \"" + text::Cp1251FromUnknown(given) +
                 "\"");
}

// The answers the command line gives: the overwrite question from --overwrite, the dialog from the options
// (a name the board does not have is said, listing the names it has, and cancels).
class AssemblyPrompts : public CliPrompts {
 public:
  explicit AssemblyPrompts(const AssemblyOptions& options) : options_(options) {}

  void TitledMessage(ports::MessageIcon icon, const std::string& title, const std::string& text) override {
    if (icon == ports::MessageIcon::kInformation) return;  // the summary on standard output says it
    CliPrompts::TitledMessage(icon, title, text);
  }
  bool TitledQuestion(const std::string&, const std::string&) override { return options_.overwrite; }

  std::optional<model::RefDes2Choice> RefDes2Properties(const model::RefDes2Offer& offer) override {
    if (offer.layers.empty()) return std::nullopt;  // the board could not be opened; its status was said
    model::RefDes2Choice choice;
    choice.justification = JustificationCode(options_.justify);
    choice.replace = options_.replace;
    const std::string layer = text::Cp1251FromUnknown(options_.layer);
    const std::string style = text::Cp1251FromUnknown(options_.style);
    bool layer_found = false;
    std::string layers;
    for (const model::RefDes2Layer& l : offer.layers) {
      layers += (layers.empty() ? "" : ", ") + l.name;
      if (!layer_found && text::EqualNoCase(l.name, layer)) {
        choice.layer_id = l.id;
        layer_found = true;
      }
    }
    if (!layer_found) {
      PrintError("assembly: the board has no layer \"" + layer + "\"; its layers: " + layers);
      bad_choice = true;
      return std::nullopt;
    }
    std::string styles;
    for (std::size_t i = 0; i < offer.text_styles.size(); ++i) {
      styles += (styles.empty() ? "" : ", ") + offer.text_styles[i];
      if (text::EqualNoCase(offer.text_styles[i], style)) {
        choice.text_style = static_cast<std::int32_t>(i);
        return choice;
      }
    }
    PrintError("assembly: the board has no text style \"" + style + "\"; its text styles: " + styles);
    bad_choice = true;
    return std::nullopt;
  }

  bool bad_choice = false;

 private:
  const AssemblyOptions& options_;
};

// A progress line on standard error, only when it is a terminal.
class TerminalProgress : public ports::Progress {
 public:
  TerminalProgress() : shown_(::isatty(STDERR_FILENO) != 0) {}
  void Start(int maximum) override {
    maximum_ = maximum;
    at_ = 0;
    Show();
  }
  void Step() override {
    ++at_;
    if (at_ % 25 == 0 || at_ == maximum_) Show();
  }
  void Finish() override {
    if (shown_) std::cerr << "\r\033[K" << std::flush;
  }

 private:
  void Show() const {
    if (!shown_ || maximum_ <= 0) return;
    std::cerr << "\rRefDes2: " << (at_ * 100 / maximum_) << "% (" << at_ << " attributes)" << std::flush;
  }
  bool shown_;
  int maximum_ = 0;
  int at_ = 0;
};

int RunAssembly(const AssemblyOptions& options) {
  JustificationCode(options.justify);  // a usage error before any file is touched
  const std::unique_ptr<ports::Dbx> link = pcad::MakeDesignLink();
  AssemblyPrompts prompts(options);
  TerminalProgress progress;
  const app::AssemblyOutcome outcome = app::PrepareAssemblyDrawing(options.board, *link, prompts, progress);
  switch (outcome.result) {
    case app::AssemblyResult::kDone:
      std::cout << "copy: " << text::ToUtf8(model::PathText(outcome.copy)) << '\n'
                << "added: " << outcome.added << '\n'
                << "restyled: " << outcome.modified << '\n'
                << "kept: " << outcome.kept << '\n'
                << "skipped: " << outcome.skipped << '\n';
      return kOk;
    case app::AssemblyResult::kCancelled:
      if (!prompts.bad_choice) PrintError("assembly: the board offers no layer to choose");
      return kBadInput;
    default:
      return kBadInput;
  }
}

}  // namespace

void AddAssemblyCommand(CLI::App& app, Outcome& outcome) {
  auto options = std::make_shared<AssemblyOptions>();
  CLI::App* command = app.add_subcommand(
      "assembly",
      "Prepare an assembly drawing: copy BOARD.pcb to BOARD_SB.pcb and give every component a RefDes2 "
      "attribute on the chosen layer, text style and justification");
  command->add_option("board", options->board, "The board (.pcb, P-CAD ASCII); it is only read")->required();
  command->add_option("--layer", options->layer, "The layer of RefDes2, by name (e.g. \"Top Assy\")")
      ->required();
  command->add_option("--style", options->style, "The text style of RefDes2, by name")->required();
  command
      ->add_option("--justify", options->justify,
                   "TOP, BOTTOM, LEFT, RIGHT, CENTER, LOWER_LEFT, LOWER_RIGHT, UPPER_LEFT or UPPER_RIGHT")
      ->default_val("CENTER");
  command->add_flag("--replace", options->replace, "Restyle RefDes2 where a component has it already");
  command->add_flag("--overwrite", options->overwrite,
                    "Make the copy afresh when it exists (else work on it)");
  command->callback([options, &outcome] { outcome.status = RunAssembly(*options); });
}

}  // namespace tallyform::cli
