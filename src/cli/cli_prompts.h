#pragma once
// The answers of the command-line program to the questions a core workflow asks: no one is there to
// answer, so questions are answered No, dialogs keep what they propose, and messages go to standard error.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ports/prompts.h"

namespace tallyform::cli {

class CliPrompts : public ports::Prompts {
 public:
  /// Printed to standard error as a warning.
  void Warning(const std::string& text) override;
  /// Printed to standard error.
  void ErrorMessage(const std::string& text) override;
  /// Printed to standard error as a warning.
  void Information(const std::string& text) override;
  /// No.
  bool Question(const std::string& text) override;
  /// Printed to standard error as a warning (these questions report value mismatches); No.
  bool WarningQuestion(const std::string& text) override;
  /// Printed to standard error, a warning when it is not information.
  void TitledMessage(ports::MessageIcon icon, const std::string& title, const std::string& text) override;
  /// No.
  bool TitledQuestion(const std::string& title, const std::string& text) override;
  /// Cancelled: the command line names the files.
  std::optional<std::filesystem::path> OpenFileName(const std::string& title,
                                                    const std::string& filter) override;
  /// Cancelled: the command line names the choice.
  std::optional<model::RefDes2Choice> RefDes2Properties(const model::RefDes2Offer& offer) override;
  /// The proposal.
  std::optional<std::filesystem::path> SaveFileName(const std::filesystem::path& proposal) override;
  /// The proposal.
  std::optional<std::string> EditorName(const std::string& proposal) override;
  /// The current choice.
  std::optional<std::size_t> SortChoice(const std::string& text, const std::vector<std::string>& choices,
                                        std::size_t current) override;
  /// The map as it stands (the options set the designations).
  std::optional<std::map<std::string, std::string>> Designations(
      const std::map<std::string, std::string>& map) override;
  /// Cancelled: the options name the roles.
  std::optional<model::RoleSelection> RoleChoice(const model::RoleSelection& current,
                                                 const std::vector<std::string>& names) override;
  /// The mapping as proposed (the options set the headings).
  std::optional<model::ColumnMapping> Mapping(const model::ColumnMapping& proposed,
                                              const std::vector<std::string>& titles) override;
};

}  // namespace tallyform::cli
