#include "app/save_workflow.h"

#include <string>
#include <string_view>
#include <utility>

#include "app/document_session.h"
#include "document/document.h"
#include "model/errors.h"
#include "model/messages.h"
#include "model/platform.h"
#include "ports/prompts.h"
#include "ports/shell.h"
#include "text/case_fold.h"
#include "text/cp1251.h"

namespace tallyform::app {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The decimal digits plus one, keeping at least their width: "5" -> "6", "09" -> "10", "99" -> "100".
std::string Increment(std::string digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return digits;
    }
    digits[i] = '0';
  }
  return "1" + digits;
}

// Every run of digits equal to `from` (not part of a longer run) replaced by `to`.
std::string ReplaceNumber(std::string_view name, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t i = 0;
  while (i < name.size()) {
    if (!IsDigit(name[i])) {
      out.push_back(name[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < name.size() && IsDigit(name[end])) ++end;
    const std::string_view run = name.substr(i, end - i);
    out.append(run == from ? to : run);
    i = end;
  }
  return out;
}

}  // namespace

std::optional<std::filesystem::path> NextVersionPath(const std::filesystem::path& path) {
  const std::string name = model::Utf8FromPath(path.filename());
  const std::size_t underscore = name.rfind('_');
  const std::size_t dot = name.rfind('.');
  if (underscore == std::string::npos || dot == std::string::npos || dot < underscore) return std::nullopt;
  std::size_t end = underscore + 1;
  while (end < dot && IsDigit(name[end])) ++end;
  const std::string digits = name.substr(underscore + 1, end - underscore - 1);
  if (digits.find_first_not_of('0') == std::string::npos) return std::nullopt;  // no number, or 0
  return path.parent_path() / model::PathFromUtf8(ReplaceNumber(name, digits, Increment(digits)));
}

std::filesystem::path NewNameProposal(const document::Document& document, const std::string& title) {
  const std::string& designation = document.settings_table().title_field(document::TitleField::kDesignation);
  std::string proposal = designation.empty() ? title : designation + "_1";
  const std::size_t cut = proposal.find_first_of("#%;/\\");
  if (cut != std::string::npos) proposal.erase(cut);
  const std::string_view extension = document::kDocumentExtension;
  if (proposal.size() < extension.size() ||
      !text::EqualNoCase(std::string_view(proposal).substr(proposal.size() - extension.size()), extension)) {
    proposal += extension;
  }
  const std::filesystem::path name = model::PathFromUtf8(text::ToUtf8(proposal));
  return document.path().empty() ? name : document.path().parent_path() / name;
}

SaveWorkflow::SaveWorkflow(ports::Prompts& prompts, ports::SettingsStore& settings, ports::SystemInfo& system,
                           ports::Shell& shell, std::filesystem::path report_path)
    : prompts_(prompts),
      system_(system),
      shell_(shell),
      identity_(settings, system),
      report_path_(std::move(report_path)) {}

SaveResult SaveWorkflow::Save(DocumentSession& session) {
  if (session.document().path().empty()) return Run(session, std::nullopt);
  return Run(session, session.document().path());
}

SaveResult SaveWorkflow::SaveAs(DocumentSession& session) {
  return Run(session, std::nullopt);
}

SaveResult SaveWorkflow::Run(DocumentSession& session, const std::optional<std::filesystem::path>& path) {
  const document::Document& document = session.document();
  if (document.mismatch() && prompts_.WarningQuestion(model::DocumentMismatchQuestion())) {
    shell_.Open(report_path_);
  }

  std::filesystem::path target;
  const std::optional<std::filesystem::path> next = path ? NextVersionPath(*path) : std::nullopt;
  if (path && !next) {
    target = *path;
  } else {
    std::optional<std::filesystem::path> chosen =
        prompts_.SaveFileName(next ? *next : NewNameProposal(document, session.Title()));
    if (!chosen) return SaveResult::kCancelled;
    target = std::move(*chosen);
  }

  const std::optional<std::string> editor = identity_.Ask(prompts_);
  try {
    session.Save(target, editor, system_);
  } catch (const UnreadableFile& e) {
    prompts_.ErrorMessage(e.message());
    return SaveResult::kFailed;
  }
  return SaveResult::kSaved;
}

}  // namespace tallyform::app
