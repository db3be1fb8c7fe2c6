#include "presentation/page_view_state.h"

#include <algorithm>
#include <cmath>

namespace tallyform::presentation {
namespace {

int Floor(double value) {
  return static_cast<int>(std::floor(value));
}

}  // namespace

double ZoomFactor(int step) {
  return step > 0 ? std::pow(1.2, step) : std::pow(0.8, -step);
}

void PageViewState::Start(ViewSize client) {
  started_ = true;
  base_ = client;
  zoom_step_ = 0;
  previous_factor_ = 1.0;
  selection_ = {};
  zoom_point_ = {};
  applied_zoom_point_ = {};
  sheet_count_ = 1;
  current_sheet_ = 1;
}

void PageViewState::SetSheetCount(int count) {
  sheet_count_ = std::max(1, count);
  current_sheet_ = std::clamp(current_sheet_, 1, sheet_count_);
}

bool PageViewState::GoTo(int sheet) {
  const int target = std::clamp(sheet, 1, sheet_count_);
  if (target == current_sheet_) return false;
  current_sheet_ = target;
  ClearSelection();
  return true;
}

void PageViewState::ToggleZoomInMode() {
  zoom_in_mode_ = !zoom_in_mode_;
  if (zoom_in_mode_) zoom_out_mode_ = false;
}

void PageViewState::ToggleZoomOutMode() {
  zoom_out_mode_ = !zoom_out_mode_;
  if (zoom_out_mode_) zoom_in_mode_ = false;
}

bool PageViewState::ZoomIn() {
  if (zoom_step_ >= kMaxZoomStep) return false;
  previous_factor_ = zoom_factor();
  ++zoom_step_;
  return true;
}

bool PageViewState::ZoomOut() {
  if (zoom_step_ <= kMinZoomStep) return false;
  previous_factor_ = zoom_factor();
  --zoom_step_;
  return true;
}

void PageViewState::WholeSheet() {
  previous_factor_ = zoom_factor();
  zoom_step_ = 0;
}

bool PageViewState::Click(presentation::Point point) {
  if (zoom_in_mode_ || zoom_out_mode_) {
    zoom_point_ = point;
    if (zoom_in_mode_) {
      ZoomIn();
    } else {
      ZoomOut();
    }
    return true;
  }
  selection_ = point;
  return false;
}

int PageViewState::PageHeight() const {
  return Floor(base_.height * zoom_factor());
}

int PageViewState::PageWidth(int sheet_width_mm, int sheet_height_mm) const {
  if (sheet_height_mm <= 0) return 0;
  return Floor(static_cast<double>(PageHeight()) * sheet_width_mm / sheet_height_mm);
}

ViewSize PageViewState::ScrollSize(int sheet_width_mm, int sheet_height_mm) const {
  return {std::max(base_.width, PageWidth(sheet_width_mm, sheet_height_mm)),
          std::max(base_.height, PageHeight())};
}

ScrollBars PageViewState::ScrollBarsFor(ViewSize room, ViewSize bar, int sheet_width_mm,
                                        int sheet_height_mm) const {
  const ViewSize size = ScrollSize(sheet_width_mm, sheet_height_mm);
  ScrollBars bars;
  bars.horizontal = size.width > room.width;
  bars.vertical = size.height > room.height;
  // A bar takes its room from the other direction, which may then need its bar too.
  if (bars.horizontal && !bars.vertical) bars.vertical = size.height > room.height - bar.height;
  if (bars.vertical && !bars.horizontal) bars.horizontal = size.width > room.width - bar.width;
  if (bars.horizontal) bars.range.width = size.width - (room.width - (bars.vertical ? bar.width : 0));
  if (bars.vertical) bars.range.height = size.height - (room.height - (bars.horizontal ? bar.height : 0));
  return bars;
}

ViewSize PageViewState::PageStep(ViewSize scroll_size) {
  return {std::max(1, scroll_size.width / 10), std::max(1, scroll_size.height / 10)};
}

ViewSize PageViewState::LineStep(ViewSize scroll_size) {
  return {std::max(1, scroll_size.width / 100), std::max(1, scroll_size.height / 100)};
}

std::optional<presentation::Point> PageViewState::TakeCentring(presentation::Point scroll, int sheet_width_mm,
                                                               int sheet_height_mm) {
  if (zoom_point_ == applied_zoom_point_ || sheet_height_mm <= 0) return std::nullopt;
  applied_zoom_point_ = zoom_point_;
  const double f = previous_factor_;
  const double z = zoom_factor();
  const double a = base_.width;
  const double e = base_.height;
  const double aspect = static_cast<double>(sheet_width_mm) / sheet_height_mm;
  const int x0 = std::max(0, Floor((a - f * e * aspect) * 0.5));
  const int y0 = std::max(0, Floor(e * (1 - f) * 0.5));
  const int x1 = std::max(0, Floor((a - e * aspect * z) * 0.5));
  const int y1 = std::max(0, Floor(e * (1 - z) * 0.5));
  return presentation::Point{Floor((zoom_point_.x + scroll.x - x0) * z / f) + x1 - base_.width / 2,
                             Floor(z * (zoom_point_.y + scroll.y - y0) / f) + y1 - base_.height / 2};
}

PageViewState::WheelAction PageViewState::Wheel(int angle_delta, int scroll_y, int scroll_height) {
  if (angle_delta == 0) return WheelAction::kScroll;
  // A turn in the other direction starts gathering afresh.
  if ((angle_delta > 0) != (wheel_rest_ > 0)) wheel_rest_ = 0;
  wheel_rest_ += angle_delta;
  if (wheel_rest_ > -kWheelNotch && wheel_rest_ < kWheelNotch) return WheelAction::kScroll;
  const bool towards_user = wheel_rest_ < 0;
  wheel_rest_ %= kWheelNotch;
  if (towards_user) {
    if (base_.height >= scroll_height - scroll_y && Next()) return WheelAction::kNextSheet;
  } else if (scroll_y == 0 && Previous()) {
    return WheelAction::kPreviousSheet;
  }
  return WheelAction::kScroll;
}

}  // namespace tallyform::presentation
