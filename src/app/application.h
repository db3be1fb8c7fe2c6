#pragma once
// The application object: what the whole program shares. It owns the element kinds, the series of the value
// check and the document kind chosen last; it is made once at start-up and passed by reference to whatever
// needs it, and the P-CAD design link. Each reading or filling run makes its own value check over the shared
// series.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/document_kind.h"
#include "model/element_kinds.h"
#include "pcad/design_link.h"
#include "ports/dbx.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {

/// The program's folder, which holds "ElementNames.map", "errors.log" and the settings file:
/// $TALLYFORM_HOME when set; otherwise the folder of the executable on Windows, and elsewhere
/// $XDG_DATA_HOME/tallyform or ~/.local/share/tallyform.
/// The folder is created when missing (a folder that cannot be created is returned all the same; the files
/// in it are then simply not written).
std::filesystem::path ProgramFolder();

/// The file name of the value-check report inside the program's folder.
inline constexpr const char* kReportFile = "errors.log";

class Application {
 public:
  /// Starts the application on the program's folder: loads "ElementNames.map" when it exists, otherwise
  /// fills the built-in kinds and writes the file; builds the series of the value check, whose runs report
  /// to "errors.log" in the folder.
  explicit Application(std::filesystem::path folder);
  /// Starts as above with the design link given instead of the platform's (the design server over P-CAD
  /// ASCII files stands in for P-CAD on every platform).
  Application(std::filesystem::path folder, std::unique_ptr<ports::Dbx> design_link);
  /// Holds the folder only; StartUp() loads the kinds and builds the series later. The desktop program makes
  /// its main window and shows its splash screen in between.
  struct NotStarted {};
  Application(std::filesystem::path folder, NotStarted);
  /// Loads the kinds and builds the series, as the first constructor does; once.
  void StartUp();
  /// What the user should hear of the start-up (code page 1251): a kinds file that could not be written.
  /// The program works on all the same.
  const std::vector<std::string>& start_up_warnings() const { return start_up_warnings_; }
  bool started() const { return value_series_ != nullptr; }
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  /// The kinds file of the folder.
  std::filesystem::path ElementNamesPath() const { return folder_ / model::kElementNamesFile; }

  model::ElementKinds& kinds() { return kinds_; }
  const model::ElementKinds& kinds() const { return kinds_; }
  /// The series every value check (null before StartUp()) of the program compares with.
  const std::shared_ptr<const valuecheck::ValueSeries>& value_series() const { return value_series_; }
  /// The report file of the value check: "errors.log" in the folder.
  std::filesystem::path report_path() const { return folder_ / kReportFile; }
  /// A value check for one reading or filling run, over the shared series, reporting to report_path().
  valuecheck::ValueCheck NewValueCheck() const {
    return valuecheck::ValueCheck(value_series_, report_path());
  }

  /// The document kind chosen last for a new document.
  model::DocumentKind document_kind() const { return document_kind_; }
  void set_document_kind(model::DocumentKind kind) { document_kind_ = kind; }

  /// The P-CAD design link (pcad::MakeDesignLink): P-CAD's own library on Windows, the design server over
  /// P-CAD ASCII files elsewhere. The server keeps a design loaded between uses as P-CAD keeps it open, so
  /// the program shares one.
  ports::Dbx& dbx() { return *design_link_; }

 private:
  std::filesystem::path folder_;
  model::ElementKinds kinds_;
  std::shared_ptr<const valuecheck::ValueSeries> value_series_;
  model::DocumentKind document_kind_ = model::DocumentKind::kElementList;
  std::vector<std::string> start_up_warnings_;
  std::unique_ptr<ports::Dbx> design_link_ = pcad::MakeDesignLink();
};

}  // namespace tallyform::app
