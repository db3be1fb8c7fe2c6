#include "gui/printing.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <algorithm>
#include <string>

#include "adapters/qt_device.h"
#include "adapters/sheet_export.h"
#include "document/sheet_set.h"
#include "model/errors.h"
#include "presentation/sheet_drawing.h"
#include "presentation/sheet_view.h"
#include "text/literal.h"

namespace tallyform::gui {
namespace {

using namespace tallyform::text::literals;

void PrintFitted(const document::SheetSet& sheets, QPrinter& printer, SheetRange range,
                 const QString& family) {
  QPainter painter;
  if (!painter.begin(&printer)) throw UnreadableFile(std::string("Не удалось начать печать."_cp));
  const int dpi = printer.resolution();
  const QRect area = printer.pageLayout().paintRectPixels(dpi);
  const QSizeF sheet(sheets.sheet_width() / 25.4 * dpi, sheets.sheet_height() / 25.4 * dpi);
  const SheetFit fit = FitSheet(sheet, area.size());
  const QSizeF placed = (fit.turned ? sheet.transposed() : sheet) * fit.scale;
  presentation::SheetView view;
  for (int number = range.first; number <= range.last; ++number) {
    if (number > range.first) printer.newPage();
    painter.save();
    painter.translate((area.width() - placed.width()) / 2, (area.height() - placed.height()) / 2);
    if (fit.turned) {
      // The sheet's top-left corner to the lower left of the paper, its top along the left edge.
      painter.translate(0, placed.height());
      painter.rotate(-90);
    }
    painter.scale(fit.scale, fit.scale);
    view.SetMapping(presentation::PrintingMapping(sheets, dpi, dpi));
    {
      adapters::QtDevice device(painter, adapters::QtDevice::Use::kPrinting, family);
      presentation::DrawSheet(sheets, view, device, number);
    }
    painter.restore();
  }
  painter.end();
}

// Gives the printer back its paper when a print ends, however it ends.
class KeptPaper {
 public:
  explicit KeptPaper(QPrinter& printer) : printer_(printer), layout_(printer.pageLayout()) {}
  KeptPaper(const KeptPaper&) = delete;
  KeptPaper& operator=(const KeptPaper&) = delete;
  ~KeptPaper() { printer_.setPageLayout(layout_); }

 private:
  QPrinter& printer_;
  QPageLayout layout_;
};

}  // namespace

SheetFit FitSheet(QSizeF sheet, QSizeF area) {
  const auto scale = [area](double width, double height) {
    return std::min({1.0, area.width() / width, area.height() / height});
  };
  const double upright = scale(sheet.width(), sheet.height());
  const double turned = scale(sheet.height(), sheet.width());
  return turned > upright ? SheetFit{turned, true} : SheetFit{upright, false};
}

void NamePrintJob(QPrinter& printer, const QString& title) {
  printer.setDocName(title);
  const QString last = printer.outputFileName();
  if (last.isEmpty()) return;
  QString name = title;
  const QString suffix = QStringLiteral(".enum");
  if (name.endsWith(suffix, Qt::CaseInsensitive)) name.chop(suffix.size());
  printer.setOutputFileName(QFileInfo(last).absoluteDir().filePath(name + QStringLiteral(".pdf")));
}

SheetRange PrintedSheets(const QPrinter& printer, int current, int count) {
  if (count < 1) return {1, 0};
  switch (printer.printRange()) {
    case QPrinter::CurrentPage:
      return {std::clamp(current, 1, count), std::clamp(current, 1, count)};
    case QPrinter::PageRange:
      if (printer.fromPage() > 0) {
        const int first = std::clamp(printer.fromPage(), 1, count);
        return {first, std::clamp(std::max(printer.toPage(), first), first, count)};
      }
      return {1, count};
    default:
      return {1, count};
  }
}

void PrintDocument(const document::SheetSet& sheets, QPrinter& printer, PrintScale scale, SheetRange range,
                   const QString& family) {
  const int count = static_cast<int>(sheets.sheet_count());
  if (range.first < 1 || range.last > count || range.last < range.first) {
    throw BadUsage(std::string("Нет листов для печати."_cp));
  }
  if (scale == PrintScale::kFitPrintable) {
    PrintFitted(sheets, printer, range, family);
    return;
  }
  adapters::ExportOptions options;
  options.family = family;
  options.sheet = range.first;
  options.last_sheet = range.last;
  // The sheets take their own paper for this print only; the next one has the paper the user chose.
  const KeptPaper kept(printer);
  adapters::PrintSheets(sheets, printer, options);
}

}  // namespace tallyform::gui
