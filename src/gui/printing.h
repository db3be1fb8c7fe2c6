#pragma once
// Printing a document's sheets: one page per sheet, either at the sheet's true size on paper of the sheet's
// size, or scaled down to fit the printable area of the paper the printer has.

class QPrinter;
class QString;

namespace tallyform::document {
class SheetSet;
}  // namespace tallyform::document

namespace tallyform::gui {

enum class PrintScale {
  kTrueSize,      ///< the paper takes the sheet's size and orientation; no margins
  kFitPrintable,  ///< the printer's paper as set up; each sheet scaled to its printable area, centred
};

/// The sheets to print, 1-based and inclusive.
struct SheetRange {
  int first = 1;
  int last = 1;
  bool operator==(const SheetRange&) const = default;
};

/// The sheets the print dialog asked for on the printer: every sheet, the pages of its range cut to the
/// document's sheets, or `current`, the sheet the view shows. A document without sheets gives an empty
/// range (last < first).
SheetRange PrintedSheets(const QPrinter& printer, int current, int count);

/// Prints the sheets of `range` on the printer. Errors are tallyform::Error.
void PrintDocument(const document::SheetSet& sheets, QPrinter& printer, PrintScale scale, SheetRange range,
                   const QString& family);

}  // namespace tallyform::gui
