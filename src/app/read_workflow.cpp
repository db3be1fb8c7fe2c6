#include "app/read_workflow.h"

#include "app/application.h"
#include "app/design_reader.h"
#include "model/errors.h"
#include "model/platform.h"
#include "text/literal.h"

namespace tallyform::app {

using namespace tallyform::text::literals;

ReadOutcome ReadDesigns(Application& application, const std::vector<std::filesystem::path>& files,
                        elements::ListData& data) {
  ReadOutcome outcome{application.NewValueCheck(), false, {}, {}};
  DesignReader reader(application.kinds(), outcome.check);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string name = model::PathText(files[i]);
    elements::AsciiReadResult result;
    try {
      result = reader.ReadFile(files[i], i > 0, data, outcome.mismatch);
    } catch (const DamagedFile& e) {
      throw DamagedFile(name + ": " + e.message());
    }
    outcome.saved_documents.push_back(result.saved_document);
    if (result.cut_off) {
      outcome.warnings.push_back(name + ": " + std::string("файл обрывается внутри описания компонента "_cp) +
                                 result.cut_designator + std::string("; этот компонент не прочитан."_cp));
    }
  }
  if (const std::optional<std::string>& failure = outcome.check.report_failure()) {
    outcome.warnings.push_back(*failure);
  }
  return outcome;
}

}  // namespace tallyform::app
