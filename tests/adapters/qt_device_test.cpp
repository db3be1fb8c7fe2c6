#include "adapters/qt_device.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "adapters/qt_text.h"
#include "adapters/qt_text_measurer.h"
#include "adapters/sheet_export.h"
#include "adapters/sheet_font.h"
#include "document/sheet_set.h"
#include "model/errors.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::adapters {
namespace {

using namespace text::literals;
using document::SheetSet;
using model::DocumentKind;
using testing::FileBytes;
using testing::TempFolder;

// The bounding box of the non-white pixels of an image; empty when it is all white.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y).lightness() < 200) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

QImage White(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// The output of a shell command, or nullopt when it cannot run.
std::optional<std::string> Output(const std::string& command) {
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  return out;
}

bool HavePoppler() {
  return std::system("command -v pdfinfo >/dev/null 2>&1 && command -v pdftotext >/dev/null 2>&1") == 0;
}

// A sheet set of the kind with `extra` following sheets and a cell text on each sheet.
document::SheetSet Filled(model::DocumentKind kind, int extra) {
  document::SheetSet set(kind);
  for (int i = 0; i < extra; ++i) set.AddSheet(model::LayoutOf(kind).following_top_offset);
  for (std::size_t i = 0; i < set.sheet_count(); ++i) {
    set.sheet(i).cell(1, 1).SetText(std::string("Резистор Ёжик "_cp) + std::to_string(i + 1));
  }
  return set;
}

TEST(QtDeviceTest, TextBoxesFollowTheReferencePointInBothDirections) {
  QImage image = White(400, 400);
  QPainter painter(&image);
  ports::DeviceSize upright;
  ports::DeviceSize upwards;
  {
    QtDevice device(painter, QtDevice::Use::kScreen, ChooseSheetFamily());
    EXPECT_FALSE(device.IsPrinting());
    EXPECT_EQ(device.ClientSize(), (ports::DeviceSize{400, 400}));
    device.SetFont({40, 400, ports::DeviceFont::kUpright, false});
    upright = device.TextExtent("HЖxy");
    device.Text(20, 30, "HЖxy");
    device.SetFont({40, 400, ports::DeviceFont::kUpwards, false});
    upwards = device.TextExtent("HЖxy");
    device.Text(300, 380, "HЖxy");
  }
  painter.end();
  EXPECT_EQ(upright, upwards);  // extents are along the text's own direction
  // Upright: the ink lies in the box from the reference point to the right and down.
  const QRect top = InkBox(image.copy(0, 0, 200, 200));
  ASSERT_FALSE(top.isEmpty());
  EXPECT_GE(top.left(), 20);
  EXPECT_LE(top.right(), 20 + upright.width);
  EXPECT_GE(top.top(), 30);
  EXPECT_LE(top.bottom(), 30 + upright.height);
  // Upwards: the ink lies to the right of and above the reference point, as wide as a line is high.
  const QRect side = InkBox(image.copy(200, 0, 200, 400)).translated(200, 0);
  ASSERT_FALSE(side.isEmpty());
  EXPECT_GE(side.left(), 300);
  EXPECT_LE(side.right(), 300 + upwards.height);
  EXPECT_GE(side.top(), 380 - upwards.width);
  EXPECT_LE(side.bottom(), 380);
  EXPECT_GT(side.height(), side.width());
}

TEST(QtDeviceTest, MeasuredWidthsAreTheWidthsOfTheFontDrawn) {
  QImage image = White(10, 10);
  QPainter painter(&image);
  const QString family = ChooseSheetFamily();
  QtDevice device(painter, QtDevice::Use::kPrinting, family);
  EXPECT_TRUE(device.IsPrinting());
  for (const std::string& text :
       {std::string("R1, R2, R3"), std::string("Конденсатор К10-17б-Н90-0,1 мкФ"_cp)}) {
    int previous = 0;
    for (int height : {20, 80, 251, 1000}) {
      device.SetFont({height, 400, ports::DeviceFont::kUpright, false});
      const ports::DeviceSize extent = device.TextExtent(text);
      // The device measures without making the font; the font it draws in must agree.
      const QFontMetricsF drawn(MakeSheetFont(family, height), &image);
      EXPECT_NEAR(extent.width, drawn.horizontalAdvance(ToQString(text)), 1.0 + height * 0.002)
          << text << " at " << height;
      EXPECT_NEAR(extent.height, drawn.height(), 1.0 + height * 0.002);
      EXPECT_GE(extent.width, previous);  // halving the shrink interval relies on this
      previous = extent.width;
    }
  }
}

TEST(SheetExportTest, PdfHasOnePageOfTheSheetsSizePerSheetAndSearchableText) {
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils is not installed";
  const TempFolder folder;
  struct Case {
    model::DocumentKind kind;
    int sheets;
    const char* size;
  };
  for (const Case& c : {Case{model::DocumentKind::kElementList, 3, "595 x 842 pts (A4)"},
                        Case{model::DocumentKind::kPurchasedBill, 2, "1191 x 842 pts (A3)"}}) {
    document::SheetSet set = Filled(c.kind, c.sheets - 1);
    const auto pdf = folder / ("out" + std::to_string(static_cast<int>(c.kind)) + ".pdf");
    ExportPdf(set, pdf, ExportOptions{});
    const auto info = Output("pdfinfo -f 1 -l 9 '" + pdf.string() + "'");
    ASSERT_TRUE(info.has_value());
    EXPECT_NE(info->find("Pages:           " + std::to_string(c.sheets) + "\n"), std::string::npos) << *info;
    for (int page = 1; page <= c.sheets; ++page) {
      EXPECT_NE(info->find("Page    " + std::to_string(page) + " size:  " + c.size), std::string::npos)
          << *info;
    }
    // Each page holds its own sheet's cell text, Cyrillic included.
    for (int page = 1; page <= c.sheets; ++page) {
      const auto text = Output("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                               pdf.string() + "' -");
      ASSERT_TRUE(text.has_value());
      EXPECT_NE(text->find("Резистор Ёжик " + std::to_string(page)), std::string::npos) << *text;
      EXPECT_NE(text->find("Наименование"), std::string::npos);
    }
  }
}

// The sheet drawn at `dpi` as a PNG file and read back.
QImage SheetImage(SheetSet& set, const std::filesystem::path& folder, int dpi) {
  ExportOptions options;
  options.png_dpi = dpi;
  const auto files = ExportPng(set, folder, options);
  return files.empty()
             ? QImage()
             : QImage(QString::fromStdString(files[0].string())).convertToFormat(QImage::Format_RGB32);
}

TEST(SheetExportTest, CellTextsThatFitAreDrawnInsideTheirCells) {
  struct Case {
    std::size_t row;
    std::size_t column;
    const char* utf8;
    std::uint32_t attributes;
  };
  // Capitals with marks above, descenders, brackets and the symbols of the documents, in the narrow and
  // the wide columns of a list of elements, upright, underlined and upwards. No two cases are neighbours.
  const Case kCases[] = {
      {1, 0, "Й", document::kFillCentred},
      {1, 2, "Щёткин Ёж (№ 5) ±5%… gjpqy ДЦЩ", document::kFillLeft},
      {3, 1, "VD1...VD4", document::kFillCentred},
      {3, 3, "Ёру", document::kFillCentred},
      {5, 2, "Конденсаторы", document::kFillHeading},
      {5, 4, "ОЖ0.467.093 ТУ", document::WithAlignment(document::kFillLeft, document::kAlignRight)},
      {7, 1, "Ёжу", document::kFillCentred | document::kVertical},
  };
  constexpr int kDpi = 200;
  const TempFolder folder;
  SheetSet blank(DocumentKind::kElementList);
  SheetSet written(DocumentKind::kElementList);
  const QtTextMeasurer measurer;
  const double text_height = written.sheet(0).settings().table_text;
  std::vector<QRect> cells;
  for (const Case& c : kCases) {
    document::CCell& cell = written.sheet(0).cell(c.row, c.column);
    const std::string text = text::FromUtf8(c.utf8);
    cell.SetText(text);
    cell.SetAttributes(c.attributes);
    const document::Rect& r = cell.rect();
    // Fits: a line as drawn, whole, without shrinking.
    const double room = (c.attributes & document::kVertical) != 0 ? r.bottom - r.top : r.right - r.left - 1;
    ASSERT_LE(measurer.Width(text, text_height) * 1.05, room) << c.utf8;
    const auto units = [](int mm) { return static_cast<int>(mm * kDpi / 25.4); };
    cells.emplace_back(QPoint(units(r.left), units(r.top)), QPoint(units(r.right) - 1, units(r.bottom) - 1));
  }
  const QImage before = SheetImage(blank, folder / "blank", kDpi);
  const QImage after = SheetImage(written, folder / "written", kDpi);
  ASSERT_FALSE(before.isNull());
  ASSERT_EQ(before.size(), after.size());

  // Every pixel the texts changed lies in the cell of its text; every text left some ink.
  std::vector<QRect> ink(cells.size());
  QRect stray;
  for (int y = 0; y < after.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
    for (int x = 0; x < after.width(); ++x) {
      if (a[x] == b[x]) continue;
      bool inside = false;
      for (std::size_t i = 0; i < cells.size() && !inside; ++i) {
        if (cells[i].contains(x, y)) {
          ink[i] |= QRect(x, y, 1, 1);
          inside = true;
        }
      }
      if (!inside) stray |= QRect(x, y, 1, 1);
    }
  }
  EXPECT_TRUE(stray.isEmpty()) << "ink outside the cells at " << stray.x() << ", " << stray.y() << " size "
                               << stray.width() << " x " << stray.height();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    EXPECT_FALSE(ink[i].isEmpty()) << kCases[i].utf8;
    // Strictly inside the cell's lines, which the text does not touch.
    EXPECT_TRUE(cells[i].adjusted(1, 1, -1, -1).contains(ink[i])) << kCases[i].utf8;
  }
  // The upward text stands taller than it is wide; the others run across.
  EXPECT_GT(ink.back().height(), ink.back().width());
  EXPECT_LT(ink[1].height(), ink[1].width());
}

TEST(SheetExportTest, PngImagesHaveTheSizeOfTheirResolution) {
  const TempFolder folder;
  document::SheetSet set = Filled(model::DocumentKind::kPurchasedBill, 1);
  ExportOptions options;
  options.png_dpi = 50;
  const auto files = ExportPng(set, folder / "png", options);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1].filename(), "sheet-002.png");
  const QImage image(QString::fromStdString(files[0].string()));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(827, 585));  // 420 × 297 mm at 50 dpi
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
  // The frame's left line at 20 mm (39.37 units), with the thinnest pen at 50 dpi (0.5 mm is 0.98 units).
  EXPECT_LT(image.pixelColor(39, 300).lightness(), 100);

  options.sheet = 2;
  options.png_dpi = 100;
  const auto one = ExportPng(set, folder / "one", options);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].filename(), "sheet-002.png");
  EXPECT_EQ(QImage(QString::fromStdString(one[0].string())).size(), QSize(1654, 1169));
}

