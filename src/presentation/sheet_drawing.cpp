#include "presentation/sheet_drawing.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "document/table_rows.h"
#include "presentation/text_drawer.h"
#include "presentation/title_block.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::presentation {

using namespace tallyform::text::literals;
using document::CTableRows;
using document::Rect;
using document::TitleField;
using model::DocumentKind;

namespace {

constexpr std::uint32_t kLeft = document::kAlignLeft;
constexpr std::uint32_t kCentred = document::kAlignCentre;
constexpr std::uint32_t kUpwardsCentred = document::kVertical | document::kAlignCentre;
// The colour of the selected cell.
constexpr ports::Colour kSelection{0, 78, 152};
constexpr double kMmPerInch = 25.4;

class SheetPainter {
 public:
  SheetPainter(const document::SheetSet& sheets, SheetView& view, ports::Device& device, int number,
               ScreenView* screen)
      : sheets_(sheets),
        view_(view),
        device_(device),
        screen_(screen),
        number_(number),
        kind_(sheets.kind()),
        w_(sheets.sheet_width()),
        h_(sheets.sheet_height()),
        r_(w_ - 5),
        settings_(sheets.sheet(0)),
        sheet_(sheets.sheet(static_cast<std::size_t>(number - 1))),
        text_(device, view.mapping()) {}

  void Draw();

 private:
  bool ListOrBill() const { return kind_ != model::DocumentKind::kSimpleBill; }
  bool Screen() const { return !device_.IsPrinting(); }
  const std::string& Field(TitleField field) const { return settings_.title_field(field); }
  double Height(double mm) const { return SaneLength(mm, kMaxTextHeightMm); }

  void Text(int left, int right, int top, int bottom, std::string_view text, std::uint32_t attributes) {
    text_.DrawText(Rect{left, top, right, bottom}, text, attributes);
  }
  void TextIfAny(int left, int right, int top, int bottom, const std::string& text,
                 std::uint32_t attributes) {
    if (!text.empty()) Text(left, right, top, bottom, text, attributes);
  }
  // A title block field's text in its box of the title block table.
  void FieldText(TitleField field, std::string_view text) {
    const TitleFieldBox& entry = FieldBox(field);
    text_.DrawText(Place(entry.box, w_, h_), text, entry.alignment);
  }
  void FieldTextIfAny(TitleField field) {
    if (!Field(field).empty()) FieldText(field, Field(field));
  }
  const TitleFieldBox& FieldBox(TitleField field) const;
  void Line(double x0, double y0, double x1, double y1) {
    const Point a = view_.MapPoint(x0, y0);
    const Point b = view_.MapPoint(x1, y1);
    device_.Line(a.x, a.y, b.x, b.y);
  }
  void MainPen() { device_.SetPen(main_pen_); }
  void ThinPen() { device_.SetPen(thin_pen_); }

  void SetMapping();
  void SideColumnTexts();
  void FirstTitleBlockTexts();
  void FollowingTitleBlockTexts();
  void HeaderTexts();
  void FrameLines();
  void TitleBlockLines();
  void Grid();
  void CellTexts();
  void Selection();

