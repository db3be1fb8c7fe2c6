#pragma once
// Whether a text fits a table cell on one line, and breaking a text that does not into lines.
//
// Widths come from a ports::TextMeasurer in millimetres, so fitting gives the same lines on every device.

#include <string>
#include <string_view>
#include <vector>

#include "ports/text_measurer.h"

namespace tallyform::document {

/// How much narrower than its text a cell may be and still hold it on one line (the drawer then shrinks the
/// text): a cell of at least 0.9 of the text's width holds it.
inline constexpr double kFitFactor = 0.9;

/// The characters after which a text may be broken; each stays at the end of the piece it closes.
inline constexpr std::string_view kBreakCharacters = " _-.,;";

/// The length of the first piece of `text`: up to and including its first break character, or up to and
/// including "..." when that break character is a full stop starting three of them. 0 when the text holds no
/// break character (the whole text is one unbreakable piece).
std::size_t FirstPieceLength(std::string_view text);

/// True when `text` (code page 1251) may stay on one line of a cell `cell_width_mm` wide: its width e at
/// `height_mm` is below the cell width f, or f >= factor × e. An empty text always fits.
bool Fits(const ports::TextMeasurer& measurer, double height_mm, double cell_width_mm, std::string_view text,
          double factor = kFitFactor);

/// Breaks `text` into the lines it takes in a cell `cell_width_mm` wide and appends them to `lines`.
///
/// Each line is the longest run of whole pieces (see FirstPieceLength) that Fits; break characters stay at
/// the end of the line they close, so a line may end with a space. A final piece without a break character
/// that does not fit onto the last line becomes a line of its own, and a text without any break character
/// is one line however wide. A piece that is too wide for the cell by itself also becomes a line of its own
/// (the drawer shrinks it) and splitting goes on after it, so every text ends in finitely many lines; the
/// pieces are never cut. The lines joined give the text back; an empty text gives no line.
void Split(const ports::TextMeasurer& measurer, double height_mm, double cell_width_mm, std::string_view text,
           std::vector<std::string>& lines, double factor = kFitFactor);

/// The lines of `text`, as Split appends them.
std::vector<std::string> Split(const ports::TextMeasurer& measurer, double height_mm, double cell_width_mm,
                               std::string_view text, double factor = kFitFactor);

}  // namespace tallyform::document
