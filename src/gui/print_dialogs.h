#pragma once
// The dialogs of the print commands: the print dialog with the scale of the sheets, the print preview and
// the printer set-up. Each edits the printer and the scale; printing itself is printing.h's.

#include <QPrintDialog>
#include <functional>

#include "gui/printing.h"

class QPrinter;
class QRadioButton;

namespace tallyform::gui {

/// "Печать": the printer, the sheets to print (all, a range of the document's `sheet_count` sheets, or
/// the current one, left on the printer) and, on a tab of its own, the scale of the sheets.
class PrintDialog : public QPrintDialog {
  Q_OBJECT
 public:
  PrintDialog(QPrinter& printer, PrintScale scale, int sheet_count, QWidget* parent = nullptr);
  PrintScale scale() const;

 private:
  QRadioButton* true_size_;
  QRadioButton* fit_;
};

/// The print preview of `paint`, which draws the pages on the printer it is given.
void ShowPrintPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter*)>& paint);
/// The printer set-up ("П&араметры печати..."): chooses a printer and its paper; prints nothing.
void ShowPrinterSetup(QWidget* parent, QPrinter& printer);

}  // namespace tallyform::gui
