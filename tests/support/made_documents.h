#pragma once
// Documents of any content for tests: the sheets edited freely on a sheet set of their own, then assembled
// into a document, which afterwards changes only through its session, as everywhere else.

#include <utility>

#include "document/document.h"
#include "document/sheet_set.h"
#include "elements/list_data.h"
#include "model/document_kind.h"

namespace tallyform::testing {

/// A document of the kind with the list data and the sheets `edit` makes of a new sheet set of the kind.
template <typename Edit>
document::Document MakeDocument(model::DocumentKind kind, elements::ListData data, Edit edit) {
  document::SheetSet set(kind);
  edit(set);
  document::SheetArray sheets;
  set.SwapSheets(sheets);
  return document::Document::Assemble({kind, std::move(sheets), std::move(data), {}});
}

}  // namespace tallyform::testing
