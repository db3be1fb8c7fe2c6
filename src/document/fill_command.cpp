#include "document/fill_command.h"

#include <string>

#include "document/document.h"
#include "document/fill_bill.h"
#include "document/fill_list.h"
#include "document/fill_simple_bill.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {

void FillDocument(Document& document, const FillCommandContext& context, elements::MergeChoice merge) {
  elements::ComponentList copy = document.data().elements;
  auto check = std::make_unique<valuecheck::ValueCheck>(context.series, context.report_path);
  const FillServices services{context.measurer, context.kinds, *check};
  {
    // One run, so that the report file is written once, after the last check.
    valuecheck::ReportRun run(*check);
    check->ClearReport();
    check->DeleteReportFile();
    document.SetMismatch(false);
    bool mismatch = false;
    const elements::ListData& data = document.data();
    switch (document.kind()) {
      case model::DocumentKind::kElementList:
        PrepareList(copy, data.roles);
        FillList(document.sheets(), copy, data.headings, services, mismatch);
        break;
      case model::DocumentKind::kPurchasedBill:
        PreparePurchased(copy, data.roles);
        FillBill(document.sheets(), copy, data.headings, data.roles, services, mismatch);
        break;
      case model::DocumentKind::kSimpleBill:
        PreparePurchased(copy, data.roles);
        FillSimpleBill(document.sheets(), copy, data.headings, data.roles, merge, services, mismatch);
        break;
    }
    document.SetMismatch(mismatch);
  }
  document.SetValueReport(std::move(check));
  document.LayOutSheets();
  document.SetModified(true);
}

}  // namespace tallyform::document
