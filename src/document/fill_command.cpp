#include "document/fill_command.h"

#include <string>

#include "document/document.h"
#include "document/fill_list.h"
#include "ports/prompts.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {

void FillDocument(Document& document, const FillCommandContext& context) {
  if (document.kind() != DocumentKind::kElementList) {
    throw FillNotAvailable(std::string("Заполнение документов этого вида пока недоступно."_cp));
  }

  elements::ComponentList copy = document.data().elements;
  const FillServices services{context.measurer, context.kinds, context.check};
  {
    // One run, so that the report file is written once, after the last check.
    valuecheck::ReportRun run(context.check);
    context.check.ClearReport();
    context.check.DeleteReportFile();
    document.SetMismatch(false);
    bool mismatch = false;
    PrepareList(copy, document.data().roles);
    FillList(document.sheets(), copy, document.data().headings, services, mismatch);
    document.SetMismatch(mismatch);
  }
  document.sheets().ClearSelection();
  document.SetModified(true);

  if (document.mismatch() && context.prompts.WarningQuestion(std::string(kFillMismatchQuestion))) {
    valuecheck::ShowReport(context.shell, context.check);
  }
}

}  // namespace tallyform::document
