#pragma once
// Reading designs as the user meets it: the ASCII reader takes the elements of a design, the saved-list
// reader those of a saved document, and every resistor and capacitor read goes through the value check,
// whose report starts afresh with each new list.

#include <filesystem>
#include <string_view>

#include "elements/ascii_reader.h"
#include "elements/saved_list.h"

namespace tallyform::valuecheck {
class ValueCheck;
}

namespace tallyform::app {

class DesignReader {
 public:
  DesignReader(const model::ElementKinds& kinds, valuecheck::ValueCheck& check)
      : reader_(kinds), check_(check) {}

  /// Reads the design file as elements::AsciiReader::ReadFile does, then checks the values of the elements
  /// read, in list order, writing the report file once. Without `append` the report is emptied, its file
  /// deleted and `mismatch` cleared first; `mismatch` is set when a check fails. A file that is not a design
  /// but a saved document is read as ReadSavedBytes does: the file's contents decide, not its name.
  ///
  /// Throws as the reader does; then `data`, `mismatch` and the report are as they were.
  elements::AsciiReadResult ReadFile(const std::filesystem::path& path, bool append, elements::ListData& data,
                                     bool& mismatch);
  /// Reads the element data at the start of a saved document (elements::ReadSavedList, TakeSavedList) and
  /// checks the elements read whose "RefDes" has the prefix R or C, with their "RefDes", "Type", "Value"
  /// and "Файл". The report and `mismatch` as ReadFile. A file that is not a saved document is
  /// tallyform::DamagedFile (model::kDamagedArchive); then everything is as it was.
  void ReadSavedFile(const std::filesystem::path& path, bool append, elements::ListData& data,
                     bool& mismatch);
  void ReadSavedBytes(std::string_view bytes, bool append, elements::ListData& data, bool& mismatch);
  /// The same for a design held in memory whose "Файл" text is `file_text`.
  elements::AsciiReadResult ReadBytes(std::string_view bytes, std::string_view file_text, bool append,
                                      elements::ListData& data, bool& mismatch);

 private:
  void TakeSaved(elements::SavedList saved, bool append, elements::ListData& data, bool& mismatch);

  elements::AsciiReader reader_;
  valuecheck::ValueCheck& check_;
};

}  // namespace tallyform::app
