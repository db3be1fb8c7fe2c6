#pragma once
// A Device that draws nothing and keeps everything it is asked to draw, in device units, with text extents
// that are easy to reckon with.
//
// A text is as wide as the sum of its characters, each `char_width` (default 1/2) × the character height,
// rounded down; its line height is the character height × 5/4, rounded down. Both grow with the character
// height, as the Device contract asks.

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "ports/device.h"

namespace tallyform::testing {

class RecordingDevice : public ports::Device {
 public:
  struct LineRecord {
    int x0, y0, x1, y1;
    int pen;
    bool Horizontal() const { return y0 == y1; }
    bool Vertical() const { return x0 == x1; }
  };
  struct TextRecord {
    int x, y;
    std::string text;
    ports::DeviceFont font;
    ports::Colour colour;
  };
  struct FillRecord {
    int left, top, right, bottom;
    ports::Colour colour;
  };

  /// A screen of the given client size (96 dpi), or a printer when `printing`.
  explicit RecordingDevice(int client_width = 800, int client_height = 1000, bool printing = false,
                           int dpi = 96)
      : client_{client_width, client_height}, printing_(printing), dpi_(dpi) {}

  bool IsPrinting() const override { return printing_; }
  int DpiX() const override { return dpi_; }
  int DpiY() const override { return dpi_; }
  ports::DeviceSize ClientSize() const override { return client_; }

  void SetPen(int width) override { pen_ = width; }
  int pen() const override { return pen_; }
  void Line(int x0, int y0, int x1, int y1) override { lines.push_back({x0, y0, x1, y1, pen_}); }

  void SetFont(const ports::DeviceFont& font) override {
    font_ = font;
    fonts_made.push_back(font);
  }
  ports::DeviceFont font() const override { return font_; }
  ports::DeviceSize TextExtent(std::string_view text) const override {
    ++measurements;
    return ExtentIn(font_, text);
  }
  /// The extent of a text in a font, as TextExtent gives it when that font is selected.
  ports::DeviceSize ExtentIn(const ports::DeviceFont& font, std::string_view text) const {
    const int h = font.character_height;
    return {static_cast<int>(std::floor(static_cast<double>(text.size()) * char_width * h)), h * 5 / 4};
  }
  void Text(int x, int y, std::string_view text) override {
    texts.push_back({x, y, std::string(text), font_, colour_});
  }
  ports::Colour SetTextColour(ports::Colour colour) override {
    const ports::Colour previous = colour_;
    colour_ = colour;
    return previous;
  }
  void FillRect(int left, int top, int right, int bottom, ports::Colour colour) override {
    fills.push_back({left, top, right, bottom, colour});
  }

  /// The texts drawn with exactly this text.
  std::vector<TextRecord> TextsOf(std::string_view text) const {
    std::vector<TextRecord> found;
    std::copy_if(texts.begin(), texts.end(), std::back_inserter(found),
                 [&](const TextRecord& t) { return t.text == text; });
    return found;
  }
  bool HasText(std::string_view text) const { return !TextsOf(text).empty(); }
  /// True when a line joins the two points (in either direction).
  bool HasLine(int x0, int y0, int x1, int y1) const {
    return std::any_of(lines.begin(), lines.end(), [&](const LineRecord& l) {
      return (l.x0 == x0 && l.y0 == y0 && l.x1 == x1 && l.y1 == y1) ||
             (l.x0 == x1 && l.y0 == y1 && l.x1 == x0 && l.y1 == y0);
    });
  }
  void Forget() {
    lines.clear();
    texts.clear();
    fills.clear();
    fonts_made.clear();
  }

  double char_width = 0.5;
  std::vector<LineRecord> lines;
  std::vector<TextRecord> texts;
  std::vector<FillRecord> fills;
  std::vector<ports::DeviceFont> fonts_made;
  mutable std::size_t measurements = 0;

 private:
  ports::DeviceSize client_;
  bool printing_;
  int dpi_;
  int pen_ = 0;
  ports::DeviceFont font_;
  ports::Colour colour_ = ports::kBlack;
};

}  // namespace tallyform::testing
