#pragma once
// The fill parameters as the settings table (the first sheet's table) stores them.

#include "model/fill_parameters.h"

namespace tallyform::document {

class CTableRows;

/// The parameters a table holds, brought into range for the kind.
model::FillParameters FillParametersOf(const CTableRows& table, model::DocumentKind kind);
/// Checks the parameters (as Validate) and stores them in the table.
void SetFillParameters(CTableRows& table, model::DocumentKind kind, const model::FillParameters& parameters);

}  // namespace tallyform::document