TEST(SheetExportTest, SvgFilesAreWrittenPerSheetAndReadBack) {
  const TempFolder folder;
  document::SheetSet set = Filled(model::DocumentKind::kElementList, 1);
  const auto files = ExportSvg(set, folder / "svg", ExportOptions{});
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].filename(), "sheet-001.svg");
  const std::string svg = FileBytes(files[1]);
  EXPECT_NE(svg.find("width=\"210"), std::string::npos);
  EXPECT_NE(svg.find("Резистор Ёжик 2"), std::string::npos);
  QSvgRenderer renderer(QString::fromStdString(files[0].string()));
  EXPECT_TRUE(renderer.isValid());
}

TEST(SheetExportTest, SheetRangesAreCheckedAgainstTheDocument) {
  const document::SheetSet set = Filled(model::DocumentKind::kPurchasedBill, 1);  // two sheets
  ExportOptions options;
  EXPECT_EQ(SheetsToDraw(set, options), (std::vector<int>{1, 2}));
  options.sheet = 2;
  EXPECT_EQ(SheetsToDraw(set, options), (std::vector<int>{2}));
  options.sheet = 1;
  options.last_sheet = 2;
  EXPECT_EQ(SheetsToDraw(set, options), (std::vector<int>{1, 2}));
  options.last_sheet = 3;
  EXPECT_THROW(SheetsToDraw(set, options), BadUsage);
  options.sheet = 2;
  options.last_sheet = 1;
  EXPECT_THROW(SheetsToDraw(set, options), BadUsage);
  options.sheet = 0;
  options.last_sheet = 2;
  EXPECT_THROW(SheetsToDraw(set, options), BadUsage);
}

