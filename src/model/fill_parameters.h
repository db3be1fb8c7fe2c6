#pragma once
// The two fill parameters of a document: the empty rows left between groups (the gap) and the empty rows
// left at the end of a sheet (the tail). They live in the settings table (the first sheet's table); the fills read them
// from there.
//
// Values the user enters (command-line options, dialogs) are checked with Validate*, which refuses what
// would make a fill meaningless or endless; values read from a file are brought into range with Clamped.

#include "model/document_kind.h"

namespace tallyform::model {

/// The largest gap between groups that makes sense on any sheet.
inline constexpr int kMaxGap = 99;

struct FillParameters {
  int gap = 3;   ///< empty rows between groups
  int tail = 1;  ///< empty rows at the end of a sheet
  friend bool operator==(const FillParameters&, const FillParameters&) = default;
};

/// The number of rows a following sheet of the kind holds (32, 30 and 33 for kinds 0, 1, 2).
int FollowingSheetRows(DocumentKind kind);
/// The largest number of empty rows at the end of a sheet: a heading and its element must still fit on a
/// following sheet of the kind, so this is the following sheet's row count minus 3.
int MaxTail(DocumentKind kind);

/// Refuses a gap outside 0..kMaxGap with tallyform::BadUsage and a message that names the range.
void ValidateGap(int gap);
/// Refuses a tail outside 0..MaxTail(kind) with tallyform::BadUsage and a message that names the range.
void ValidateTail(DocumentKind kind, int tail);
/// Both checks.
void Validate(DocumentKind kind, const FillParameters& parameters);

/// The parameters brought into their ranges.
FillParameters Clamped(DocumentKind kind, const FillParameters& parameters);

}  // namespace tallyform::model
