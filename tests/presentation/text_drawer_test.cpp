#include "presentation/text_drawer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/recording_device.h"

namespace tallyform::presentation {
namespace {

using document::Rect;
using testing::RecordingDevice;

// 10 device units per mm, the sheet's corner at (5, 7).
SheetMapping TenPerMm() {
  SheetMapping m;
  m.scale_x = 10;
  m.scale_y = 10;
  m.origin_x = 5;
  m.origin_y = 7;
  return m;
}

class TextDrawerTest : public ::testing::Test {
 protected:
  TextDrawerTest() : drawer_(device_, TenPerMm()) {
    drawer_.MakeFont(2.0);  // character height MulDiv(20, 96, 72) = 27: "abcd" is 54 wide, lines 33 high
  }
  const RecordingDevice::TextRecord& Only() {
    EXPECT_EQ(device_.texts.size(), 1u);
    return device_.texts.back();
  }

  RecordingDevice device_;
  TextDrawer drawer_;
};

TEST_F(TextDrawerTest, FontHeightFollowsTheMappingOnEveryDevice) {
  EXPECT_EQ(device_.font().character_height, 27);
  EXPECT_DOUBLE_EQ(drawer_.current_text_height(), 2.0);

  // A 96 dpi screen at true size, and a 1200 dpi printer: h × 96 / 72 mm through the vertical scale.
  SheetMapping screen;
  screen.scale_y = 96 / 25.4;
  drawer_.SetMapping(screen);
  EXPECT_EQ(drawer_.CharacterHeight(4.0), 20);  // trunc(15.1) = 15, × 4/3
  SheetMapping printer;
  printer.scale_y = 1200 / 25.4;
  drawer_.SetMapping(printer);
  EXPECT_EQ(drawer_.CharacterHeight(4.0), 251);  // trunc(188.98) = 188, × 4/3 = 250.67

  // Settings read from a damaged file must not reach the device as absurd integers.
  EXPECT_EQ(drawer_.CharacterHeight(std::numeric_limits<double>::quiet_NaN()), 1);
  EXPECT_EQ(drawer_.CharacterHeight(-3.0), 1);
  EXPECT_EQ(drawer_.CharacterHeight(1e300), drawer_.CharacterHeight(kMaxTextHeightMm));
  EXPECT_EQ(drawer_.CharacterHeight(std::numeric_limits<double>::infinity()),
            drawer_.CharacterHeight(kMaxTextHeightMm));
}

TEST_F(TextDrawerTest, SingleLinesAreInsetByOneMillimetreAndCentredVertically) {
  const Rect cell{10, 20, 60, 28};  // 500 units wide
  struct Case {
    std::uint32_t attributes;
    int x;
  };
  const Case cases[] = {
      {document::kAlignLeft, 10 * 11 + 5},           // 1 mm from the left edge
      {document::kAlignRight, 10 * 59 + 5 - 54},     // 1 mm from the right edge
      {document::kAlignCentre, 5 + (700 - 54) / 2},  // halfway
      {document::kFillCentred, 5 + (700 - 54) / 2},  // the table-text flag changes nothing
      {document::kAlignRight | document::kAlignCentre, 5 + (700 - 54) / 2},  // bit 0 wins
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    device_.Forget();
    drawer_.DrawText(cell, "abcd", c.attributes);
    const auto& t = Only();
    EXPECT_EQ(t.x, c.x);
    EXPECT_EQ(t.y, 7 + (480 - 33) / 2);
    EXPECT_EQ(t.font.character_height, 27);
    EXPECT_EQ(t.font.rotation, 0);
  }
}

TEST_F(TextDrawerTest, UnderlineAndRotationApplyToTheTextOnlyAndThePreviousFontComesBack) {
  const ports::DeviceFont before = device_.font();
  drawer_.DrawText({10, 20, 60, 28}, "abc", document::kFillHeading);
  EXPECT_TRUE(Only().font.underline);
  EXPECT_EQ(device_.font(), before);

  device_.Forget();
  drawer_.DrawText({0, 0, 5, 60}, "abc", document::kVertical | document::kAlignCentre);
  EXPECT_EQ(Only().font.rotation, ports::DeviceFont::kUpwards);
  EXPECT_FALSE(Only().font.underline);
  EXPECT_EQ(device_.font(), before);
}

TEST_F(TextDrawerTest, SeveralLinesFormACentredBlockAndAreNeverShrunk) {
  // Three lines 33 high in a rectangle 300 high: the block starts (300 − 99) / 2 below the top.
  const Rect rect{10, 20, 30, 50};  // 200 units wide
  drawer_.DrawText(rect, "ab\r\nabcdefghijklmnopqrstuvwxyz\r\nc", document::kAlignCentre);
  ASSERT_EQ(device_.texts.size(), 3u);
  const int g = (300 - 3 * 33) / 2;
  for (int i = 0; i < 3; ++i) {
    const auto& t = device_.texts[static_cast<std::size_t>(i)];
    EXPECT_EQ(t.y, i * 33 + 200 + g + 7);
    EXPECT_EQ(t.font.character_height, 27) << "line " << i;
    const int w = device_.TextExtent(t.text).width;
    EXPECT_EQ(t.x, 5 + (400 - w) / 2);
  }

  // Left aligned lines keep the 1 mm inset, right aligned ones touch the edge.
  device_.Forget();
  drawer_.DrawText(rect, "ab\r\nc", document::kAlignLeft);
  ASSERT_EQ(device_.texts.size(), 2u);
  EXPECT_EQ(device_.texts[0].x, 115);
  EXPECT_EQ(device_.texts[1].x, 115);
  device_.Forget();
  drawer_.DrawText(rect, "ab\r\nc", document::kAlignRight);
  ASSERT_EQ(device_.texts.size(), 2u);
  EXPECT_EQ(device_.texts[0].x, 300 + 5 - 27);
  EXPECT_EQ(device_.texts[1].x, 300 + 5 - 13);

  // The several-lines bit alone makes a single line a block of one: never shrunk.
  device_.Forget();
  drawer_.DrawText({10, 20, 12, 28}, "abcdefgh", document::kMultiLine);
  EXPECT_EQ(Only().font.character_height, 27);
}

TEST_F(TextDrawerTest, UpwardTextIsCentredOnItsRectangleWhateverItsLength) {
  const Rect rect{8, 100, 13, 160};  // middle at x 105 + 5, y 1300 + 7
  for (const std::string text : {"ab", "abcdefghijklmnop"}) {
    device_.Forget();
    drawer_.DrawText(rect, text, document::kVertical | document::kAlignLeft);
    const auto& t = Only();
    const int w = device_.TextExtent(text).width;
    EXPECT_EQ(t.y, 7 + (2600 + w) / 2) << text;  // the text runs up from its bottom end
    EXPECT_EQ(t.x, 5 + (210 - 33) / 2) << text;
    EXPECT_EQ(t.font.character_height, 27) << text;  // never shrunk, even when longer than the column
  }

  // Lines of an upward block stand side by side, one text height (2 mm) apart.
  device_.Forget();
  drawer_.DrawText({20, 5, 30, 32}, "ab\r\nabcd", document::kVertical | document::kAlignCentre);
  ASSERT_EQ(device_.texts.size(), 2u);
  const int g = static_cast<int>((10 - 2 * 2.0) * 10 * 0.5);
  EXPECT_EQ(device_.texts[0].x, 200 + 5 + g);
  EXPECT_EQ(device_.texts[1].x, 220 + 5 + g);
  EXPECT_EQ(device_.texts[0].y, 7 + (370 + 27) / 2);
  EXPECT_EQ(device_.texts[1].y, 7 + (370 + 54) / 2);
  device_.Forget();
  drawer_.DrawText({20, 5, 30, 32}, "ab\r\nabcd", document::kVertical | document::kAlignRight);
  EXPECT_EQ(device_.texts[0].x, 200 + 5 + 2 * g);
}

// The drawer halves the interval of character heights; what it finds must be exactly what stepping down
// one unit at a time finds.
int SteppedHeight(RecordingDevice& device, std::string_view text, double room, int height) {
  ports::DeviceFont font = device.font();
  font.character_height = height;
  device.SetFont(font);
  while (device.TextExtent(text).width * 1.05 > room && font.character_height > 1) {
    --font.character_height;
    device.SetFont(font);
  }
  return font.character_height;
}

TEST_F(TextDrawerTest, ShrinkingFindsTheHeightOneUnitStepsReach) {
  RecordingDevice reference;
  for (double char_width : {0.5, 0.37, 0.61}) {
    device_.char_width = char_width;
    reference.char_width = char_width;
    for (int height : {1, 2, 27, 250}) {
      for (const std::string& text : {std::string("x"), std::string("abcdefghij"), std::string(60, 'w')}) {
        for (int cell_mm = 1; cell_mm <= 40; cell_mm += 3) {
          device_.Forget();
          drawer_.MakeFont(0, false, false, height);
          drawer_.DrawText({0, 0, cell_mm, 8}, text, document::kAlignCentre);
          const int expected = SteppedHeight(reference, text, cell_mm * 10.0, height);
          ASSERT_EQ(Only().font.character_height, expected)
              << "width " << char_width << ", height " << height << ", text " << text << ", cell " << cell_mm;
        }
      }
    }
  }
}

TEST_F(TextDrawerTest, ShrinkingStopsAtTheFirstFitAndEndsAtTheSmallestFont) {
  // As wide as the cell: shrunk until the cell is at least 5 % wider than the text.
  drawer_.MakeFont(0, false, false, 25);  // "abcd" is 50 wide in a cell 50 wide
  drawer_.DrawText({0, 0, 5, 8}, "abcd", document::kAlignCentre);
  const auto& shrunk = Only();
  EXPECT_EQ(shrunk.font.character_height, 23);  // 46 × 1.05 = 48.3 fits; 48 × 1.05 = 50.4 does not
  EXPECT_EQ(shrunk.x, 5 + (50 - 46) / 2);
  EXPECT_EQ(shrunk.y, 7 + (80 - 23 * 5 / 4) / 2);  // centred with the height of the shrunk font
  EXPECT_EQ(device_.font().character_height, 25);  // the caller's font is back

  // A line set off 1 mm from its edge shrinks until it ends inside the other edge.
  for (std::uint32_t alignment : {document::kAlignLeft, document::kAlignRight}) {
    device_.Forget();
    drawer_.DrawText({0, 0, 5, 8}, "abcd", alignment);
    const auto& inset = Only();
    EXPECT_EQ(inset.font.character_height, 19);  // 38 × 1.05 fits the 40 units left; 40 × 1.05 does not
    EXPECT_GE(inset.x, 5);
    EXPECT_LE(inset.x + 38, 55);
  }

  // Nothing fits a cell of no width: the text is drawn at the smallest height, after few measurements.
  device_.Forget();
  device_.measurements = 0;
  drawer_.MakeFont(0, false, false, 100000);
  drawer_.DrawText({3, 0, 3, 8}, "abcd", document::kAlignLeft);
  EXPECT_EQ(Only().font.character_height, 1);
  EXPECT_LT(device_.measurements, 40u);
}

TEST_F(TextDrawerTest, EmptyTextsDrawNothing) {
  drawer_.DrawText({0, 0, 10, 8}, "", document::kAlignCentre);
  drawer_.DrawText({0, 0, 10, 8}, "", document::kVertical);
  drawer_.DrawText({0, 0, 10, 8}, "\r\n", document::kAlignCentre);
  EXPECT_TRUE(device_.texts.empty());
}

}  // namespace
}  // namespace tallyform::presentation
