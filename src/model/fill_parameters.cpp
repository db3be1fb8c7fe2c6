#include "model/fill_parameters.h"

#include <algorithm>
#include <string>

#include "model/errors.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::model {

using namespace tallyform::text::literals;

int FollowingSheetRows(DocumentKind kind) {
  const KindLayout& layout = LayoutOf(kind);
  const int sheet_height = SheetSizeOf(layout.format, layout.portrait).height;
  // A section sheet of the simple bill starts lower and holds fewer rows than a plain following sheet.
  return FollowingBodyHeight(kind, sheet_height, layout.section_top_offset) / kRowHeight;
}

int MaxTail(DocumentKind kind) {
  return FollowingSheetRows(kind) - 3;
}

void ValidateGap(int gap) {
  if (gap < 0 || gap > kMaxGap) {
    throw BadUsage(std::string("Число пустых строк между группами должно быть от 0 до "_cp) +
                   text::FormatD(kMaxGap) + ".");
  }
}

void ValidateTail(DocumentKind kind, int tail) {
  const int max = MaxTail(kind);
  if (tail < 0 || tail > max) {
    throw BadUsage(std::string("Число пустых строк в конце листа должно быть от 0 до "_cp) +
                   text::FormatD(max) + ".");
  }
}

void Validate(DocumentKind kind, const FillParameters& parameters) {
  ValidateGap(parameters.gap);
  ValidateTail(kind, parameters.tail);
}

FillParameters Clamped(DocumentKind kind, const FillParameters& parameters) {
  return {std::clamp(parameters.gap, 0, kMaxGap), std::clamp(parameters.tail, 0, MaxTail(kind))};
}

}  // namespace tallyform::model
