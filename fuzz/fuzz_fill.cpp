// Opens any input as a document file and, when it opens, draws its sheets as stored, then fills its
// element list into a document of each kind (the opened document itself for its own kind, with its stored
// settings; a simple bill both merged and as separate lists) and draws every sheet of each result on the
// screen and on a printer. Inputs that are not documents simply return. Any exception other than
// tallyform::Error, a crash, a hang or a runaway allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/document_session.h"
#include "document/document.h"
#include "document/fill_sheets.h"
#include "elements/element_order.h"
#include "elements/list_data.h"
#include "model/document_kind.h"
#include "model/element_kinds.h"
#include "model/errors.h"
#include "ports/device.h"
#include "ports/text_measurer.h"
#include "presentation/sheet_drawing.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform;

// Every character half the text height wide, except a few wider and narrower ones, so that fitting and
// splitting meet texts of uneven width.
class FixedMeasurer : public ports::TextMeasurer {
 public:
  double Width(std::string_view text, double text_height_mm) const override {
    double sum = 0;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      sum += byte == 'W' || byte == 'M' || byte >= 0xC0 ? 0.8 : byte == ' ' || byte == '.' ? 0.25 : 0.5;
    }
    return sum * text_height_mm;
  }
};

// Keeps only the state a drawing reads back.
class NullDevice : public ports::Device {
 public:
  explicit NullDevice(bool printing) : printing_(printing) {}
  bool IsPrinting() const override { return printing_; }
  int DpiX() const override { return printing_ ? 300 : 96; }
  int DpiY() const override { return printing_ ? 300 : 96; }
  ports::DeviceSize ClientSize() const override { return {900, 1200}; }
  void SetPen(int width) override { pen_ = width; }
  int pen() const override { return pen_; }
  void Line(int, int, int, int) override {}
  void SetFont(const ports::DeviceFont& font) override { font_ = font; }
  ports::DeviceFont font() const override { return font_; }
  ports::DeviceSize TextExtent(std::string_view text) const override {
    const int h = font_.character_height;
    return {static_cast<int>(static_cast<double>(text.size()) * 0.5 * h), h + h / 4};
  }
  void Text(int, int, std::string_view) override {}
  ports::Colour SetTextColour(ports::Colour colour) override {
    const ports::Colour previous = colour_;
    colour_ = colour;
    return previous;
  }
  void FillRect(int, int, int, int, ports::Colour) override {}

 private:
  bool printing_;
  int pen_ = 0;
  ports::DeviceFont font_;
  ports::Colour colour_ = ports::kBlack;
};

const std::filesystem::path& ReportFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code error;
    std::filesystem::path made = std::filesystem::temp_directory_path(error) / "tallyform_fuzz_fill";
    std::filesystem::create_directories(made, error);
    return made;
  }();
  return folder;
}

void DrawAll(const document::Document& document) {
  const document::SheetSet& sheets = document.sheets();
  const int count = static_cast<int>(sheets.sheet_count());
  presentation::SheetView window;
  for (int number = 1; number <= count; ++number) {
    NullDevice screen(false);
    presentation::ScreenView view;
    view.page_height = 1100;
    view.selection = {300, 400};
    presentation::DrawSheet(sheets, window, screen, number, view);

    NullDevice printer(true);
    presentation::SheetView printout;
    printout.SetMapping(presentation::PrintingMapping(sheets, printer.DpiX(), printer.DpiY()));
    presentation::DrawSheet(sheets, printout, printer, number);
  }
}

void FillAndDraw(document::Document document, elements::MergeChoice merge) {
  static const FixedMeasurer measurer;
  static const model::ElementKinds kinds;
  static const auto series = std::make_shared<const valuecheck::ValueSeries>();
  const document::FillTools tools{measurer, kinds, series, ReportFolder() / "report.txt"};
  app::DocumentSession session(std::move(document));
  try {
    session.Apply(
        app::commands::Fill{{session.document().data(), session.document().fill_parameters(), merge}, tools});
  } catch (const Error&) {
    return;
  }
  DrawAll(session.document());
  // Undoing the fill gives back sheets the drawing takes as well.
  session.Undo();
  DrawAll(session.document());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using document::Document;
  using model::DocumentKind;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::optional<Document> opened;
  try {
    opened.emplace(Document::FromBytes(bytes));
  } catch (const Error&) {
    return 0;
  }
  DrawAll(*opened);
  const model::DocumentKind own = opened->kind();
  for (const model::DocumentKind kind :
       {model::DocumentKind::kElementList, model::DocumentKind::kPurchasedBill,
        model::DocumentKind::kSimpleBill}) {
    const bool simple = kind == model::DocumentKind::kSimpleBill;
    for (const elements::MergeChoice merge :
         {elements::MergeChoice::kSeparateLists, elements::MergeChoice::kOneList}) {
      if (merge == elements::MergeChoice::kOneList && !simple) continue;
      if (kind == own) {
        FillAndDraw(Document::FromBytes(bytes), merge);
      } else {
        FillAndDraw(Document::Assemble({kind, {}, opened->data(), {}}), merge);
      }
    }
  }
  return 0;
}
