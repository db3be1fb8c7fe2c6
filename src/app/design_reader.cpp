#include "app/design_reader.h"

#include <optional>
#include <string>

#include "model/attributes.h"
#include "model/errors.h"
#include "model/messages.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {

namespace {

std::optional<valuecheck::ComponentClass> CheckedClassOf(std::string_view prefix) {
  if (prefix == "R") return valuecheck::ComponentClass::kResistor;
  if (prefix == "C") return valuecheck::ComponentClass::kCapacitor;
  return std::nullopt;
}

}  // namespace

elements::AsciiReadResult DesignReader::ReadFile(const std::filesystem::path& path, bool append,
                                                 elements::ListData& data, bool& mismatch) {
  const std::string bytes = elements::ReadWholeFile(path);
  if (!elements::IsAsciiDesign(bytes)) {
    // A saved document is taken by its contents; what is neither is the design reader's unknown format.
    std::optional<elements::SavedList> saved;
    try {
      saved = elements::ReadSavedList(bytes);
    } catch (const DamagedFile&) {
    }
    // Every document file goes on after its element data with its tables.
    if (!saved || saved->bytes_after == 0) throw DamagedFile(std::string(model::kUnknownFormat));
    const std::size_t count = saved->elements.count();
    TakeSaved(std::move(*saved), append, data, mismatch);
    elements::AsciiReadResult result;
    result.elements_read = count;
    result.saved_document = true;
    return result;
  }
  return ReadBytes(bytes, elements::FileText(path), append, data, mismatch);
}

void DesignReader::ReadSavedFile(const std::filesystem::path& path, bool append, elements::ListData& data,
                                 bool& mismatch) {
  ReadSavedBytes(elements::ReadWholeFile(path), append, data, mismatch);
}

void DesignReader::ReadSavedBytes(std::string_view bytes, bool append, elements::ListData& data,
                                  bool& mismatch) {
  TakeSaved(elements::ReadSavedList(bytes), append, data, mismatch);
}

void DesignReader::TakeSaved(elements::SavedList saved, bool append, elements::ListData& data,
                             bool& mismatch) {
  valuecheck::ReportRun run(check_);
  if (!append) {
    check_.ClearReport();
    check_.DeleteReportFile();
  }
  bool failed = false;
  for (const auto& element : saved.elements.storage()) {
    const std::string_view designator = element->Get(model::kRefDes);
    const auto cls = CheckedClassOf(model::DesignatorPrefix(designator));
    if (cls &&
        !check_.Check(*cls, std::string(designator), std::string(element->Get(model::kType)),
                      std::string(element->Get(model::kValue)), std::string(element->Get(model::kFile)))) {
      failed = true;
    }
  }
  elements::TakeSavedList(std::move(saved), append, data);
  if (!append) mismatch = false;
  if (failed) mismatch = true;
}

elements::AsciiReadResult DesignReader::ReadBytes(std::string_view bytes, std::string_view file_text,
                                                  bool append, elements::ListData& data, bool& mismatch) {
  // What is not a design leaves the report as it was.
  if (!elements::IsAsciiDesign(bytes)) throw DamagedFile(std::string(model::kUnknownFormat));
  valuecheck::ReportRun run(check_);
  if (!append) {
    check_.ClearReport();
    check_.DeleteReportFile();
  }
  bool failed = false;
  const std::string file(file_text);
  // Checked while the design is scanned, each element while it is at hand.
  elements::AsciiReadResult result = reader_.ReadBytes(
      bytes, file_text, append, data, [&](std::string_view prefix, const elements::Element& element) {
        const auto cls = CheckedClassOf(prefix);
        if (cls && !check_.Check(*cls, std::string(element.Get(model::kRefDes)),
                                 std::string(element.Get(model::kType)),
                                 std::string(element.Get(model::kValue)), file)) {
          failed = true;
        }
      });
  if (!append) mismatch = false;
  if (failed) mismatch = true;
  return result;
}

}  // namespace tallyform::app
