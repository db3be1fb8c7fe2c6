#pragma once
// What the RefDes2 properties dialog of assembly drawing preparation offers and what the user chooses in
// it: the layer, text style and justification of the second designator every component of the board's copy
// gets. Texts are code page 1251.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallyform::model {

/// A justification of the dialog's list: its text and the link's code for it.
struct Justification {
  std::string_view text;
  std::int32_t code;
};

/// The justification list in list order.
inline constexpr std::array<Justification, 9> kRefDes2Justifications{{
    {"TOP", 9},
    {"BOTTOM", 1},
    {"LEFT", 4},
    {"RIGHT", 6},
    {"CENTER", 5},
    {"LOWER_LEFT", 0},
    {"LOWER_RIGHT", 2},
    {"UPPER_LEFT", 8},
    {"UPPER_RIGHT", 10},
}};
/// The position of "CENTER", selected when the dialog opens.
inline constexpr std::size_t kRefDes2DefaultJustification = 4;

/// A layer of the board as the dialog lists it.
struct RefDes2Layer {
  std::int32_t id = 0;
  std::string name;
  friend bool operator==(const RefDes2Layer&, const RefDes2Layer&) = default;
};

/// The dialog's lists, each in the order the board delivered it; the first layer and style are selected,
/// the justification at kRefDes2DefaultJustification, the replace box unticked. The lists are empty when the
/// board could not be opened.
struct RefDes2Offer {
  std::string copy_path;
  std::vector<RefDes2Layer> layers;
  std::vector<std::string> text_styles;
};

/// The choice on OK: the layer's id, the text style's position in its list, the justification's code.
struct RefDes2Choice {
  std::int32_t layer_id = 0;
  std::int32_t text_style = 0;
  std::int32_t justification = 5;
  bool replace = false;
  friend bool operator==(const RefDes2Choice&, const RefDes2Choice&) = default;
};

}  // namespace tallyform::model
