#pragma once
// Printing a document's sheets: one page per sheet, either at the sheet's true size on paper of the sheet's
// size (for that print only: the printer keeps the paper it has), or scaled down, and turned when that
// prints it larger, to fit the printable area of the paper the printer has.

#include <QSizeF>

class QPrinter;
class QString;

namespace tallyform::document {
class SheetSet;
}  // namespace tallyform::document

namespace tallyform::gui {

enum class PrintScale {
  kTrueSize,      ///< the paper takes the sheet's size and orientation for the print; no margins
  kFitPrintable,  ///< the printer's paper as set up; each sheet scaled to its printable area, centred
};

/// How a sheet is fitted to the printable area of the paper.
struct SheetFit {
  /// The sheet's size times this is its size on the paper; never above 1.
  double scale = 1;
  /// The sheet is turned a quarter counter-clockwise (its top along the left edge of the paper).
  bool turned = false;
};

/// The fit of a sheet of size `sheet` into the printable `area` (both in the same units): as large as it
/// fits, but not larger than the sheet itself, and turned when it comes out larger turned (an A3
/// landscape sheet on A4 portrait paper).
SheetFit FitSheet(QSizeF sheet, QSizeF area);

/// The sheets to print, 1-based and inclusive.
struct SheetRange {
  int first = 1;
  int last = 1;
  bool operator==(const SheetRange&) const = default;
};

/// Readies a printer that serves every document for printing the one titled `title` (its file's name, or
/// "Enumeration1" before it is saved): the print job takes the title, and a printer that prints to a file
/// proposes a PDF named after the document in the folder the last one went to ("АБВГ.468157.001ПЭ3_1.enum"
/// gives ".../АБВГ.468157.001ПЭ3_1.pdf"), never the last document's file.
void NamePrintJob(QPrinter& printer, const QString& title);

/// The sheets the print dialog asked for on the printer: every sheet, the pages of its range cut to the
/// document's sheets, or `current`, the sheet the view shows. A document without sheets gives an empty
/// range (last < first).
SheetRange PrintedSheets(const QPrinter& printer, int current, int count);

/// Prints the sheets of `range` on the printer. Errors are tallyform::Error.
void PrintDocument(const document::SheetSet& sheets, QPrinter& printer, PrintScale scale, SheetRange range,
                   const QString& family);

}  // namespace tallyform::gui
