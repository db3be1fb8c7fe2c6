#pragma once
// The questions and dialogs a core workflow needs from the user. The GUI answers with message boxes and
// dialogs, the CLI with fixed non-interactive answers, the tests with scripted fakes.
//
// All texts are code page 1251. Paths are native (std::filesystem::path). A cancelled dialog returns
// std::nullopt.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tallyform::ports {

class Prompts {
 public:
  virtual ~Prompts() = default;

  /// A warning box titled "Внимание" with the exclamation icon and OK.
  virtual void Warning(const std::string& text) = 0;
  /// An error box with OK.
  virtual void ErrorMessage(const std::string& text) = 0;
  /// An information box with OK.
  virtual void Information(const std::string& text) = 0;
  /// A question titled "Вопрос" with Yes and No; true for Yes.
  virtual bool Question(const std::string& text) = 0;
  /// A Yes/No question with the exclamation icon (the questions that offer the value-check report); true
  /// for Yes.
  virtual bool WarningQuestion(const std::string& text) = 0;

  /// The save file dialog, proposing a path; the chosen path, or nullopt when cancelled.
  virtual std::optional<std::filesystem::path> SaveFileName(const std::filesystem::path& proposal) = 0;
  /// The editor dialog ("Документ редактировал") with the proposed name; the typed name, or nullopt for
  /// "Отмена".
  virtual std::optional<std::string> EditorName(const std::string& proposal) = 0;
  /// The sort choice dialog ("Сортировка"): `text` above the mutually exclusive `choices`, the one at
  /// `current` marked, with OK and "Отмена". The index of the choice on OK, or nullopt for "Отмена".
  virtual std::optional<std::size_t> SortChoice(const std::string& text,
                                                const std::vector<std::string>& choices,
                                                std::size_t current) = 0;
};

}  // namespace tallyform::ports
