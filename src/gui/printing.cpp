#include "gui/printing.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <string>

#include "adapters/qt_device.h"
#include "adapters/sheet_export.h"
#include "document/sheet_set.h"
#include "model/errors.h"
#include "presentation/sheet_drawing.h"
#include "presentation/sheet_view.h"

namespace tallyform::gui {
namespace {

void PrintFitted(const document::SheetSet& sheets, QPrinter& printer, const QString& family) {
  QPainter painter;
  if (!painter.begin(&printer)) throw UnreadableFile("Не удалось начать печать.");
  const int dpi = printer.resolution();
  const QRect area = printer.pageLayout().paintRectPixels(dpi);
  const double sheet_width = sheets.sheet_width() / 25.4 * dpi;
  const double sheet_height = sheets.sheet_height() / 25.4 * dpi;
  const double scale = std::min({1.0, area.width() / sheet_width, area.height() / sheet_height});
  presentation::SheetView view;
  for (int number = 1; number <= static_cast<int>(sheets.sheet_count()); ++number) {
    if (number > 1) printer.newPage();
    painter.save();
    painter.translate((area.width() - sheet_width * scale) / 2, (area.height() - sheet_height * scale) / 2);
    painter.scale(scale, scale);
    view.SetMapping(presentation::PrintingMapping(sheets, dpi, dpi));
    {
      adapters::QtDevice device(painter, adapters::QtDevice::Use::kPrinting, family);
      presentation::DrawSheet(sheets, view, device, number);
    }
    painter.restore();
  }
  painter.end();
}

}  // namespace

void PrintDocument(const document::SheetSet& sheets, QPrinter& printer, PrintScale scale,
                   const QString& family) {
  if (scale == PrintScale::kFitPrintable) {
    PrintFitted(sheets, printer, family);
    return;
  }
  adapters::ExportOptions options;
  options.family = family;
  adapters::PrintSheets(sheets, printer, options);
}

}  // namespace tallyform::gui
