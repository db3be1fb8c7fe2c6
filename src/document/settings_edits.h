#pragma once
// The document settings the settings table keeps and the title block, font size, line width and number of
// products dialogs edit: what each dialog shows when it opens and what its OK writes. Texts are code page
// 1251; heights and widths are mm.

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "document/table_rows.h"

namespace tallyform::document {

class SheetSet;

/// The heights of the title block's texts that both the title block and the font size dialogs edit.
struct TitleTextHeights {
  double designation = 5.0;   ///< "Обозначение документа"
  double product_name = 5.0;  ///< "Наименование изделия"
  double enterprise = 5.0;    ///< "Индекс предприятия"
  double other = 3.0;         ///< the other title block cells
  friend bool operator==(const TitleTextHeights&, const TitleTextHeights&) = default;
};

/// The five heights of the font size dialog ("Размеры шрифта").
struct TextHeights {
  TitleTextHeights title;
  double table = 4.0;  ///< the table cells
  friend bool operator==(const TextHeights&, const TextHeights&) = default;
};

/// The two widths of the line width dialog ("Толщина линий").
struct LineWidths {
  double main = 0.5;
  double thin = 0.2;
  friend bool operator==(const LineWidths&, const LineWidths&) = default;
};

/// The text heights the settings accept, mm: from below the smallest lettering size of drawings (1.8 mm) to
/// the largest (40 mm). A height of 0, which a text that is no number reads as, is refused too.
inline constexpr double kMinTextHeight = 1.0;
inline constexpr double kMaxTextHeight = 40.0;
/// The line widths the settings accept, mm: 0 draws the thinnest line the device can; 2 mm is beyond the
/// thickest line of drawings (1.4 mm).
inline constexpr double kMinLineWidth = 0.0;
inline constexpr double kMaxLineWidth = 2.0;

TitleTextHeights TitleTextHeightsOf(const CTableRows& settings);
TextHeights TextHeightsOf(const CTableRows& settings);
LineWidths LineWidthsOf(const CTableRows& settings);
/// Store the heights or widths into the settings table. A value outside its range (kMinTextHeight to
/// kMaxTextHeight, kMinLineWidth to kMaxLineWidth; not a number included) is tallyform::BadUsage naming the
/// value, its dialog label and the range, and nothing is stored.
void SetTitleTextHeights(CTableRows& settings, const TitleTextHeights& heights);
void SetTextHeights(CTableRows& settings, const TextHeights& heights);
void SetLineWidths(CTableRows& settings, const LineWidths& widths);

/// Title block fields to store, each with its text.
using TitleFieldValues = std::vector<std::pair<TitleField, std::string>>;

/// The title block dialog ("Поля основной надписи документа") between opening and OK.
struct TitleBlockForm {
  std::array<std::string, kTitleFieldCount> fields;
  bool customer_approval = false;
  TitleTextHeights heights;
  /// "Изменить": the two sheet fields are stored only while it is ticked.
  bool change_sheet_fields = false;

  /// What the dialog shows for the sheet shown (1-based) of a document of `sheet_count` sheets: the stored
  /// settings, except "Лист:", which shows the sheet shown when there is more than one sheet and nothing
  /// otherwise, and "Листов:", which shows the number of sheets. "Изменить" is not ticked.
  static TitleBlockForm Open(const CTableRows& settings, int current_sheet, std::size_t sheet_count);

  /// The fields OK stores: every field but the two sheet fields; with "Изменить" ticked also the sheet
  /// count text, and the sheet number text when the document has more than one sheet.
  TitleFieldValues FieldsToStore(std::size_t sheet_count) const;
};

/// The number of products command is possible on the sheet (0-based): a simple bill whose sheet starts a
/// section with a number of products other than 0.
bool CanSetNumberOfProducts(const SheetSet& sheets, std::size_t sheet);
/// The sheets of the section that starts on `sheet`: from it up to, not including, the next sheet that
/// starts a section (or the end). 0-based, inclusive.
std::pair<std::size_t, std::size_t> SectionSheets(const SheetSet& sheets, std::size_t sheet);
/// The number of products dialog's OK on the section that starts on `sheet`: with o the section's number
/// of products before and n the new one, every non-empty quantity q of the section's sheets becomes
/// n × (q / o) (q read as an integer, q / o dropping the remainder), and the section's number becomes n.
/// Quantities are read and rescaled in 64 bits; a product beyond that range saturates. A negative n,
/// anywhere else than on a sheet CanSetNumberOfProducts allows, and on a section whose number is below 1
/// (which cannot be rescaled), tallyform::BadUsage, and nothing changes.
void SetNumberOfProducts(SheetSet& sheets, std::size_t sheet, int products);

}  // namespace tallyform::document
