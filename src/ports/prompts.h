#pragma once
// The questions and dialogs a core workflow needs from the user. The GUI answers with message boxes and
// dialogs, the CLI with fixed non-interactive answers, the tests with scripted fakes.
//
// All texts are code page 1251. Paths are native (std::filesystem::path). A cancelled dialog returns
// std::nullopt.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/list_choices.h"
#include "model/refdes2.h"

namespace tallyform::ports {

/// The icon of a titled message box.
enum class MessageIcon { kInformation, kExclamation };

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

  /// A box with its own title, the icon and OK.
  virtual void TitledMessage(MessageIcon icon, const std::string& title, const std::string& text) = 0;
  /// A question with its own title, Yes and No, the question icon and No as the default; true for Yes.
  virtual bool TitledQuestion(const std::string& title, const std::string& text) = 0;

  /// The open file dialog titled `title` with `filter` ("PCB файл (*.pcb)|*.pcb||" style: pairs of a text and
  /// its patterns), the read-only box hidden; the chosen path, or nullopt when cancelled.
  virtual std::optional<std::filesystem::path> OpenFileName(const std::string& title,
                                                            const std::string& filter) = 0;
  /// The dialog "Свойства атрибута RefDes2" over the offer's lists (and model::kRefDes2Justifications). The
  /// choice on OK, or nullopt for "Отмена"; the dialog itself refuses OK while a list has no selection.
  virtual std::optional<model::RefDes2Choice> RefDes2Properties(const model::RefDes2Offer& offer) = 0;

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

  /// The designation dialog ("Обозначение документа"): one row per entry of `map` (a design's full path to
  /// the designation of the unit its elements go into), the designations edited in place. The map as
  /// edited on OK, or nullopt for "Отмена".
  virtual std::optional<std::map<std::string, std::string>> Designations(
      const std::map<std::string, std::string>& map) = 0;
  /// The roles dialog ("Атрибуты элементов"): four drop-down lists over `names`, showing `current`. The
  /// choices on OK, or nullopt for "Отмена". The caller checks the choices and asks again while they do not
  /// pass, so the dialog seems to stay open.
  virtual std::optional<model::RoleSelection> RoleChoice(const model::RoleSelection& current,
                                                         const std::vector<std::string>& names) = 0;
  /// The column mapping dialog ("Параметры заполнения документа"): a row per attribute with the title of its
  /// column, chosen among `titles` (the empty title first), and the two fill parameters. The mapping on OK,
  /// or nullopt for "Отмена".
  virtual std::optional<model::ColumnMapping> Mapping(const model::ColumnMapping& proposed,
                                                      const std::vector<std::string>& titles) = 0;
};

}  // namespace tallyform::ports
