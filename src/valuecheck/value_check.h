#pragma once
// The value check: whether a resistor's or capacitor's nominal value belongs to the standard series its
// tolerance calls for, and the report "errors.log" of the values that do not.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "valuecheck/series.h"

namespace tallyform::ports {
class Shell;
}  // namespace tallyform::ports

namespace tallyform::valuecheck {

/// The standard series the checks compare values with. Building them takes a while, so the application
/// builds them once and every check shares them.
struct ValueSeries {
  ValueSeries();
  SeriesRegistry resistors;
  SeriesRegistry capacitors;
};

/// The checks of one reading or filling run, their report lists and the report file. Cheap to make over
/// shared series; each run has its own, so that a document keeps the report of its last fill whatever other
/// documents do.
///
/// Every check mirrors the report lists into the report file before it returns, except inside a run
/// (BeginRun .. EndRun), where the file is written once when the run ends, so that reading or filling
/// thousands of elements costs one write. Outside a run the file mirrors the lists after every change.
///
/// The report file holds up to three sections, capacitors, resistors and elements that cannot be
/// analysed; each lists its entries under a header of the source file they came from. Lines end in CR LF
/// on every platform.
class ValueCheck {
 public:
  /// `report_path` is where the report file is written; its folder must exist for the file to be written.
  /// This check builds series of its own.
  explicit ValueCheck(std::filesystem::path report_path);
  /// A check over shared series, which must not be null.
  ValueCheck(std::shared_ptr<const ValueSeries> series, std::filesystem::path report_path);
  ~ValueCheck();
  ValueCheck(ValueCheck&&) noexcept;
  ValueCheck& operator=(ValueCheck&&) noexcept;
  ValueCheck(const ValueCheck&) = delete;
  ValueCheck& operator=(const ValueCheck&) = delete;

  /// True when the value fits its series or is not examined; false when it does not fit or the element
  /// cannot be analysed. Texts are code page 1251.
  ///
  /// The tolerance is read from the type text (Р1-12-0,125-4,7 кОм-5% has 5); an empty value is taken
  /// from the type text too. An element without a tolerance, without a value, or whose value does not
  /// begin with a digit or separator cannot be analysed. A tolerance without a key (20 % and above) is
  /// not examined. A value off its series gets an entry with the nearest series values and the other
  /// tolerances whose series hold it.
  bool CheckResistor(std::string designator, std::string type, std::string value, std::string file);
  bool CheckCapacitor(std::string designator, std::string type, std::string value, std::string file);
  /// CheckResistor or CheckCapacitor, by class.
  bool Check(ComponentClass cls, std::string designator, std::string type, std::string value,
             std::string file);

  /// Empties the five report lists and forgets the remembered file names, so that the next entries get
  /// their file headers again.
  void ClearReport();
  /// Deletes the report file, ignoring a file that is not there.
  void DeleteReportFile();
  /// Removes the entry block of a designator that failed before (before an edited cell is checked again):
  /// its first entry in the report of its class, or, when it has none there, its first entry among the
  /// elements that cannot be analysed. A file header left without entries goes with it.
  void ForgetEntries(ComponentClass cls, std::string_view designator);

  /// Defers writing the report file until the matching EndRun; runs nest. The outermost EndRun writes the
  /// file when anything changed during the run.
  void BeginRun();
  void EndRun();

  /// Values off their series and elements that cannot be analysed, since the last ClearReport.
  std::size_t mismatch_count() const;
  std::size_t unanalysable_count() const;

  const std::filesystem::path& report_path() const;

  /// The bytes the report file holds when it mirrors the lists (CR LF line ends).
  std::string RenderReport() const;
  /// Writes the report file from this check's lists now, whatever another check wrote there since. False
  /// when the file could not be written (report_failure() says so).
  bool WriteReportFile() const;
  /// The message (naming the file, code page 1251) of the last write of the report file when it failed;
  /// nullopt after a write that succeeded or before the first. Writing fails quietly otherwise: the
  /// lists stay and the next write tries again.
  const std::optional<std::string>& report_failure() const;

  const SeriesRegistry& resistor_series() const;
  const SeriesRegistry& capacitor_series() const;

 private:
  struct State;
  void Changed();

  std::unique_ptr<State> state_;
};

/// Opens a run for its lifetime.
class ReportRun {
 public:
  explicit ReportRun(ValueCheck& check) : check_(check) { check_.BeginRun(); }
  ~ReportRun() { check_.EndRun(); }
  ReportRun(const ReportRun&) = delete;
  ReportRun& operator=(const ReportRun&) = delete;

 private:
  ValueCheck& check_;
};

/// The class of check a designator goes through: prefix exactly "R" resistors, exactly "C" capacitors;
/// nothing for every other element (RK1 and CT2 included).
std::optional<ComponentClass> CheckedClass(std::string_view designator);

/// Writes the check's report file (WriteReportFile) and asks the shell to open it. A report that cannot be
/// written is tallyform::UnreadableFile naming it, and nothing is opened.
void ShowReport(ports::Shell& shell, const ValueCheck& check);

}  // namespace tallyform::valuecheck
