#pragma once
// Points in device units and the mapping of sheet millimetres to them.

namespace tallyform::presentation {

/// A point in window or device units.
struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

/// How sheet millimetres map to device units: a point (x, y) mm goes to
/// (trunc(x * scale_x) + origin_x, trunc(y * scale_y) + origin_y).
struct SheetMapping {
  double scale_x = 1.0;
  double scale_y = 1.0;
  int origin_x = 0;
  int origin_y = 0;
  /// The sheet's size in device units, as the last drawing computed it.
  int page_width = 0;
  int page_height = 0;
  friend bool operator==(const SheetMapping&, const SheetMapping&) = default;
};

}  // namespace tallyform::presentation
