#include "document/text_fitting.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/fake_text_measurer.h"
#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace text::literals;
using Lines = std::vector<std::string>;

// At this height every character of the fake measurer is 1 mm wide.
constexpr double kHeight = 2.0;

std::string Join(const Lines& lines) {
  std::string all;
  for (const auto& line : lines) all += line;
  return all;
}

TEST(FitsTest, CellMayBeUpToTheFitFactorNarrowerThanItsText) {
  testing::FakeTextMeasurer m;
  const std::string ten = "ABCDEFGHIJ";  // 10 mm
  EXPECT_TRUE(Fits(m, kHeight, 10.0, ten));
  EXPECT_TRUE(Fits(m, kHeight, 12.0, ten));
  EXPECT_TRUE(Fits(m, kHeight, 10.0 / 1.1, ten));
  EXPECT_FALSE(Fits(m, kHeight, 10.0 / 1.2, ten));
  EXPECT_FALSE(Fits(m, kHeight, 8.99, ten));
  EXPECT_TRUE(Fits(m, kHeight, 9.01, ten));
  // A stricter factor: the cell must be at least as wide as the text.
  EXPECT_TRUE(Fits(m, kHeight, 10.0, ten, 1.0));
  EXPECT_FALSE(Fits(m, kHeight, 9.9, ten, 1.0));
  // The text is measured at the height asked for: twice as high is twice as wide.
  EXPECT_FALSE(Fits(m, 2 * kHeight, 10.0 / 1.1, ten));
  EXPECT_TRUE(Fits(m, kHeight, 0.0, ""));
}

TEST(FirstPieceTest, EndsAfterTheFirstBreakCharacterOrAfterAnEllipsis) {
  EXPECT_EQ(FirstPieceLength("R1, R2"), 3u);
  EXPECT_EQ(FirstPieceLength(" R2"), 1u);
  EXPECT_EQ(FirstPieceLength("C2-33"), 3u);
  EXPECT_EQ(FirstPieceLength("a_b;c"), 2u);
  EXPECT_EQ(FirstPieceLength("abc...def"), 6u);
  EXPECT_EQ(FirstPieceLength("ab..c"), 3u);    // two full stops are no ellipsis
  EXPECT_EQ(FirstPieceLength("ab....c"), 5u);  // the fourth stop is a piece of its own
  EXPECT_EQ(FirstPieceLength("ab ...c"), 3u);  // the ellipsis must start at the break character
  EXPECT_EQ(FirstPieceLength("Резистор"_cp), 0u);
  EXPECT_EQ(FirstPieceLength(""), 0u);
}

TEST(SplitTest, DesignatorsBreakAfterTheCommaAndSpaceThatCloseALine) {
  testing::FakeTextMeasurer m;
  // The cell holds "R1, R2, " (8 mm) only thanks to the fit factor; "R1, R2, R3" (10 mm) is too wide.
  EXPECT_EQ(Split(m, kHeight, 7.5, "R1, R2, R3"), (Lines{"R1, R2, ", "R3"}));
  EXPECT_EQ(Split(m, kHeight, 4.0, "R1, R2, R3"), (Lines{"R1, ", "R2, ", "R3"}));
  EXPECT_EQ(Split(m, kHeight, 40.0, "R1, R2, R3"), (Lines{"R1, R2, R3"}));
  // A final piece without a break character that does not fit onto the last line stands alone.
  EXPECT_EQ(Split(m, kHeight, 7.5, "R1, R234567"), (Lines{"R1, ", "R234567"}));
  EXPECT_EQ(Split(m, kHeight, 7.5, "R1, R2, R3-R14"), (Lines{"R1, R2, ", "R3-R14"}));

  Lines lines{"kept"};
  Split(m, kHeight, 7.5, "R1, R2, R3", lines);
  EXPECT_EQ(lines, (Lines{"kept", "R1, R2, ", "R3"})) << "Split appends to the lines it is given";
}

TEST(SplitTest, KeepsAnEllipsisWithThePieceBeforeIt) {
  testing::FakeTextMeasurer m;
  // Were each full stop a piece, "AB CD." would fill the first line.
  EXPECT_EQ(Split(m, kHeight, 6.0, "AB CD...EF"), (Lines{"AB ", "CD...", "EF"}));
  EXPECT_EQ(Split(m, kHeight, 9.0, "см. прим...далее"_cp),
            (Lines{std::string{"см. "_cp}, std::string{"прим..."_cp}, std::string{"далее"_cp}}));
}

TEST(SplitTest, PiecesTooWideForTheCellStandAloneAndSplittingEnds) {
  testing::FakeTextMeasurer m;
  const std::string name{"Конденсатор"_cp};
  EXPECT_EQ(Split(m, kHeight, 5.0, name), (Lines{name}));
  EXPECT_EQ(Split(m, kHeight, 4.0, "ABCDEFGHIJ, K, L"), (Lines{"ABCDEFGHIJ,", " K, ", "L"}));
  EXPECT_EQ(Split(m, kHeight, 4.0, "A, BCDEFGHIJKL, M"), (Lines{"A, ", "BCDEFGHIJKL,", " M"}));
  EXPECT_EQ(Split(m, kHeight, 0.0, "A B"), (Lines{"A ", "B"}));
  EXPECT_TRUE(Split(m, kHeight, 5.0, "").empty());
}

TEST(SplitTest, LinesRebuildTheTextAndEachIsTheLongestThatFits) {
  // Texts of designator-like characters with a narrow space and a wide letter, over many cell widths.
  testing::FakeTextMeasurer m;
  m.SetWidth(' ', 0.25);
  m.SetWidth('W', 1.0);
  const std::string alphabet = "RW1 ,.-_;";
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 40);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_real_distribution<double> width(0.0, 25.0);
  for (int round = 0; round < 2000; ++round) {
    std::string text(length(random), ' ');
    for (char& c : text) c = alphabet[pick(random)];
    const double cell = width(random);
    const Lines lines = Split(m, kHeight, cell, text);
    SCOPED_TRACE("text \"" + text + "\", cell " + std::to_string(cell));
    ASSERT_EQ(Join(lines), text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      ASSERT_FALSE(line.empty());
      const std::size_t first = FirstPieceLength(line);
      // Only a single piece may be too wide: an unbreakable one, or one closed by its break character(s).
      if (!Fits(m, kHeight, cell, line)) {
        ASSERT_TRUE(first == 0 || first == line.size()) << line;
      }
      if (i + 1 < lines.size()) {
        const std::size_t next_piece = FirstPieceLength(lines[i + 1]);
        const std::string longer =
            line + lines[i + 1].substr(0, next_piece == 0 ? std::string::npos : next_piece);
        ASSERT_FALSE(Fits(m, kHeight, cell, longer)) << "line " << i << " could have taken the next piece";
      }
    }
  }
}

}  // namespace
}  // namespace tallyform::document
