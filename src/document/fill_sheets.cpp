#include "document/fill_sheets.h"

#include "document/fill_bill.h"
#include "document/fill_list.h"
#include "document/fill_simple_bill.h"
#include "document/sheet_set.h"
#include "elements/list_data.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {

FilledSheets FillSheets(SheetSet& sheets, const elements::ListData& data, const FillTools& tools,
                        elements::MergeChoice merge) {
  elements::ComponentList copy = data.elements;
  FilledSheets filled;
  filled.report = std::make_unique<valuecheck::ValueCheck>(tools.series, tools.report_path);
  valuecheck::ValueCheck& check = *filled.report;
  const FillServices services{tools.measurer.get(), tools.kinds.get(), check};
  {
    // One run, so that the report file is written once, after the last check.
    valuecheck::ReportRun run(check);
    check.ClearReport();
    check.DeleteReportFile();
    switch (sheets.kind()) {
      case model::DocumentKind::kElementList:
        PrepareList(copy, data.roles);
        FillList(sheets, copy, data.headings, services, filled.mismatch);
        break;
      case model::DocumentKind::kPurchasedBill:
        PreparePurchased(copy, data.roles);
        FillBill(sheets, copy, data.headings, data.roles, services, filled.mismatch);
        break;
      case model::DocumentKind::kSimpleBill:
        PreparePurchased(copy, data.roles);
        FillSimpleBill(sheets, copy, data.headings, data.roles, merge, services, filled.mismatch);
        break;
    }
  }
  return filled;
}

}  // namespace tallyform::document
