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

/// Prints every sheet on the printer. Errors are tallyform::Error.
void PrintDocument(const document::SheetSet& sheets, QPrinter& printer, PrintScale scale,
                   const QString& family);

}  // namespace tallyform::gui
