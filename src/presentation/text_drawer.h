#pragma once
// Draws one text inside a rectangle of the sheet: horizontal alignment, vertical centring, several lines,
// writing upwards, underlining, and shrinking a single line that is slightly too wide for its rectangle.
//
// Rectangles are sheet millimetres; the drawer maps them to device units with the sheet mapping. Fonts
// follow one rule on every device: a text of height h mm has the character height h × 96 / 72 mm, taken
// through the mapping's vertical scale.

#include <cstdint>
#include <string_view>

#include "document/table_rows.h"
#include "ports/device.h"
#include "presentation/sheet_mapping.h"

namespace tallyform::presentation {

/// The largest text height and line width a sheet uses, mm; larger values read from a file are taken as
/// this, so that no setting can overflow a device coordinate.
inline constexpr double kMaxTextHeightMm = 100.0;
inline constexpr double kMaxLineWidthMm = 10.0;

/// A text height or line width from a file made sane: not a number or negative gives 0, beyond `limit`
/// gives `limit`.
double SaneLength(double mm, double limit);

/// A device coordinate: truncated toward zero, kept well inside the int range; not a number gives 0.
int ToDeviceUnits(double value);

class TextDrawer {
 public:
  /// Draws on `device` through `mapping`. The device must outlive the drawer.
  TextDrawer(ports::Device& device, const SheetMapping& mapping) : device_(device), mapping_(mapping) {}

  void SetMapping(const SheetMapping& mapping) { mapping_ = mapping; }
  const SheetMapping& mapping() const { return mapping_; }

  /// The character height in device units of a text `height_mm` high: MulDiv(trunc(h × scale y), 96, 72),
  /// at least 1. Absurd heights are clamped (SaneLength with kMaxTextHeightMm).
  int CharacterHeight(double height_mm) const;

  /// Makes and selects the font of a text `height_mm` high (weight 400), upright or running upwards, and
  /// remembers the height as the current text height. `character_height`, when not 0, is used instead of
  /// the one the height gives.
  void MakeFont(double height_mm, bool upwards = false, bool underline = false, int character_height = 0);
  /// The text height the last MakeFont was given, mm.
  double current_text_height() const { return current_text_height_; }

  /// Draws `text` (code page 1251) in the rectangle (mm) with the text attributes of a cell: alignment,
  /// several lines (also when the text holds a carriage return and line feed), writing upwards,
  /// underline. Uses the selected font; the font selected before the call is selected again afterwards.
  ///
  /// Every text is centred vertically. A left or right aligned single line is inset by 1 mm from its edge,
  /// as are left aligned lines of several. A single upright line whose width × 1.05 exceeds the room it has
  /// (the rectangle's width, less the 1 mm inset when it is not centred) is drawn in a smaller font: the
  /// largest character height below the current one at which it fits, or 1 when none does. Lines of
  /// several are never shrunk.
  void DrawText(const document::Rect& rect, std::string_view text, std::uint32_t attributes);

 private:
  void DrawLines(const document::Rect& rect, std::string_view text, std::uint32_t attributes, bool upwards);
  void DrawSingleLine(const document::Rect& rect, std::string_view text, std::uint32_t alignment);
  void Shrink(std::string_view text, double room, int& width);

  ports::Device& device_;
  SheetMapping mapping_;
  double current_text_height_ = 0.0;
};

}  // namespace tallyform::presentation
