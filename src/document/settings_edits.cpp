#include "document/settings_edits.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "document/sheet_set.h"
#include "model/errors.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

// The column of the quantities in a simple bill ("Кол.").
constexpr std::size_t kQuantityColumn = 3;

// The fields the title block dialog edits besides the two sheet fields; the document name is the fill's.
constexpr std::array kDialogFields = {
    TitleField::kDevelopedBy,
    TitleField::kCheckedBy,
    TitleField::kExtraSignatureLabel,
    TitleField::kExtraSignatureName,
    TitleField::kInspector,
    TitleField::kApprovedBy,
    TitleField::kDesignation,
    TitleField::kProductName,
    TitleField::kFirstUse,
    TitleField::kLetter1,
    TitleField::kLetter2,
    TitleField::kLetter3,
    TitleField::kEnterprise,
};

std::string& Field(std::array<std::string, kTitleFieldCount>& fields, TitleField field) {
  return fields[static_cast<std::size_t>(field)];
}

// Refuses a value outside [low, high], naming it by its dialog label (code page 1251).
void CheckRange(double value, double low, double high, std::string_view label) {
  if (value >= low && value <= high) return;  // not a number fails both
  std::string message(label);
  message.append(": ").append(text::FormatG(value)).append(" мм. Допустимы значения от "_cp);
  message.append(text::FormatG(low)).append(" до "_cp).append(text::FormatG(high)).append(" мм."_cp);
  throw BadUsage(std::move(message));
}

void CheckTitleTextHeights(const TitleTextHeights& heights) {
  CheckRange(heights.designation, kMinTextHeight, kMaxTextHeight, "Высота текста «Обозначение документа»"_cp);
  CheckRange(heights.product_name, kMinTextHeight, kMaxTextHeight, "Высота текста «Наименование изделия»"_cp);
  CheckRange(heights.enterprise, kMinTextHeight, kMaxTextHeight, "Высота текста «Индекс предприятия»"_cp);
  CheckRange(heights.other, kMinTextHeight, kMaxTextHeight, "Высота текста других ячеек"_cp);
}

// q / before × products in 64 bits, saturating where the product leaves them.
std::int64_t Rescale(std::int64_t quantity, int before, int products) {
  const std::int64_t whole = quantity / before;
  std::int64_t scaled = 0;
  if (__builtin_mul_overflow(whole, static_cast<std::int64_t>(products), &scaled)) {
    return whole < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
  }
  return scaled;
}

}  // namespace

TitleTextHeights TitleTextHeightsOf(const CTableRows& settings) {
  const DrawingSettings& s = settings.settings();
  return {s.designation_text, s.product_name_text, s.enterprise_text, s.other_text};
}

TextHeights TextHeightsOf(const CTableRows& settings) {
  return {TitleTextHeightsOf(settings), settings.settings().table_text};
}

LineWidths LineWidthsOf(const CTableRows& settings) {
  return {settings.settings().main_line, settings.settings().thin_line};
}

void SetTitleTextHeights(CTableRows& settings, const TitleTextHeights& heights) {
  CheckTitleTextHeights(heights);
  DrawingSettings& s = settings.settings();
  s.designation_text = heights.designation;
  s.product_name_text = heights.product_name;
  s.enterprise_text = heights.enterprise;
  s.other_text = heights.other;
}

void SetTextHeights(CTableRows& settings, const TextHeights& heights) {
  CheckRange(heights.table, kMinTextHeight, kMaxTextHeight, "Высота текста ячеек таблицы"_cp);
  SetTitleTextHeights(settings, heights.title);
  settings.settings().table_text = heights.table;
}

void SetLineWidths(CTableRows& settings, const LineWidths& widths) {
  CheckRange(widths.main, kMinLineWidth, kMaxLineWidth, "Толщина основных линий"_cp);
  CheckRange(widths.thin, kMinLineWidth, kMaxLineWidth, "Толщина вспомогательных линий"_cp);
  settings.settings().main_line = widths.main;
  settings.settings().thin_line = widths.thin;
}

TitleBlockForm TitleBlockForm::Open(const CTableRows& settings, int current_sheet, std::size_t sheet_count) {
  TitleBlockForm form;
  for (std::size_t i = 0; i < kTitleFieldCount; ++i) {
    form.fields[i] = settings.title_field(static_cast<TitleField>(i));
  }
  Field(form.fields, TitleField::kSheetNumber) =
      sheet_count > 1 ? text::FormatD(current_sheet) : std::string();
  Field(form.fields, TitleField::kSheetCount) = text::FormatD(static_cast<long long>(sheet_count));
  form.customer_approval = settings.customer_approval();
  form.heights = TitleTextHeightsOf(settings);
  return form;
}

TitleFieldValues TitleBlockForm::FieldsToStore(std::size_t sheet_count) const {
  TitleFieldValues values;
  for (TitleField field : kDialogFields) values.emplace_back(field, fields[static_cast<std::size_t>(field)]);
  if (change_sheet_fields) {
    values.emplace_back(TitleField::kSheetCount, fields[static_cast<std::size_t>(TitleField::kSheetCount)]);
    if (sheet_count > 1) {
      values.emplace_back(TitleField::kSheetNumber,
                          fields[static_cast<std::size_t>(TitleField::kSheetNumber)]);
    }
  }
  return values;
}

bool CanSetNumberOfProducts(const SheetSet& sheets, std::size_t sheet) {
  return sheets.kind() == model::DocumentKind::kSimpleBill && sheet < sheets.sheet_count() &&
         sheets.sheet(sheet).section_start() && sheets.sheet(sheet).number_of_products() != 0;
}

std::pair<std::size_t, std::size_t> SectionSheets(const SheetSet& sheets, std::size_t sheet) {
  std::size_t last = sheet;
  while (last + 1 < sheets.sheet_count() && !sheets.sheet(last + 1).section_start()) ++last;
  return {sheet, last};
}

void SetNumberOfProducts(SheetSet& sheets, std::size_t sheet, int products) {
  if (products < 0) {
    throw BadUsage(std::string("Количество изделий не может быть отрицательным: "_cp) +
                   text::FormatD(products) + ".");
  }
  if (!CanSetNumberOfProducts(sheets, sheet) || sheets.sheet(sheet).number_of_products() < 1) {
    throw BadUsage(
        std::string("Количество изделий можно задать только на листе, которым начинается раздел "
                    "простой ведомости с изделиями."_cp));
  }
  const int before = sheets.sheet(sheet).number_of_products();
  const auto [first, last] = SectionSheets(sheets, sheet);
  for (std::size_t s = first; s <= last; ++s) {
    CTableRows& table = sheets.sheet(s);
    if (static_cast<std::size_t>(table.column_count()) <= kQuantityColumn) continue;
    for (CRow& row : table.rows()) {
      CCell& cell = row.cell(kQuantityColumn);
      if (cell.IsEmpty()) continue;
      cell.SetText(text::FormatD(Rescale(text::Atoll(cell.text()), before, products)));
    }
  }
  sheets.sheet(sheet).SetNumberOfProducts(products);
}

}  // namespace tallyform::document
