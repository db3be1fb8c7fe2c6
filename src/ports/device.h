#pragma once
// A drawing surface in the manner of a graphics device context: lines with a pen of a width, texts in a
// font made for a character height, solid fills. The sheet drawing talks only to this interface; the Qt
// adapter implements it for the screen, the printer, PDF, SVG and PNG, the tests with a recording device.
//
// Units: every coordinate, width and height is in device units (pixels of the screen or the image, dots of
// the printer), x to the right, y downwards, origin at the device's top-left corner. How sheet millimetres
// map to device units is the caller's business (presentation::SheetMapping).
//
// State: the device holds one selected pen, one selected font and one text colour. A device starts with a
// pen of width 0, a font of character height 1 and black text. Fonts and pens are plain values: the device
// owns whatever it makes for them, and the caller restores a previous one by selecting it again. Texts are
// code page 1251.

#include <cstdint>
#include <string_view>

namespace tallyform::ports {

/// The font of the texts that follow: the sheet face, made for a character height.
struct DeviceFont {
  /// Rotation of upright text, and of text that runs upwards.
  static constexpr int kUpright = 0;
  static constexpr int kUpwards = 900;

  /// Character height (em size, without internal leading) in device units; at least 1.
  int character_height = 1;
  /// Weight on the 100 to 900 scale; 400 is normal.
  int weight = 400;
  /// Rotation in tenths of a degree, counter-clockwise: kUpright or kUpwards.
  int rotation = kUpright;
  bool underline = false;

  friend bool operator==(const DeviceFont&, const DeviceFont&) = default;
};

struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};

/// The size of a text or of a surface, device units.
struct DeviceSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const DeviceSize&, const DeviceSize&) = default;
};

class Device {
 public:
  virtual ~Device() = default;

  /// True for a printer and for files made for print (PDF, SVG, PNG); false for the screen, where the sheet
  /// is scaled to the window and shows its edge and the selection.
  virtual bool IsPrinting() const = 0;
  /// Dots per inch across and down.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
  /// The size of the window (or the page) drawn on.
  virtual DeviceSize ClientSize() const = 0;

  /// Selects a solid black pen `width` units wide; 0 asks for the thinnest line the device draws.
  virtual void SetPen(int width) = 0;
  /// The width of the selected pen.
  virtual int pen() const = 0;
  /// A straight line with the selected pen, both ends included.
  virtual void Line(int x0, int y0, int x1, int y1) = 0;

  /// Selects a font. Making the same font again is cheap.
  virtual void SetFont(const DeviceFont& font) = 0;
  /// The selected font.
  virtual DeviceFont font() const = 0;
  /// The size of a one-line text in the selected font along its own direction: the advance width, and the
  /// line height (ascent plus descent). Widths never shrink as the character height grows.
  virtual DeviceSize TextExtent(std::string_view text) const = 0;
  /// Draws a one-line text in the selected font and text colour, on a transparent background. (x, y) is the
  /// top-left corner of the text's box in its own direction: for upright text the box's top-left corner,
  /// for text that runs upwards its bottom-left corner (the text then covers x to x + line height and
  /// y − width to y).
  virtual void Text(int x, int y, std::string_view text) = 0;
  /// Selects the colour of the texts that follow and returns the previous one.
  virtual Colour SetTextColour(Colour colour) = 0;

  /// Fills the rectangle from (left, top) to (right, bottom), right and bottom excluded, with a solid
  /// colour; no outline.
  virtual void FillRect(int left, int top, int right, int bottom, Colour colour) = 0;
};

}  // namespace tallyform::ports
