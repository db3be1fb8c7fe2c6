#pragma once
// The value check: whether a resistor's or capacitor's nominal value belongs to the standard series its
// tolerance calls for, and the report "errors.log" of the values that do not.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tallyform::valuecheck {

enum class ComponentClass { kResistor, kCapacitor };

/// The checks, their report lists and the report file. One per application; shared by every document.
///
/// Every check mirrors the report lists into the report file before it returns, except inside a run
/// (BeginRun .. EndRun), where the file is written once when the run ends, so that reading or filling
/// thousands of elements costs one write.
class ValueCheck {
 public:
  explicit ValueCheck(std::filesystem::path report_path);
  ~ValueCheck();
  ValueCheck(const ValueCheck&) = delete;
  ValueCheck& operator=(const ValueCheck&) = delete;

  /// True when the value fits its series or is not examined; false when it does not fit or the element
  /// cannot be analysed. Texts are code page 1251.
  bool CheckResistor(std::string designator, std::string type, std::string value, std::string file);
  bool CheckCapacitor(std::string designator, std::string type, std::string value, std::string file);

  /// Empties the five report lists and forgets the remembered file names.
  void ClearReport();
  /// Deletes the report file, ignoring a file that is not there.
  void DeleteReportFile();
  /// Removes the entry block of a designator that failed before (before an edited cell is checked again).
  void ForgetEntries(ComponentClass cls, std::string_view designator);

  /// Defers writing the report file until the matching EndRun; runs nest.
  void BeginRun();
  void EndRun();

  /// Values off their series and elements that cannot be analysed, since the last ClearReport.
  std::size_t mismatch_count() const;
  std::size_t unanalysable_count() const;

  const std::filesystem::path& report_path() const;

 private:
  struct State;
  State* state_;
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

}  // namespace tallyform::valuecheck