  const document::SheetSet& sheets_;
  SheetView& view_;
  ports::Device& device_;
  ScreenView* screen_;
  const int number_;
  const model::DocumentKind kind_;
  const int w_;
  const int h_;
  const int r_;  // the right frame line
  const CTableRows& settings_;
  const CTableRows& sheet_;
  TextDrawer text_;
  int thin_pen_ = 0;
  int main_pen_ = 0;
};

void SheetPainter::Draw() {
  const ports::DeviceFont previous_font = device_.font();
  const int previous_pen = device_.pen();
  view_.SetCurrentSheet(number_);
  SetMapping();

  const document::DrawingSettings& heights = settings_.settings();
  view_.SetLineWidths(SaneLength(heights.thin_line, kMaxLineWidthMm),
                      SaneLength(heights.main_line, kMaxLineWidthMm));
  thin_pen_ = view_.MapLineWidth(view_.thin_line_width());
  main_pen_ = view_.MapLineWidth(view_.main_line_width());
  text_.MakeFont(Height(heights.other_text));

  if (ListOrBill()) SideColumnTexts();
  if (kind_ == model::DocumentKind::kElementList) {
    Text(w_ - 55, w_ - 5, h_ - 5, h_, "Формат A4"_cp, kCentred);
    Text(28, 48, 5, 20, "Поз.\r\nобозначе-\r\nние"_cp, kCentred);
  } else if (kind_ == model::DocumentKind::kPurchasedBill) {
    Text(w_ - 55, w_ - 5, h_ - 5, h_, "Формат A3"_cp, kCentred);
  }
  if (ListOrBill()) {
    Text(w_ - 125, w_ - 55, h_ - 5, h_, "Копировал"_cp, kCentred);
    if (number_ == 1) {
      FirstTitleBlockTexts();
    } else {
      FollowingTitleBlockTexts();
    }
  } else {
    Text(w_ - 15, w_ - 5, h_ - 10, h_ - 5, text::FormatD(number_), kCentred);
  }

  text_.MakeFont(Height(heights.table_text));
  HeaderTexts();
  if (ListOrBill() && number_ > 1) Text(w_ - 15, w_ - 5, h_ - 13, h_ - 5, text::FormatD(number_), kCentred);

  if (Screen()) {
    ThinPen();
    Line(0, 0, w_, 0);
    Line(w_, 0, w_, h_);
    Line(w_, h_, 0, h_);
    Line(0, h_, 0, 0);
  }
  FrameLines();
  if (ListOrBill()) TitleBlockLines();
  Grid();
  CellTexts();
  if (Screen() && screen_ != nullptr) Selection();

  view_.SetCurrentTextHeight(text_.current_text_height());
  device_.SetFont(previous_font);
  device_.SetPen(previous_pen);
}

void SheetPainter::SetMapping() {
  if (!Screen()) {
    text_.SetMapping(view_.mapping());
    return;
  }
  SheetMapping m;
  const ports::DeviceSize client = device_.ClientSize();
  const int page_height = screen_ != nullptr ? screen_->page_height : client.height;
  const double scale = static_cast<double>(page_height) / h_;
  m.scale_x = scale;
  m.scale_y = scale;
  m.origin_x = std::max(0, ToDeviceUnits((client.width - w_ * scale) * 0.5));
  m.origin_y = std::max(0, (client.height - page_height) / 2);
  m.page_width = ToDeviceUnits(w_ * scale);
  m.page_height = ToDeviceUnits(h_ * scale);
  view_.SetMapping(m);
  text_.SetMapping(m);
}

void SheetPainter::SideColumnTexts() {
  if (number_ == 1) {
    Text(8, 13, h_ - 292, h_ - 232, "Перв. примен."_cp, kUpwardsCentred);
    Text(8, 13, h_ - 232, h_ - 172, "Справ. №"_cp, kUpwardsCentred);
    TextIfAny(13, 20, h_ - 292, h_ - 232, Field(TitleField::kFirstUse), kUpwardsCentred);
  }
  Text(8, 13, h_ - 150, h_ - 115, "Подп. и дата"_cp, kUpwardsCentred);
  Text(8, 13, h_ - 115, h_ - 90, "Инв. № дубл."_cp, kUpwardsCentred);
  Text(8, 13, h_ - 90, h_ - 65, "Взам. инв. №"_cp, kUpwardsCentred);
  Text(8, 13, h_ - 65, h_ - 30, "Подп. и дата"_cp, kUpwardsCentred);
  Text(8, 13, h_ - 30, h_ - 5, "Инв. № подл."_cp, kUpwardsCentred);
}

void SheetPainter::FirstTitleBlockTexts() {
  const int r = r_;
  const int h = h_;
  Text(r - 185, r - 178, h - 35, h - 30, "Изм."_cp, kCentred);
  Text(r - 178, r - 168, h - 35, h - 30, "Лист"_cp, kCentred);
  Text(r - 168, r - 145, h - 35, h - 30, "№ докум."_cp, kCentred);
  Text(r - 145, r - 130, h - 35, h - 30, "Подп."_cp, kCentred);
  Text(r - 130, r - 120, h - 35, h - 30, "Дата"_cp, kCentred);
  Text(r - 185, r - 168, h - 30, h - 25, "Разраб."_cp, kLeft);
  Text(r - 185, r - 168, h - 25, h - 20, "Пров."_cp, kLeft);
  Text(r - 185, r - 168, h - 15, h - 10, "Н.контр."_cp, kLeft);
  Text(r - 185, r - 168, h - 10, h - 5, "Утвердил"_cp, kLeft);
  Text(r - 50, r - 35, h - 30, h - 25, "Лит."_cp, kCentred);
  Text(r - 35, r - 20, h - 30, h - 25, "Лист"_cp, kCentred);
  Text(r - 20, r, h - 30, h - 25, "Листов"_cp, kCentred);
  const std::string& count = Field(TitleField::kSheetCount);
  if (!count.empty()) {
    FieldText(TitleField::kSheetCount, count);
    FieldTextIfAny(TitleField::kSheetNumber);
  } else {
    FieldText(TitleField::kSheetCount, text::FormatD(static_cast<long long>(sheets_.sheet_count())));
  }
  for (TitleField field : {TitleField::kDevelopedBy, TitleField::kCheckedBy, TitleField::kExtraSignatureLabel,
                           TitleField::kExtraSignatureName, TitleField::kInspector, TitleField::kApprovedBy,
                           TitleField::kLetter1, TitleField::kLetter2, TitleField::kLetter3}) {
    FieldTextIfAny(field);
  }

  // Each of the last four makes its own font; a text after it keeps the last font made.
  const document::DrawingSettings& heights = settings_.settings();
  if (!Field(TitleField::kDesignation).empty()) {
    text_.MakeFont(Height(heights.designation_text));
    FieldText(TitleField::kDesignation, Field(TitleField::kDesignation));
  }
  if (!Field(TitleField::kProductName).empty()) {
    text_.MakeFont(Height(heights.product_name_text));
    FieldText(TitleField::kProductName, Field(TitleField::kProductName));
  }
  text_.MakeFont(Height(heights.document_name_text));
  FieldTextIfAny(TitleField::kDocumentName);
  if (!Field(TitleField::kEnterprise).empty()) {
    text_.MakeFont(Height(heights.enterprise_text));
    FieldText(TitleField::kEnterprise, Field(TitleField::kEnterprise));
  }
}

void SheetPainter::FollowingTitleBlockTexts() {
  const int r = r_;
  const int h = h_;
  Text(r - 185, r - 178, h - 10, h - 5, "Изм."_cp, kCentred);
  Text(r - 178, r - 168, h - 10, h - 5, "Лист"_cp, kCentred);
  Text(r - 168, r - 145, h - 10, h - 5, "№ докум."_cp, kCentred);
  Text(r - 145, r - 130, h - 10, h - 5, "Подп."_cp, kCentred);
  Text(r - 130, r - 120, h - 10, h - 5, "Дата"_cp, kCentred);
  Text(r - 10, r, h - 20, h - 13, "Лист"_cp, kCentred);
  if (!Field(TitleField::kDesignation).empty()) {
    text_.MakeFont(Height(settings_.settings().designation_text));
    FieldText(TitleField::kDesignation, Field(TitleField::kDesignation));
  }
}

const TitleFieldBox& SheetPainter::FieldBox(TitleField field) const {
  for (const TitleFieldBox& entry : TitleFields(kind_, number_ == 1)) {
    if (entry.field == field) return entry;
  }
  // Only a list or a bill draws a title block, and every field drawn is in its table.
  throw std::logic_error("title block field without a box");
}

constexpr std::string_view kProductsCaption = "Количество изделий - "_cp;

void SheetPainter::HeaderTexts() {
  const int w = w_;
  switch (kind_) {
    case model::DocumentKind::kElementList:
      Text(20, 28, 5, 20, "Зона"_cp, kUpwardsCentred);
      Text(48, 158, 5, 20, "Наименование"_cp, kCentred);
      Text(158, 168, 5, 20, "Кол."_cp, kCentred);
      Text(168, w - 5, 5, 20, "Примечание"_cp, kCentred);
      break;
    case model::DocumentKind::kPurchasedBill:
      Text(20, 27, 5, 32, "№ строки"_cp, kUpwardsCentred);
      Text(27, 87, 5, 32, "Наименование"_cp, kCentred);
      Text(87, 132, 5, 32, "Код ОКП"_cp, kCentred);
      Text(132, 202, 5, 32, "Обозначение\r\nдокумента на\r\nпоставку"_cp, kCentred);
      Text(202, 257, 5, 32, "Поставщик"_cp, kCentred);
      Text(257, 327, 5, 32, "Куда входит\r\n(обозначение)"_cp, kCentred);
      Text(327, 391, 5, 14, "Количество"_cp, kCentred);
      Text(327, 343, 14, 32, "на из-\r\nделие"_cp, kCentred);
      Text(343, 359, 14, 32, "в ком-\r\nплекты"_cp, kCentred);
      Text(359, 375, 14, 32, "на ре-\r\nгулир."_cp, kCentred);
      Text(375, 391, 14, 32, "всего"_cp, kCentred);
      Text(391, w - 5, 5, 32, "При-\r\nмеча-\r\nние"_cp, kCentred);
      break;
    case model::DocumentKind::kSimpleBill: {
      int top = 5;
      if (sheet_.section_start()) {
        std::string products(kProductsCaption);
        products += text::FormatD(sheet_.number_of_products());
        Text(27, 87, 5, 13, products, kCentred);
        TextIfAny(122, w - 5, 5, 13, sheet_.section_file(), kLeft);
        top = 13;
      }
      const int bottom = top + 15;
      Text(20, 27, top, bottom, "№"_cp, kCentred);
      Text(27, 87, top, bottom, "Наименование"_cp, kCentred);
      Text(87, 107, top, bottom, "Номинал"_cp, kCentred);
      Text(107, 122, top, bottom, "Кол."_cp, kCentred);
      Text(122, 152, top, bottom, "Корпус"_cp, kCentred);
      Text(152, w - 5, top, bottom, "Примечание"_cp, kCentred);
      break;
    }
  }
}

void SheetPainter::FrameLines() {
  const int w = w_;
  const int h = h_;
  MainPen();
  Line(20, 5, w - 5, 5);
  Line(w - 5, 5, w - 5, h - 5);
  Line(w - 5, h - 5, 20, h - 5);
  Line(20, h - 5, 20, 5);
  if (ListOrBill()) {
    for (int y : {150, 115, 90, 65, 30, 5}) Line(8, h - y, 20, h - y);
    Line(8, h - 150, 8, h - 5);
    Line(13, h - 150, 13, h - 5);
  }
  const int header_bottom = model::HeaderBottom(kind_, sheet_.section_start());
  Line(20, header_bottom, w - 5, header_bottom);
  // Under the products line of a section the header's column lines start at y 13; this line closes them.
  if (kind_ == model::DocumentKind::kSimpleBill && sheet_.section_start()) Line(20, 13, w - 5, 13);
  if (kind_ == model::DocumentKind::kPurchasedBill) Line(327, 14, w - 29, 14);
}

void SheetPainter::TitleBlockLines() {
  const int r = r_;
  const int h = h_;
  const bool wide = w_ > h_;  // on a portrait sheet the frame's left line is the title block's edge
  MainPen();
  if (number_ == 1) {
    for (int y : {292, 232, 172}) Line(8, h - y, 20, h - y);
    Line(8, h - 292, 8, h - 172);
    Line(13, h - 292, 13, h - 172);

    Line(r - 185, h - 45, r, h - 45);
    Line(r - 185, h - 35, r - 120, h - 35);
    Line(r - 185, h - 30, r, h - 30);
    Line(r - 50, h - 25, r, h - 25);
    Line(r - 50, h - 20, r, h - 20);
    Line(r - 178, h - 30, r - 178, h - 45);
    for (int x : {168, 145, 130, 120}) Line(r - x, h - 5, r - x, h - 45);
    Line(r - 50, h - 5, r - 50, h - 30);
    Line(r - 45, h - 25, r - 45, h - 20);
    Line(r - 40, h - 25, r - 40, h - 20);
    Line(r - 35, h - 30, r - 35, h - 20);
    Line(r - 20, h - 30, r - 20, h - 20);
    if (wide) Line(r - 185, h - 45, r - 185, h - 5);

    if (settings_.customer_approval()) {
      Line(r - 120, h - 67, r, h - 67);
      Line(r - 120, h - 53, r, h - 53);
      Line(r - 120, h - 67, r - 120, h - 45);
      Line(r - 106, h - 67, r - 106, h - 53);
      Line(r - 53, h - 67, r - 53, h - 53);
    }
    ThinPen();
    for (int y : {40, 25, 20, 15, 10}) Line(r - 185, h - y, r - 120, h - y);
    return;
  }
  Line(r - 185, h - 20, r, h - 20);
  Line(r - 185, h - 10, r - 120, h - 10);
  Line(r - 10, h - 13, r, h - 13);
  for (int x : {178, 168, 145, 130, 120, 10}) Line(r - x, h - 20, r - x, h - 5);
  if (wide) Line(r - 185, h - 20, r - 185, h - 5);
  ThinPen();
  Line(r - 185, h - 15, r - 120, h - 15);
}

void SheetPainter::Grid() {
  const int y0 = model::HeaderBottom(kind_, sheet_.section_start());
  const int right = w_ - 5;
  long long y = y0;
  ThinPen();
  const auto rows = sheet_.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    y += rows[i].height();
    if (i + 1 < rows.size()) Line(20, static_cast<double>(y), right, static_cast<double>(y));
  }
  MainPen();
  // Without rows only the header's column lines remain.
  if (!rows.empty()) Line(20, static_cast<double>(y), right, static_cast<double>(y));
  const auto widths = sheet_.column_widths();
  long long x = model::kTableLeft;
  for (std::size_t c = 0; c + 1 < widths.size(); ++c) {
    x += widths[c];
    int top = 5;
    if (kind_ == model::DocumentKind::kPurchasedBill && c >= 6 && c <= 8) top = 14;
    if (kind_ == model::DocumentKind::kSimpleBill && sheet_.section_start()) top = 13;
    Line(static_cast<double>(x), top, static_cast<double>(x), static_cast<double>(y));
  }
}

