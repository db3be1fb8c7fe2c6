#pragma once
// What the page view of a document remembers between two drawings: the zoom (step, factor, the two zoom
// modes, the point a zoom click centres on), the sheet shown, the selection point, the base size of the
// window and the scrollable size that follows from them. It knows no window system: the front end feeds it
// clicks, keys, wheel turns and the window's size, and asks where to scroll and what to draw.
//
// Units: window and scroll positions are device units (pixels), sheet sizes whole millimetres.

#include <optional>

#include "presentation/sheet_mapping.h"

namespace tallyform::presentation {

/// The zoom factor of a zoom step: 1.2 to the power of the step above 0, 0.8 to the power of minus the step
/// otherwise (step 0 shows a whole sheet at the window's first height).
double ZoomFactor(int step);

/// A size in device units.
struct ViewSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const ViewSize&, const ViewSize&) = default;
};

/// The scroll bars of the view and how far they scroll.
struct ScrollBars {
  bool horizontal = false;
  bool vertical = false;
  /// How far the scrollable size reaches past the viewport the bars leave; 0 where there is no bar.
  ViewSize range;
  friend bool operator==(const ScrollBars&, const ScrollBars&) = default;
};

class PageViewState {
 public:
  static constexpr int kMinZoomStep = -5;
  static constexpr int kMaxZoomStep = 12;
  /// The wheel turn of one notch, in the eighths of a degree Qt and most platforms report.
  static constexpr int kWheelNotch = 120;

  /// The first show: the base size is the window's client size without scroll bars; zoom step 0, sheet 1,
  /// nothing selected.
  void Start(ViewSize client);
  bool started() const { return started_; }
  ViewSize base() const { return base_; }

  // ---- Sheets ----

  int sheet_count() const { return sheet_count_; }
  /// 1-based.
  int current_sheet() const { return current_sheet_; }
  /// Takes the sheet count of the document; a current sheet beyond it becomes the last sheet.
  void SetSheetCount(int count);
  /// Shows a sheet (clamped to the sheets there are); true when the sheet shown changed.
  bool GoTo(int sheet);
  bool CanGoFirst() const { return current_sheet_ > 1; }
  bool CanGoPrevious() const { return current_sheet_ != 1; }
  bool CanGoNext() const { return current_sheet_ != sheet_count_; }
  bool CanGoLast() const { return current_sheet_ < sheet_count_; }
  bool First() { return GoTo(1); }
  bool Previous() { return current_sheet_ > 1 && GoTo(current_sheet_ - 1); }
  bool Next() { return current_sheet_ < sheet_count_ && GoTo(current_sheet_ + 1); }
  bool Last() { return GoTo(sheet_count_); }

  // ---- Zoom ----

  int zoom_step() const { return zoom_step_; }
  double zoom_factor() const { return ZoomFactor(zoom_step_); }
  double previous_zoom_factor() const { return previous_factor_; }
  bool zoom_in_mode() const { return zoom_in_mode_; }
  bool zoom_out_mode() const { return zoom_out_mode_; }
  /// Toggles a zoom mode; switching one on switches the other off.
  void ToggleZoomInMode();
  void ToggleZoomOutMode();
  /// One zoom step in or out ("+" and "-", and the zoom clicks); false at the end of the range.
  bool ZoomIn();
  bool ZoomOut();
  /// Zoom step 0.
  void WholeSheet();

  /// A left click at a window point: in a zoom mode it becomes the zoom point and zooms one step (even at
  /// the end of the range the point moves); otherwise it becomes the selection point. True for a zoom click.
  bool Click(presentation::Point point);
  /// The last plain click, which the drawing turns into the selected cell (it resets it on a miss).
  presentation::Point& selection() { return selection_; }
  /// Drops the selection (every change of sheet does).
  void ClearSelection() { selection_ = {}; }

  // ---- Geometry ----

  /// The sheet's height in device units at the current zoom: the base height times the zoom factor.
  int PageHeight() const;
  /// The sheet's width in device units at the current zoom, for a sheet of the size in mm.
  int PageWidth(int sheet_width_mm, int sheet_height_mm) const;
  /// The scrollable size: the page, but never less than the base size.
  ViewSize ScrollSize(int sheet_width_mm, int sheet_height_mm) const;
  /// The scroll bars the scrollable size needs in a view whose client size without bars is `room`, when a
  /// vertical bar takes `bar.width` of its width and a horizontal bar `bar.height` of its height: a bar
  /// where the size does not fit, and the other one too when the first leaves too little room for it. So
  /// the bars go again when the size fits the room once more (the whole sheet at the first window's size).
  ScrollBars ScrollBarsFor(ViewSize room, ViewSize bar, int sheet_width_mm, int sheet_height_mm) const;
  /// The scroll steps: a tenth of the scrollable size for a page, a hundredth for a line (at least 1).
  static ViewSize PageStep(ViewSize scroll_size);
  static ViewSize LineStep(ViewSize scroll_size);

  /// When a zoom click has not been centred on yet, the scroll position that brings the point of the sheet
  /// under it to the middle of the window (before clamping to the scroll range); the click then counts as
  /// centred. `scroll` is the scroll position the click was made at.
  std::optional<presentation::Point> TakeCentring(presentation::Point scroll, int sheet_width_mm,
                                                  int sheet_height_mm);

  // ---- Wheel ----

  enum class WheelAction {
    kScroll,         ///< scroll as usual
    kNextSheet,      ///< the next sheet is shown; scroll to its top (the same x)
    kPreviousSheet,  ///< the previous sheet is shown; scroll to the lower part of it (PreviousSheetScrollY)
  };
  /// A wheel turn (positive away from the user) at the vertical scroll position, with the scrollable height.
  /// Towards the user with the bottom of the scrollable area in view (measured with the base height) and a
  /// next sheet, it goes to that sheet; away from the user at the top and past the first sheet, back. Turns
  /// are gathered until they make a notch, so that fine-grained wheels and touchpads change sheets as a
  /// notched wheel does; below a notch the view just scrolls.
  WheelAction Wheel(int angle_delta, int scroll_y, int scroll_height);
  /// The scroll y after going back to the previous sheet by the wheel.
  int PreviousSheetScrollY(int scroll_height) const { return scroll_height - base_.height / 2; }

 private:
  bool started_ = false;
  ViewSize base_;
  int sheet_count_ = 1;
  int current_sheet_ = 1;
  int zoom_step_ = 0;
  double previous_factor_ = 1.0;
  bool zoom_in_mode_ = false;
  bool zoom_out_mode_ = false;
  presentation::Point selection_;
  presentation::Point zoom_point_;
  presentation::Point applied_zoom_point_;
  int wheel_rest_ = 0;
};

}  // namespace tallyform::presentation
