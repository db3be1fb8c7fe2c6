#include "document/settings_edits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "document/sheet_set.h"
#include "model/errors.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

// The heights and widths the dialogs hand over: the ends of each range are stored, anything past them
// (infinite and not a number included, as "1e999" and "nan" would give) is refused with a message naming
// the range, and nothing at all is stored then.
TEST(SettingsEditsTest, HeightsAndWidthsOutsideTheirRangesAreRefusedWithTheRange) {
  struct Setting {
    const char* name;
    std::function<void(CTableRows&, double)> set;
    std::function<double(const CTableRows&)> get;
    double low;
    double high;
  };
  const auto height = [](double TextHeights::*member) {
    return [member](CTableRows& t, double v) {
      TextHeights h;
      h.*member = v;
      SetTextHeights(t, h);
    };
  };
  const auto title = [](double TitleTextHeights::*member) {
    return [member](CTableRows& t, double v) {
      TitleTextHeights h;
      h.*member = v;
      SetTitleTextHeights(t, h);
    };
  };
  const std::vector<Setting> settings = {
      {"table", height(&TextHeights::table), [](const CTableRows& t) { return TextHeightsOf(t).table; },
       kMinTextHeight, kMaxTextHeight},
      {"designation", title(&TitleTextHeights::designation),
       [](const CTableRows& t) { return TitleTextHeightsOf(t).designation; }, kMinTextHeight, kMaxTextHeight},
      {"product name", title(&TitleTextHeights::product_name),
       [](const CTableRows& t) { return TitleTextHeightsOf(t).product_name; }, kMinTextHeight,
       kMaxTextHeight},
      {"enterprise", title(&TitleTextHeights::enterprise),
       [](const CTableRows& t) { return TitleTextHeightsOf(t).enterprise; }, kMinTextHeight, kMaxTextHeight},
      {"other", title(&TitleTextHeights::other),
       [](const CTableRows& t) { return TitleTextHeightsOf(t).other; }, kMinTextHeight, kMaxTextHeight},
      {"main line",
       [](CTableRows& t, double v) {
         SetLineWidths(t, {v, 0.2});
       },
       [](const CTableRows& t) { return LineWidthsOf(t).main; }, kMinLineWidth, kMaxLineWidth},
      {"thin line",
       [](CTableRows& t, double v) {
         SetLineWidths(t, {0.5, v});
       },
       [](const CTableRows& t) { return LineWidthsOf(t).thin; }, kMinLineWidth, kMaxLineWidth},
  };
  EXPECT_EQ(kMinLineWidth, 0.0);  // a width that reads as 0 still draws the thinnest line
  for (const Setting& s : settings) {
    SCOPED_TRACE(s.name);
    for (double good : {s.low, s.high, (s.low + s.high) / 2}) {
      CTableRows table;
      s.set(table, good);
      EXPECT_EQ(s.get(table), good);
    }
    const std::string range = std::string("от "_cp) + text::FormatG(s.low) + std::string(" до "_cp) +
                              text::FormatG(s.high) + std::string(" мм"_cp);
    for (double bad : {s.low - 0.01, s.high + 0.01, -s.high, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
      CTableRows table;
      const DrawingSettings before = table.settings();
      try {
        s.set(table, bad);
        ADD_FAILURE() << bad << " was taken";
      } catch (const BadUsage& e) {
        EXPECT_NE(e.message().find(range), std::string::npos) << e.message();
      }
      EXPECT_EQ(table.settings(), before);
    }
  }
}

// Rescaling reads the quantities in 64 bits and saturates what leaves them; it stops at the next section.
TEST(SettingsEditsTest, TheNumberOfProductsRescalesInSixtyFourBitsAndRefusesNegatives) {
  SheetSet sheets(model::DocumentKind::kSimpleBill);
  sheets.sheet(0).SetSectionStart(true);
  sheets.sheet(0).SetNumberOfProducts(2);
  sheets.AddSheet(15);
  sheets.AddSheet(15).SetSectionStart(true);
  const std::vector<std::string> first = {
      "2", "3", "5", "", "abc", "9223372036854775807", "-9223372036854775808", "99999999999999999999999"};
  for (std::size_t r = 0; r < first.size(); ++r) sheets.sheet(0).cell(r, 3).SetText(first[r]);
  sheets.sheet(1).cell(0, 3).SetText("7");
  sheets.sheet(2).cell(0, 3).SetText("7");

  const SheetSet unchanged_copy = [&] {
    SheetSet copy(sheets.kind());
    SheetArray array = CopySheets(sheets.sheets());
    copy.SwapSheets(array);
    return copy;
  }();
  const auto same_as_before = [&] {
    for (std::size_t s = 0; s < sheets.sheet_count(); ++s) {
      if (!(sheets.sheet(s) == unchanged_copy.sheet(s))) return false;
    }
    return true;
  };
  EXPECT_THROW(SetNumberOfProducts(sheets, 0, -1), BadUsage);
  EXPECT_THROW(SetNumberOfProducts(sheets, 1, 3), BadUsage);  // no section starts there
  EXPECT_TRUE(same_as_before());

  SetNumberOfProducts(sheets, 0, 3);
  std::vector<std::string> rescaled;
  for (std::size_t r = 0; r < first.size(); ++r) rescaled.push_back(sheets.sheet(0).cell(r, 3).text());
  EXPECT_EQ(rescaled, (std::vector<std::string>{"3", "3", "6", "", "0", "9223372036854775807",
                                                "-9223372036854775808", "9223372036854775807"}));
  EXPECT_EQ(sheets.sheet(1).cell(0, 3).text(), "9");  // the section goes on
  EXPECT_EQ(sheets.sheet(2).cell(0, 3).text(), "7");  // the next one starts
  EXPECT_EQ(sheets.sheet(0).number_of_products(), 3);
}

}  // namespace
}  // namespace tallyform::document