TEST(SheetExportTest, BadRequestsChangeNothing) {
  const TempFolder folder;
  document::SheetSet set = Filled(model::DocumentKind::kSimpleBill, 0);
  ExportOptions options;
  options.sheet = 2;
  EXPECT_THROW(ExportPdf(set, folder / "a.pdf", options), BadUsage);
  EXPECT_FALSE(std::filesystem::exists(folder / "a.pdf"));
  options.sheet.reset();
  options.png_dpi = 5;
  EXPECT_THROW(ExportPng(set, folder / "png", options), BadUsage);
  EXPECT_FALSE(std::filesystem::exists(folder / "png"));
  EXPECT_THROW(ExportPdf(set, folder / "missing" / "a.pdf", ExportOptions{}), UnreadableFile);
  folder.Write("file", "x");
  EXPECT_THROW(ExportSvg(set, folder / "file", ExportOptions{}), UnreadableFile);
}

TEST(SheetExportTest, ExportsLeaveTheSheetsAsTheyWere) {
  // Drawing a bill once wrote its row numbers and table-text flags into the cells it drew.
  const TempFolder folder;
  const document::SheetSet set = Filled(model::DocumentKind::kPurchasedBill, 1);
  const document::SheetArray before = document::CopySheets(set.sheets());
  ExportPng(set, folder / "kept", ExportOptions{});
  ASSERT_EQ(set.sheet_count(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(set.sheet(i) == *before[i]) << "sheet " << i;
  EXPECT_TRUE(set.sheet(0).cell(0, 0).IsEmpty());
}

}  // namespace
}  // namespace tallyform::adapters
