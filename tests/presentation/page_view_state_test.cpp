#include "presentation/page_view_state.h"

#include <gtest/gtest.h>

namespace tallyform::presentation {
namespace {

using presentation::Point;
using Wheel = PageViewState::WheelAction;

// An A4 portrait view first shown in a window of 800 × 600.
PageViewState Started(int sheets = 1) {
  PageViewState state;
  state.Start({800, 600});
  state.SetSheetCount(sheets);
  return state;
}

TEST(PageViewStateTest, ZoomStepsRunFromMinusFiveToTwelveWithTheirFactors) {
  EXPECT_DOUBLE_EQ(ZoomFactor(0), 1.0);
  EXPECT_DOUBLE_EQ(ZoomFactor(1), 1.2);
  EXPECT_NEAR(ZoomFactor(12), 8.9161, 1e-4);
  EXPECT_DOUBLE_EQ(ZoomFactor(-1), 0.8);
  EXPECT_NEAR(ZoomFactor(-5), 0.32768, 1e-12);

  PageViewState state = Started();
  EXPECT_EQ(state.PageHeight(), 600);  // a whole sheet fits the window as first shown
  state.ToggleZoomInMode();
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(state.Click({100 + i, 100}));
  EXPECT_EQ(state.zoom_step(), 12);
  EXPECT_TRUE(state.TakeCentring({0, 0}, 210, 297));
  const double previous = state.previous_zoom_factor();
  EXPECT_TRUE(state.Click({5, 5}));  // the thirteenth click zooms no further...
  EXPECT_EQ(state.zoom_step(), 12);
  EXPECT_EQ(state.previous_zoom_factor(), previous);
  EXPECT_TRUE(state.TakeCentring({0, 0}, 210, 297));  // ...but its point is still centred on

  state.ToggleZoomOutMode();
  EXPECT_FALSE(state.zoom_in_mode());
  for (int i = 0; i < 20; ++i) state.Click({10, 10});
  EXPECT_EQ(state.zoom_step(), PageViewState::kMinZoomStep);
  EXPECT_EQ(state.PageHeight(), static_cast<int>(600 * 0.32768));
  EXPECT_FALSE(state.ZoomOut());

  state.WholeSheet();
  EXPECT_EQ(state.zoom_step(), 0);
  state.ToggleZoomOutMode();
  EXPECT_FALSE(state.Click({30, 40}));  // no mode: the click selects
  EXPECT_EQ(state.selection(), (Point{30, 40}));
}

TEST(PageViewStateTest, AZoomClickBringsThePointUnderItToTheMiddleOnce) {
  PageViewState state = Started();
  state.ToggleZoomInMode();
  // At step 0 the A4 sheet (600 high, 424 wide) stands centred at x0 = 187. Zooming to 1.2 it is 509 wide,
  // centred at x1 = 145; the point under the click moves to the middle of the window.
  state.Click({500, 400});
  const auto centre = state.TakeCentring({0, 0}, 210, 297);
  ASSERT_TRUE(centre);
  EXPECT_EQ(centre->x, 375 + 145 - 400);               // ⌊(500 − 187) · 1.2⌋ + x1 − A / 2
  EXPECT_EQ(centre->y, 480 - 300);                     // ⌊1.2 · 400⌋ + 0 − E / 2
  EXPECT_FALSE(state.TakeCentring({0, 0}, 210, 297));  // centred already

  state.Click({500, 400});  // the same window point again: zoom without centring
  EXPECT_EQ(state.zoom_step(), 2);
  EXPECT_FALSE(state.TakeCentring({0, 0}, 210, 297));

  // The scroll size grows with the page but never below the window as first shown.
  const ViewSize size = state.ScrollSize(210, 297);
  EXPECT_EQ(size.height, static_cast<int>(600 * 1.44));
  EXPECT_EQ(size.width, 800);
  EXPECT_EQ(PageViewState::PageStep(size).height, size.height / 10);
  EXPECT_EQ(PageViewState::LineStep({50, 50}).width, 1);
}

TEST(PageViewStateTest, ScrollBarsComeWithTheZoomAndGoWithTheWholeSheet) {
  PageViewState state = Started();
  const ViewSize room{800, 600};
  const ViewSize bar{15, 16};
  EXPECT_EQ(state.ScrollBarsFor(room, bar, 210, 297), ScrollBars{});
  // 720 high: the vertical bar, and then the 800 of the base no longer fit across beside it.
  state.ZoomIn();
  EXPECT_EQ(state.ScrollBarsFor(room, bar, 210, 297), (ScrollBars{true, true, {15, 136}}));
  state.WholeSheet();
  EXPECT_EQ(state.ScrollBarsFor(room, bar, 210, 297), ScrollBars{});
  // A window lower than the first one, but wide enough for the vertical bar.
  EXPECT_EQ(state.ScrollBarsFor({900, 500}, bar, 210, 297), (ScrollBars{false, true, {0, 100}}));
}

TEST(PageViewStateTest, SheetCommandsFollowTheSheetCount) {
  PageViewState one = Started(1);
  EXPECT_FALSE(one.CanGoFirst() || one.CanGoPrevious() || one.CanGoNext() || one.CanGoLast());
  EXPECT_FALSE(one.Next());
  EXPECT_FALSE(one.Previous());

  PageViewState three = Started(3);
  EXPECT_FALSE(three.CanGoPrevious());
  EXPECT_TRUE(three.CanGoNext() && three.CanGoLast());
  three.Click({50, 60});
  EXPECT_TRUE(three.Next());
  EXPECT_EQ(three.selection(), (Point{0, 0}));  // a sheet change drops the selection
  EXPECT_TRUE(three.Last());
  EXPECT_EQ(three.current_sheet(), 3);
  EXPECT_FALSE(three.CanGoNext());
  EXPECT_FALSE(three.Last());
  EXPECT_TRUE(three.First());
  EXPECT_EQ(three.current_sheet(), 1);

  three.Last();
  three.SetSheetCount(2);  // a sheet went away: the last one is shown
  EXPECT_EQ(three.current_sheet(), 2);
}

TEST(PageViewStateTest, TheWheelTurnsSheetsOnlyAtTheEndsOfTheScrollableArea) {
  PageViewState state = Started(2);
  // Towards the user, not at the bottom: scroll.
  EXPECT_EQ(state.Wheel(-120, 0, 1000), Wheel::kScroll);
  // At the bottom (600 ≥ 1000 − 400): the next sheet.
  EXPECT_EQ(state.Wheel(-120, 400, 1000), Wheel::kNextSheet);
  EXPECT_EQ(state.current_sheet(), 2);
  // At the bottom of the last sheet: scroll, stay.
  EXPECT_EQ(state.Wheel(-120, 400, 1000), Wheel::kScroll);
  EXPECT_EQ(state.current_sheet(), 2);
  // Away from the user, not at the top: scroll; at the top: back, into the lower part.
  EXPECT_EQ(state.Wheel(120, 10, 1000), Wheel::kScroll);
  EXPECT_EQ(state.Wheel(120, 0, 1000), Wheel::kPreviousSheet);
  EXPECT_EQ(state.current_sheet(), 1);
  EXPECT_EQ(state.PreviousSheetScrollY(1000), 700);
}

TEST(PageViewStateTest, FineWheelTurnsGatherToANotchBeforeTheSheetChanges) {
  PageViewState state = Started(2);
  EXPECT_EQ(state.Wheel(-40, 0, 600), Wheel::kScroll);
  EXPECT_EQ(state.Wheel(-40, 0, 600), Wheel::kScroll);
  EXPECT_EQ(state.Wheel(40, 0, 600), Wheel::kScroll);  // a turn back starts again
  EXPECT_EQ(state.Wheel(-40, 0, 600), Wheel::kScroll);
  EXPECT_EQ(state.Wheel(-40, 0, 600), Wheel::kScroll);
  EXPECT_EQ(state.current_sheet(), 1);
  EXPECT_EQ(state.Wheel(-40, 0, 600), Wheel::kNextSheet);
}

}  // namespace
}  // namespace tallyform::presentation
