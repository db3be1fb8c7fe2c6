#include "app/open_workflow.h"

#include <string>

#include "model/errors.h"
#include "model/platform.h"

namespace tallyform::app {

DocumentSession OpenDocument(const std::filesystem::path& path) {
  try {
    return DocumentSession(document::Document::FromFile(path));
  } catch (const DamagedFile& e) {
    throw DamagedFile(model::PathText(path) + ": " + e.message());
  }
}

}  // namespace tallyform::app
