#include "app/design_reader.h"

#include <string>

#include "model/attributes.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {

elements::AsciiReadResult DesignReader::ReadFile(const std::filesystem::path& path, bool append,
                                                 elements::ListData& data, bool& mismatch) {
  const std::size_t first = append ? data.elements.count() : 0;
  elements::AsciiReadResult result = reader_.ReadFile(path, append, data);
  CheckRead(data, first, append, mismatch);
  return result;
}

elements::AsciiReadResult DesignReader::ReadBytes(std::string_view bytes, std::string_view file_text,
                                                  bool append, elements::ListData& data, bool& mismatch) {
  const std::size_t first = append ? data.elements.count() : 0;
  elements::AsciiReadResult result = reader_.ReadBytes(bytes, file_text, append, data);
  CheckRead(data, first, append, mismatch);
  return result;
}

void DesignReader::CheckRead(const elements::ListData& data, std::size_t first, bool append, bool& mismatch) {
  valuecheck::ReportRun run(check_);
  if (!append) {
    check_.ClearReport();
    check_.DeleteReportFile();
    mismatch = false;
  }
  for (std::size_t i = first; i < data.elements.count(); ++i) {
    const elements::Element& element = data.elements.at(i);
    const std::string designator(element.Get(model::kRefDes));
    const auto cls = valuecheck::CheckedClass(designator);
    if (!cls) continue;
    if (!check_.Check(*cls, designator, std::string(element.Get(model::kType)),
                      std::string(element.Get(model::kValue)), std::string(element.Get(model::kFile)))) {
      mismatch = true;
    }
  }
}

}  // namespace tallyform::app
