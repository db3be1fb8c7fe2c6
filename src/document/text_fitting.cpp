#include "document/text_fitting.h"

namespace tallyform::document {

std::size_t FirstPieceLength(std::string_view text) {
  const std::size_t pos = text.find_first_of(kBreakCharacters);
  if (pos == std::string_view::npos) return 0;
  if (text.substr(pos, 3) == "...") return pos + 3;
  return pos + 1;
}

bool Fits(const ports::TextMeasurer& measurer, double height_mm, double cell_width_mm, std::string_view text,
          double factor) {
  if (text.empty()) return true;
  const double e = measurer.Width(text, height_mm);
  return e < cell_width_mm || cell_width_mm >= factor * e;
}

void Split(const ports::TextMeasurer& measurer, double height_mm, double cell_width_mm, std::string_view text,
           std::vector<std::string>& lines, double factor) {
  const auto fits = [&](std::string_view s) { return Fits(measurer, height_mm, cell_width_mm, s, factor); };
  // Every line is a prefix of what is left of the text, so lines are tracked by their length.
  std::string_view left = text;
  for (std::size_t first = FirstPieceLength(left); first != 0; first = FirstPieceLength(left)) {
    std::size_t line = first;
    // A first piece wider than the cell is a line by itself; growing it could never make it fit.
    if (fits(left.substr(0, line))) {
      for (;;) {
        const std::size_t next = FirstPieceLength(left.substr(line));
        if (next == 0) {
          if (line < left.size() && fits(left)) line = left.size();
          break;
        }
        if (!fits(left.substr(0, line + next))) break;
        line += next;
      }
    }
    lines.emplace_back(left.substr(0, line));
    left.remove_prefix(line);
  }
  if (!left.empty()) lines.emplace_back(left);
}

std::vector<std::string> Split(const ports::TextMeasurer& measurer, double height_mm, double cell_width_mm,
                               std::string_view text, double factor) {
  std::vector<std::string> lines;
  Split(measurer, height_mm, cell_width_mm, text, lines, factor);
  return lines;
}

}  // namespace tallyform::document
