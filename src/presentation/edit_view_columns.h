#pragma once
// The columns of the edit view, by document kind: the row number first, then the sheet cells the kind
// lets the user edit, each under its heading; and which columns are as wide as their contents.

#include <span>

#include "model/document_kind.h"

namespace tallyform::presentation {

struct EditViewColumn {
  /// The heading, UTF-8.
  const char* heading;
  /// The sheet cell the column shows (0-based), or kRowNumber for the row's number on its sheet (from 1).
  int cell;
  /// The column is as wide as the wider of its contents and its heading (at least kLeastWidth pixels);
  /// the others keep the width the view gives them.
  bool fits_contents;
};

inline constexpr int kRowNumber = -1;
inline constexpr int kLeastWidth = 10;

/// The columns of the edit view of a document of `kind`, left to right. A list of elements shows cell i
/// in column i + 1; the bills show cell i (from 1) in column i, their first cell (the row's number on the
/// sheet) left out.
std::span<const EditViewColumn> EditViewColumns(model::DocumentKind kind);

/// The column showing `cell`, or -1 when the kind's edit view does not show it.
int EditViewColumnOf(model::DocumentKind kind, int cell);

}  // namespace tallyform::presentation
