#include "presentation/text_drawer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tallyform::presentation {

using document::Rect;

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// How much room a single line needs beyond its own width before it is drawn as it is.
constexpr double kShrinkMargin = 1.05;

std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  for (;;) {
    const std::size_t at = text.find(kLineBreak);
    if (at == std::string_view::npos) break;
    lines.push_back(text.substr(0, at));
    text.remove_prefix(at + kLineBreak.size());
  }
  lines.push_back(text);
  return lines;
}

}  // namespace

double SaneLength(double mm, double limit) {
  if (!(mm > 0)) return 0;  // also not a number
  return std::min(mm, limit);
}

int ToDeviceUnits(double value) {
  constexpr double kLimit = 1e9;
  if (!std::isfinite(value)) return 0;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

int TextDrawer::CharacterHeight(double height_mm) const {
  const long long units = ToDeviceUnits(SaneLength(height_mm, kMaxTextHeightMm) * mapping_.scale_y);
  // MulDiv rounds half away from zero; the units are never negative here.
  const long long height = (units * 96 + 36) / 72;
  return static_cast<int>(std::clamp<long long>(height, 1, 1'000'000'000));
}

void TextDrawer::MakeFont(double height_mm, bool upwards, bool underline, int character_height) {
  ports::DeviceFont font;
  font.character_height = character_height > 0 ? character_height : CharacterHeight(height_mm);
  font.rotation = upwards ? ports::DeviceFont::kUpwards : ports::DeviceFont::kUpright;
  font.underline = underline;
  device_.SetFont(font);
  current_text_height_ = height_mm;
}

void TextDrawer::DrawText(const Rect& rect, std::string_view text, std::uint32_t attributes) {
  if (text.find(kLineBreak) != std::string_view::npos) attributes |= document::kMultiLine;
  const bool upwards = (attributes & document::kVertical) != 0;
  const bool underline = (attributes & document::kUnderline) != 0;

  const ports::DeviceFont previous = device_.font();
  ports::DeviceFont font = previous;
  font.rotation = upwards ? ports::DeviceFont::kUpwards : ports::DeviceFont::kUpright;
  font.underline = underline;
  device_.SetFont(font);

  if ((attributes & document::kMultiLine) != 0 || upwards) {
    DrawLines(rect, text, attributes, upwards);
  } else {
    DrawSingleLine(rect, text, document::AlignmentOf(attributes));
  }
  device_.SetFont(previous);
}

void TextDrawer::DrawLines(const Rect& rect, std::string_view text, std::uint32_t attributes, bool upwards) {
  const SheetMapping& m = mapping_;
  const std::vector<std::string_view> lines = LinesOf(text);
  const double n = static_cast<double>(lines.size());
  const std::uint32_t alignment = document::AlignmentOf(attributes);

  if (upwards) {
    if (lines.size() == 1) {
      // A single upward line is centred both ways, whatever its alignment.
      const ports::DeviceSize extent = device_.TextExtent(lines.front());
      const int y = m.origin_y + ToDeviceUnits(((rect.top + rect.bottom) * m.scale_y + extent.width) * 0.5);
      const int x = m.origin_x + ToDeviceUnits(((rect.left + rect.right) * m.scale_x - extent.height) * 0.5);
      if (!text.empty()) device_.Text(x, y, text);
      return;
    }
    // Lines stand side by side, one text height apart, read from left to right.
    const double h = current_text_height_;
    const double spare = ((rect.right - rect.left) - n * h) * m.scale_x;
    int g = 0;
    if (alignment == document::kAlignCentre) g = std::max(0, ToDeviceUnits(spare * 0.5));
    if (alignment == document::kAlignRight) g = std::max(0, ToDeviceUnits(spare));
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) continue;
      const int w = device_.TextExtent(lines[i]).width;
      const int x = ToDeviceUnits((static_cast<double>(i) * h + rect.left) * m.scale_x + m.origin_x + g);
      const int y = m.origin_y + ToDeviceUnits(((rect.top + rect.bottom) * m.scale_y + w) * 0.5);
      device_.Text(x, y, lines[i]);
    }
    return;
  }

  const double c = device_.TextExtent(lines.front()).height;
  const int g = std::max(0, ToDeviceUnits(((rect.bottom - rect.top) * m.scale_y - n * c) * 0.5));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const int w = device_.TextExtent(lines[i]).width;
    int x = 0;
    if (alignment == document::kAlignCentre) {
      x = m.origin_x + ToDeviceUnits(((rect.left + rect.right) * m.scale_x - w) * 0.5);
    } else if (alignment == document::kAlignRight) {
      x = ToDeviceUnits(rect.right * m.scale_x - w) + m.origin_x;
    } else {
      x = ToDeviceUnits((rect.left + 1) * m.scale_x) + m.origin_x;
    }
    const int y = ToDeviceUnits(static_cast<double>(i) * c + rect.top * m.scale_y + g + m.origin_y);
    device_.Text(x, y, lines[i]);
  }
}

void TextDrawer::DrawSingleLine(const Rect& rect, std::string_view text, std::uint32_t alignment) {
  const SheetMapping& m = mapping_;
  if (text.empty()) return;
  // A line set off 1 mm from one edge has 1 mm less room before it crosses the other.
  const int inset = alignment == document::kAlignCentre ? 0 : 1;
  const double room = (rect.right - rect.left - inset) * m.scale_x;
  int w = device_.TextExtent(text).width;
  if (w * kShrinkMargin > room) Shrink(text, room, w);

  const int c = device_.TextExtent(text).height;
  const int y = m.origin_y + ToDeviceUnits(((rect.top + rect.bottom) * m.scale_y - c) * 0.5);
  int x = 0;
  if (alignment == document::kAlignCentre) {
    x = m.origin_x + ToDeviceUnits(((rect.left + rect.right) * m.scale_x - w) * 0.5);
  } else if (alignment == document::kAlignRight) {
    x = ToDeviceUnits((rect.right - 1) * m.scale_x) + m.origin_x - w;
  } else {
    x = ToDeviceUnits((rect.left + 1) * m.scale_x) + m.origin_x;
  }
  device_.Text(x, y, text);
}

// The text does not fit at the character height in use. Stepping the height down one unit at a time until
// it fits measures the text hundreds of times at printer resolutions; widths grow with the height, so the
// same height (the largest below the current one that fits, or 1) is found by halving the interval.
void TextDrawer::Shrink(std::string_view text, double room, int& width) {
  ports::DeviceFont font = device_.font();
  const auto measure = [&](int height) {
    font.character_height = height;
    device_.SetFont(font);
    return device_.TextExtent(text).width;
  };
  const auto fits = [&](int w) { return room >= w * kShrinkMargin; };

  int low = 1;                           // the answer is at least this
  int high = font.character_height - 1;  // and at most this
  if (high < low) return;                // already the smallest font
  int best = low;
  int best_width = -1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int w = measure(middle);
    if (fits(w)) {
      best = middle;
      best_width = w;
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  width = best_width >= 0 && font.character_height == best ? best_width : measure(best);
}

}  // namespace tallyform::presentation
