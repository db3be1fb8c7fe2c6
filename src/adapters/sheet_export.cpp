#include "adapters/sheet_export.h"

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "adapters/qt_device.h"
#include "adapters/qt_text.h"
#include "adapters/sheet_font.h"
#include "model/errors.h"
#include "model/platform.h"
#include "presentation/sheet_drawing.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::adapters {

using namespace tallyform::text::literals;
using document::SheetSet;

namespace {

constexpr double kMmPerInch = 25.4;

UnreadableFile CannotWrite(const std::filesystem::path& path) {
  return UnreadableFile(std::string("Не удалось записать файл "_cp) + model::PathText(path) + ".");
}

// The sheet's size in device units at a resolution.
QSize PixelSize(const document::SheetSet& sheets, int dpi) {
  return QSize(static_cast<int>(std::lround(sheets.sheet_width() * dpi / kMmPerInch)),
               static_cast<int>(std::lround(sheets.sheet_height() * dpi / kMmPerInch)));
}

QPageLayout SheetLayout(const document::SheetSet& sheets) {
  const int w = sheets.sheet_width();
  const int h = sheets.sheet_height();
  const QPageSize size(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Millimeter);
  QPageLayout layout(size, w > h ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                     QPageLayout::Millimeter);
  // The painter's origin is then the paper's corner, whatever margins a printer cannot print on.
  layout.setMode(QPageLayout::FullPageMode);
  return layout;
}

std::filesystem::path PrepareFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || !std::filesystem::is_directory(folder)) {
    throw UnreadableFile(std::string("Не удалось создать папку "_cp) + model::PathText(folder) + ".");
  }
  return folder;
}

// Draws one sheet at true size on a painter already begun on a device of `dpi`.
// The printout has a view of its own, so that a window showing the sheets keeps its mapping and sheet.
void DrawTrueSize(const document::SheetSet& sheets, QPainter& painter, const QString& family, int dpi_x,
                  int dpi_y, int number) {
  QtDevice device(painter, QtDevice::Use::kPrinting, family);
  presentation::SheetView view;
  view.SetMapping(presentation::PrintingMapping(sheets, dpi_x, dpi_y));
  presentation::DrawSheet(sheets, view, device, number);
}

}  // namespace

std::string SheetFileName(int number, std::string_view extension) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", number);
  return "sheet-" + std::string(digits) + std::string(extension);
}

namespace {
void Report(const ExportOptions& options, int done, int total) {
  if (options.progress) options.progress(done, total);
}
}  // namespace

std::vector<int> SheetsToDraw(const document::SheetSet& sheets, const ExportOptions& options) {
  const int count = static_cast<int>(sheets.sheet_count());
  int first = 1;
  int last = count;
  if (options.sheet) {
    first = *options.sheet;
    last = options.last_sheet.value_or(first);
    for (int number : {first, last}) {
      if (number < 1 || number > count) {
        throw BadUsage(std::string("В документе нет листа "_cp) + text::FormatD(number) +
                       std::string(" (листов: "_cp) + text::FormatD(count) + ").");
      }
    }
    if (last < first) {
      throw BadUsage(std::string("Последний лист ("_cp) + text::FormatD(last) +
                     std::string(") стоит раньше первого ("_cp) + text::FormatD(first) + ").");
    }
  }
  std::vector<int> numbers;
  for (int n = first; n <= last; ++n) numbers.push_back(n);
  return numbers;
}

void PrintSheets(const document::SheetSet& sheets, QPagedPaintDevice& device, const ExportOptions& options) {
  const std::vector<int> numbers = SheetsToDraw(sheets, options);
  const QString family = ChooseSheetFamily(options.family);
  device.setPageLayout(SheetLayout(sheets));
  QPainter painter;
  if (!painter.begin(&device)) throw UnreadableFile(std::string("Не удалось начать печать."_cp));
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) device.newPage();
    DrawTrueSize(sheets, painter, family, device.logicalDpiX(), device.logicalDpiY(), numbers[i]);
    Report(options, static_cast<int>(i) + 1, static_cast<int>(numbers.size()));
  }
  painter.end();
}

void ExportPdf(const document::SheetSet& sheets, const std::filesystem::path& file,
               const ExportOptions& options) {
  SheetsToDraw(sheets, options);  // a wrong sheet number leaves no file behind
  QPdfWriter writer(PathToQString(file));
  writer.setResolution(kPdfDpi);
  writer.setCreator(QStringLiteral("Tallyform"));
  {
    // QPdfWriter reports a file it cannot open only when painting begins.
    QFile probe(PathToQString(file));
    if (!probe.open(QIODevice::WriteOnly)) throw CannotWrite(file);
  }
  PrintSheets(sheets, writer, options);
}

std::vector<std::filesystem::path> ExportSvg(const document::SheetSet& sheets,
                                             const std::filesystem::path& folder,
                                             const ExportOptions& options) {
  const std::vector<int> numbers = SheetsToDraw(sheets, options);
  PrepareFolder(folder);
  const QString family = ChooseSheetFamily(options.family);
  const QSize size = PixelSize(sheets, kSvgDpi);
  std::vector<std::filesystem::path> written;
  for (int number : numbers) {
    const std::filesystem::path file = folder / SheetFileName(number, ".svg");
    QSvgGenerator generator;
    generator.setFileName(PathToQString(file));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(kSvgDpi);
    generator.setTitle(QStringLiteral("Sheet %1").arg(number));
    QPainter painter;
    if (!painter.begin(&generator)) throw CannotWrite(file);
    DrawTrueSize(sheets, painter, family, kSvgDpi, kSvgDpi, number);
    painter.end();
    written.push_back(file);
    Report(options, static_cast<int>(written.size()), static_cast<int>(numbers.size()));
  }
  return written;
}

std::vector<std::filesystem::path> ExportPng(const document::SheetSet& sheets,
                                             const std::filesystem::path& folder,
                                             const ExportOptions& options) {
  const int dpi = options.png_dpi;
  if (dpi < kMinPngDpi || dpi > kMaxPngDpi) {
    throw BadUsage(std::string("Разрешение должно быть от "_cp) + text::FormatD(kMinPngDpi) +
                   std::string(" до "_cp) + text::FormatD(kMaxPngDpi) + std::string(" точек на дюйм."_cp));
  }
  const std::vector<int> numbers = SheetsToDraw(sheets, options);
  PrepareFolder(folder);
  const QString family = ChooseSheetFamily(options.family);
  const QSize size = PixelSize(sheets, dpi);
  std::vector<std::filesystem::path> written;
  for (int number : numbers) {
    const std::filesystem::path file = folder / SheetFileName(number, ".png");
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) throw UnreadableFile(std::string("Недостаточно памяти для изображения листа."_cp));
    const int dots_per_metre = static_cast<int>(std::lround(dpi / (kMmPerInch / 1000.0)));
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawTrueSize(sheets, painter, family, dpi, dpi, number);
    painter.end();
    if (!image.save(PathToQString(file), "PNG")) throw CannotWrite(file);
    written.push_back(file);
    Report(options, static_cast<int>(written.size()), static_cast<int>(numbers.size()));
  }
  return written;
}

}  // namespace tallyform::adapters
