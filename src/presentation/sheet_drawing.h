#pragma once
// The drawing of one sheet: frame, side columns, title block, customer approval box, the fixed header of the
// document kind's table, the grid and the cell texts; on the screen also the sheet's edge and the selection.
//
// The drawing talks only to a ports::Device. It leaves lasting marks on the document: the drawn sheet's
// body height follows its position (first or following sheet), the first column of a bill of purchased
// items is numbered per sheet, every drawn cell text gets the table-text flag; and the sheet set keeps the
// mapping of the last drawing for its hit test.

#include "document/sheet_set.h"
#include "ports/device.h"

namespace tallyform::presentation {

/// The mapping of a sheet drawn at its true size on a printing device of the given resolution: device units
/// per millimetre from the dots per inch, origin at the page's corner. A resolution below 1 counts as 1.
document::SheetMapping PrintingMapping(const document::SheetSet& sheets, int dpi_x, int dpi_y);

/// What a drawing on the screen needs besides the sheet.
struct ScreenView {
  /// The sheet's height in device units at the zoom shown.
  int page_height = 0;
  /// The last plain click, window coordinates; the drawing resets it to (0, 0) when it hits no cell.
  document::Point selection;
  /// The scroll position, device units.
  document::Point scroll;
};

/// Draws sheet `number` (1-based) of the sheet set on a screen device: the sheet is scaled so that its
/// height is `view.page_height` and centred in the device's client area, and the mapping is stored in the
/// sheet set. Shows the sheet's edge and highlights the cell under `view.selection`. A number that names
/// no sheet draws nothing.
void DrawSheet(document::SheetSet& sheets, ports::Device& device, int number, ScreenView& view);

/// Draws sheet `number` (1-based) on a printing device through the mapping the sheet set holds (see
/// PrintingMapping); no sheet edge, no selection. On a screen device it draws as an unzoomed screen with no
/// selection.
void DrawSheet(document::SheetSet& sheets, ports::Device& device, int number);

}  // namespace tallyform::presentation
