#include "document/fill_parameters.h"

#include "document/table_rows.h"

namespace tallyform::document {

model::FillParameters FillParametersOf(const CTableRows& table, model::DocumentKind kind) {
  return model::Clamped(kind, {table.empty_rows_between_groups(), table.empty_rows_at_end()});
}

void SetFillParameters(CTableRows& table, model::DocumentKind kind, const model::FillParameters& parameters) {
  model::Validate(kind, parameters);
  table.SetEmptyRowsBetweenGroups(parameters.gap);
  table.SetEmptyRowsAtEnd(parameters.tail);
}

}  // namespace tallyform::document
