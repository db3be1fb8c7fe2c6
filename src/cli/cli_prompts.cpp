#include "cli/cli_prompts.h"

#include "cli/commands.h"

namespace tallyform::cli {
namespace {

// Multi-part messages are joined with CR LF; one line each on the terminal reads better.
std::string OneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else if (text[i] == '\n') {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

void CliPrompts::Warning(const std::string& text) {
  PrintWarning(OneLine(text));
}

void CliPrompts::ErrorMessage(const std::string& text) {
  PrintError(OneLine(text));
}

void CliPrompts::Information(const std::string& text) {
  PrintWarning(OneLine(text));
}

bool CliPrompts::Question(const std::string&) {
  return false;
}

bool CliPrompts::WarningQuestion(const std::string& text) {
  PrintWarning(OneLine(text));
  return false;
}

void CliPrompts::TitledMessage(ports::MessageIcon icon, const std::string&, const std::string& text) {
  if (icon == ports::MessageIcon::kInformation) {
    PrintWarning(OneLine(text));
  } else {
    PrintError(OneLine(text));
  }
}

bool CliPrompts::TitledQuestion(const std::string&, const std::string&) {
  return false;
}

std::optional<std::filesystem::path> CliPrompts::OpenFileName(const std::string&, const std::string&) {
  return std::nullopt;
}

std::optional<model::RefDes2Choice> CliPrompts::RefDes2Properties(const model::RefDes2Offer&) {
  return std::nullopt;
}

std::optional<std::filesystem::path> CliPrompts::SaveFileName(const std::filesystem::path& proposal) {
  return proposal;
}

std::optional<std::string> CliPrompts::EditorName(const std::string& proposal) {
  return proposal;
}

std::optional<std::size_t> CliPrompts::SortChoice(const std::string&, const std::vector<std::string>&,
                                                  std::size_t current) {
  return current;
}

std::optional<std::map<std::string, std::string>> CliPrompts::Designations(
    const std::map<std::string, std::string>& map) {
  return map;
}

std::optional<model::RoleSelection> CliPrompts::RoleChoice(const model::RoleSelection&,
                                                           const std::vector<std::string>&) {
  return std::nullopt;
}

std::optional<model::ColumnMapping> CliPrompts::Mapping(const model::ColumnMapping& proposed,
                                                        const std::vector<std::string>&) {
  return proposed;
}

}  // namespace tallyform::cli
