#include "app/design_reader.h"

#include <optional>
#include <string>

#include "model/attributes.h"
#include "model/errors.h"
#include "model/messages.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {

elements::AsciiReadResult DesignReader::ReadFile(const std::filesystem::path& path, bool append,
                                                 elements::ListData& data, bool& mismatch) {
  const std::string bytes = elements::ReadWholeFile(path);
  return ReadBytes(bytes, elements::FileText(path), append, data, mismatch);
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
        const auto cls = prefix == "R"   ? std::optional(valuecheck::ComponentClass::kResistor)
                         : prefix == "C" ? std::optional(valuecheck::ComponentClass::kCapacitor)
                                         : std::nullopt;
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
