#pragma once
// The drawing of one sheet: frame, side columns, title block, customer approval box, the fixed header of the
// document kind's table, the grid and the cell texts; on the screen also the sheet's edge and the selection.
//
// The drawing talks only to a ports::Device and only reads the sheets: cells are drawn as they are shown
// (ShownCell: the rows of a bill of purchased items numbered per sheet, texts as table text), and what the
// drawing decides (the sheet drawn, the mapping, the pens, the last text height, the selection) goes into
// the view it is given. The sheets' geometry is the document's (SheetSet::LayOut).

#include "document/sheet_set.h"
#include "ports/device.h"
#include "presentation/sheet_view.h"

namespace tallyform::presentation {

/// The mapping of a sheet drawn at its true size on a printing device of the given resolution: device units
/// per millimetre from the dots per inch, origin at the page's corner. A resolution below 1 counts as 1.
SheetMapping PrintingMapping(const document::SheetSet& sheets, int dpi_x, int dpi_y);

/// What a drawing on the screen needs besides the sheet.
struct ScreenView {
  /// The sheet's height in device units at the zoom shown.
  int page_height = 0;
  /// The last plain click, window coordinates; the drawing resets it to (0, 0) when it hits no cell.
  Point selection;
  /// The scroll position, device units.
  Point scroll;
};

/// Draws sheet `number` (1-based) of the sheet set on a screen device: the sheet is scaled so that its
/// height is `screen.page_height` and centred in the device's client area, and the mapping is stored in
/// the view, which also takes the number as its current sheet. Shows the sheet's edge and highlights the
/// cell under `screen.selection` (the view's hit test). A number that names no sheet draws nothing.
void DrawSheet(const document::SheetSet& sheets, SheetView& view, ports::Device& device, int number,
               ScreenView& screen);

/// Draws sheet `number` (1-based) on a printing device through the mapping the view holds (see
/// PrintingMapping); no sheet edge, no selection. On a screen device it draws as an unzoomed screen with no
/// selection.
void DrawSheet(const document::SheetSet& sheets, SheetView& view, ports::Device& device, int number);

}  // namespace tallyform::presentation
