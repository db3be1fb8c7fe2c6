#pragma once
// The questions a core workflow asks mid-work (ports::Prompts), answered with message boxes and the small
// dialogs they need. A dialog that a menu command opens is a class of its own (dialogs.h, print_dialogs.h).

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ports/prompts.h"

namespace tallyform::gui {

class WidgetPrompts : public ports::Prompts {
 public:
  /// Dialogs are centred on `parent` (the main window), which may be set later.
  explicit WidgetPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Warning(const std::string& text) override;
  void ErrorMessage(const std::string& text) override;
  void Information(const std::string& text) override;
  bool Question(const std::string& text) override;
  bool WarningQuestion(const std::string& text) override;
  void TitledMessage(ports::MessageIcon icon, const std::string& title, const std::string& text) override;
  bool TitledQuestion(const std::string& title, const std::string& text) override;
  std::optional<std::filesystem::path> OpenFileName(const std::string& title,
                                                    const std::string& filter) override;
  /// Not offered by the desktop program yet: cancelled.
  std::optional<model::RefDes2Choice> RefDes2Properties(const model::RefDes2Offer& offer) override;
  std::optional<std::filesystem::path> SaveFileName(const std::filesystem::path& proposal) override;
  std::optional<std::string> EditorName(const std::string& proposal) override;
  std::optional<std::size_t> SortChoice(const std::string& text, const std::vector<std::string>& choices,
                                        std::size_t current) override;
  std::optional<std::map<std::string, std::string>> Designations(
      const std::map<std::string, std::string>& map) override;
  std::optional<model::RoleSelection> RoleChoice(const model::RoleSelection& current,
                                                 const std::vector<std::string>& names) override;
  std::optional<model::ColumnMapping> Mapping(const model::ColumnMapping& proposed,
                                              const std::vector<std::string>& titles) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace tallyform::gui