void SheetPainter::CellTexts() {
  const bool numbered = kind_ == model::DocumentKind::kPurchasedBill;
  for (std::size_t r = 0; r < sheet_.row_count(); ++r) {
    const document::CRow& row = sheet_.row(r);
    for (std::size_t c = 0; c < row.cell_count(); ++c) {
      const document::CCell& cell = row.cell(c);
      if (cell.IsEmpty() && !(numbered && c == 0)) continue;
      const document::CCell shown = ShownCell(kind_, cell, r, c);
      text_.DrawText(shown.rect(), shown.text(), shown.attributes());
    }
  }
}

void SheetPainter::Selection() {
  const document::CCell* cell = view_.CellAtPoint(sheets_, screen_->selection, screen_->scroll);
  if (cell == nullptr) return;
  const Rect& rect = cell->rect();
  const Point a = view_.MapPoint(rect.left, rect.top);
  const Point b = view_.MapPoint(rect.right, rect.bottom);
  device_.FillRect(a.x, a.y, b.x, b.y, kSelection);
  if (cell->IsEmpty()) return;
  const ports::Colour previous = device_.SetTextColour(ports::kWhite);
  text_.DrawText(rect, cell->text(), cell->attributes());
  device_.SetTextColour(previous);
}

}  // namespace

SheetMapping PrintingMapping(const document::SheetSet& sheets, int dpi_x, int dpi_y) {
  SheetMapping m;
  m.scale_x = std::max(1, dpi_x) / kMmPerInch;
  m.scale_y = std::max(1, dpi_y) / kMmPerInch;
  m.page_width = ToDeviceUnits(sheets.sheet_width() * m.scale_x);
  m.page_height = ToDeviceUnits(sheets.sheet_height() * m.scale_y);
  return m;
}

void DrawSheet(const document::SheetSet& sheets, SheetView& view, ports::Device& device, int number,
               ScreenView& screen) {
  if (number < 1 || static_cast<std::size_t>(number) > sheets.sheet_count()) return;
  SheetPainter(sheets, view, device, number, &screen).Draw();
}

void DrawSheet(const document::SheetSet& sheets, SheetView& view, ports::Device& device, int number) {
  if (number < 1 || static_cast<std::size_t>(number) > sheets.sheet_count()) return;
  SheetPainter(sheets, view, device, number, nullptr).Draw();
}

}  // namespace tallyform::presentation
