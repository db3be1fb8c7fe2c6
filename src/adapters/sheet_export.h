#pragma once
// A document's sheets on paper and in files: a printer (any QPagedPaintDevice), PDF, SVG and PNG. Every
// sheet is drawn at its true size by the sheet drawing, through a QtDevice.

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "document/sheet_set.h"

class QPagedPaintDevice;

namespace tallyform::adapters {

/// The PNG resolution when none is given, dots per inch.
inline constexpr int kDefaultPngDpi = 150;
/// The resolution of PDF pages, dots per inch: fine enough that whole device units do not show.
inline constexpr int kPdfDpi = 1200;
/// The resolution SVG coordinates are written in, dots per inch.
inline constexpr int kSvgDpi = 600;
/// The resolutions a PNG may be made at.
inline constexpr int kMinPngDpi = 10;
inline constexpr int kMaxPngDpi = 600;

struct ExportOptions {
  /// The face of the texts: the user's choice, or empty for the sheet face (see ChooseSheetFamily).
  QString family;
  /// Resolution of PNG images, dots per inch.
  int png_dpi = kDefaultPngDpi;
  /// The one sheet to draw (1-based), or every sheet.
  std::optional<int> sheet;
  /// With `sheet`: the last sheet of a range that starts at `sheet`.
  std::optional<int> last_sheet;
  /// Told after each sheet is drawn: how many are done and how many there are in all. May be empty.
  std::function<void(int done, int total)> progress;
};

/// The 1-based numbers of the sheets the options ask for. A sheet that does not exist, or a range that
/// ends before it starts, is tallyform::BadUsage.
std::vector<int> SheetsToDraw(const document::SheetSet& sheets, const ExportOptions& options);

/// Prints the sheets on a paged device (a printer, a PDF writer): one page per sheet, of the sheet's size
/// and orientation without margins, at the device's resolution. Needs a QGuiApplication. A device that
/// cannot be painted on is tallyform::UnreadableFile.
void PrintSheets(const document::SheetSet& sheets, QPagedPaintDevice& device, const ExportOptions& options);

/// Writes the sheets as one PDF file at kPdfDpi, texts as real, searchable text. A file that cannot be
/// written is tallyform::UnreadableFile.
void ExportPdf(const document::SheetSet& sheets, const std::filesystem::path& file,
               const ExportOptions& options);

/// Writes one SVG file per sheet into the folder (made when missing), named sheet-001.svg, sheet-002.svg,
/// ... after the sheet's number, and returns their paths.
std::vector<std::filesystem::path> ExportSvg(const document::SheetSet& sheets,
                                             const std::filesystem::path& folder,
                                             const ExportOptions& options);

/// Writes one PNG image per sheet at options.png_dpi on a white background into the folder (made when
/// missing), named sheet-001.png, ..., and returns their paths.
std::vector<std::filesystem::path> ExportPng(const document::SheetSet& sheets,
                                             const std::filesystem::path& folder,
                                             const ExportOptions& options);

/// The file name of a sheet's image: "sheet-" and the number in at least three digits, then `extension`.
std::string SheetFileName(int number, std::string_view extension);

}  // namespace tallyform::adapters
