#pragma once
// Reading designs into one element list, as every front end does it: the first design replaces the list,
// the others append to it, and what the user should hear about comes back as an outcome.

#include <filesystem>
#include <string>
#include <vector>

#include "valuecheck/value_check.h"

namespace tallyform::elements {
struct ListData;
}  // namespace tallyform::elements

namespace tallyform::app {

class Application;

struct ReadOutcome {
  /// The reading's own value check, with its report.
  valuecheck::ValueCheck check;
  /// A value was found off its series; the report file names it.
  bool mismatch = false;
  /// For each file, in order: it was a saved document rather than a design.
  std::vector<bool> saved_documents;
  /// Warnings for the user, code page 1251: a design cut off inside a component block, one per design, and
  /// a report file that could not be written.
  std::vector<std::string> warnings;
};

/// Reads the designs into `data` in the order given (the first replaces the elements, attribute names and
/// prefixes, the others append) and runs a value check of the reading's own, its report started afresh. A
/// design that cannot be read stops the reading with the reader's error, its message led by the file's name;
/// the designs read before it stay in `data`.
ReadOutcome ReadDesigns(Application& application, const std::vector<std::filesystem::path>& files,
                        elements::ListData& data);

}  // namespace tallyform::app
