#pragma once
// The sheet table: the grid of fixed-height rows of one sheet (CTableRows of CRow of CCell), with the
// geometry that places it on the sheet and the document settings the first sheet's table carries.
//
// Geometry is whole millimetres from the sheet's top-left corner, y downwards; a rectangle's right and
// bottom edges are exclusive and shared with its neighbours. Texts are code page 1251.
//
// Rows and cells are held by value: a pointer or reference to a row or a cell stays valid until a row is
// added to or removed from its table (cells never move once their row is complete).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/document_kind.h"

namespace tallyform::archive {
class ArchiveReader;
class ArchiveWriter;
}  // namespace tallyform::archive

namespace tallyform::document {

static_assert(sizeof(int) == 4, "the file stores geometry as 32-bit integers");

// The text attribute word of a cell.
inline constexpr std::uint32_t kAlignmentMask = 0x3;
inline constexpr std::uint32_t kAlignLeft = 0;
inline constexpr std::uint32_t kAlignCentre = 1;
inline constexpr std::uint32_t kAlignRight = 2;
/// The text holds a line break (carriage return, line feed).
inline constexpr std::uint32_t kMultiLine = 0x10;
/// The text is drawn turned by 90 degrees.
inline constexpr std::uint32_t kVertical = 0x80000;
inline constexpr std::uint32_t kUnderline = 0x100000;
/// Set on every cell written by filling or editing.
inline constexpr std::uint32_t kTableText = 0x200000;
// The three words the fills write.
inline constexpr std::uint32_t kFillLeft = kTableText;
inline constexpr std::uint32_t kFillCentred = kTableText | kAlignCentre;
inline constexpr std::uint32_t kFillHeading = kTableText | kUnderline | kAlignCentre;

/// The horizontal alignment a word asks for: centred when bit 0 is set, otherwise left (0) or right (2).
constexpr std::uint32_t AlignmentOf(std::uint32_t word) {
  return (word & 1u) != 0 ? kAlignCentre : word & 2u;
}
/// The word with its alignment replaced; every other bit stays.
constexpr std::uint32_t WithAlignment(std::uint32_t word, std::uint32_t alignment) {
  return (word & ~kAlignmentMask) | (alignment & kAlignmentMask);
}

/// The largest magnitude a stored coordinate, width or height may have, mm; a stored table beyond it is
/// damaged. Far beyond any sheet, small enough that sums of a table's widths and heights stay exact in int.
inline constexpr int kMaxGeometry = 100000;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

/// One cell of a sheet table.
class CCell {
 public:
  CCell() = default;
  CCell(const Rect& rect, int column, int row) : rect_(rect), column_(column), row_(row) {}

  const std::string& text() const { return text_; }
  void SetText(std::string_view text) { text_ = std::string(text); }
  void SetText(std::string&& text) { text_ = std::move(text); }
  void SetText(const char* text) { text_ = std::string(text); }
  /// True when the text is empty (white space is text).
  bool IsEmpty() const { return text_.empty(); }

  const Rect& rect() const { return rect_; }
  int Width() const { return rect_.right - rect_.left; }

  std::uint32_t attributes() const { return attributes_; }
  void SetAttributes(std::uint32_t word) { attributes_ = word; }
  std::uint32_t Alignment() const { return AlignmentOf(attributes_); }
  bool IsUnderlined() const { return (attributes_ & kUnderline) != 0; }

  /// 0-based column of the cell.
  int column() const { return column_; }
  /// 0-based index of the row the cell was made in.
  int row() const { return row_; }

  /// Copies everything (rectangle, text, attribute word, column and row index) into `target`.
  void CopyTo(CCell& target) const { target = *this; }

  /// Writes the cell's data (without its class tag).
  void Serialize(archive::ArchiveWriter& ar) const;
  /// Reads what Serialize writes; a rectangle out of range or turned inside out is DamagedFile.
  void Deserialize(archive::ArchiveReader& ar);

  friend bool operator==(const CCell&, const CCell&) = default;

 private:
  std::string text_;
  Rect rect_;
  std::uint32_t attributes_ = 0;
  int column_ = 0;
  int row_ = 0;
};

/// One row of a sheet table: its cells, left to right.
class CRow {
 public:
  CRow() = default;
  CRow(int column_count, int row_index);

  /// Appends a cell with the rectangle, empty text and attribute word 0, whose column is the current cell
  /// count and whose row index is the row's; nullptr (and nothing added) when the row is complete.
  CCell* AddCell(int left, int top, int right, int bottom);

  std::size_t cell_count() const { return cells_.size(); }
  CCell& cell(std::size_t i) { return cells_[i]; }
  const CCell& cell(std::size_t i) const { return cells_[i]; }
  std::span<CCell> cells() { return cells_; }
  std::span<const CCell> cells() const { return cells_; }

  int height() const { return height_; }
  /// The number of cells the row holds when complete.
  int column_count() const { return column_count_; }
  /// The row's position in its table when it was made.
  int row_index() const { return row_index_; }

  /// Writes the row's data and its cells as objects (without the row's own class tag).
  void Serialize(archive::ArchiveWriter& ar) const;
  /// Reads what Serialize writes. A row whose cell count differs from its column count, or whose
  /// geometry is out of range, is DamagedFile.
  void Deserialize(archive::ArchiveReader& ar);

  friend bool operator==(const CRow&, const CRow&) = default;

 private:
  int height_ = model::kRowHeight;
  std::vector<CCell> cells_;
  int column_count_ = 0;
  int row_index_ = 0;
};

/// The sixteen title block fields, in the order the table keeps and stores them.
enum class TitleField {
  kApprovedBy,           ///< "Утвердил"
  kInspector,            ///< "Нормо-контроллер"
  kExtraSignatureName,   ///< name in the extra signature row
  kExtraSignatureLabel,  ///< label of the extra signature row
  kCheckedBy,            ///< "Проверил"
  kDevelopedBy,          ///< "Разработал"
  kLetter1,
  kLetter2,
  kLetter3,
  kSheetNumber,  ///< "Лист"
  kSheetCount,   ///< "Листов"
  kEnterprise,   ///< enterprise name or index
  kDesignation,  ///< document designation
  kProductName,
  kDocumentName,
  kFirstUse,  ///< "Первичное применение"
};
inline constexpr std::size_t kTitleFieldCount = 16;

/// A stable ASCII key per field ("approved_by", ...), for dumps and scripts.
std::string_view TitleFieldKey(TitleField field);
/// The field of a key TitleFieldKey gives, or nothing.
std::optional<TitleField> TitleFieldOfKey(std::string_view key);

/// Text heights and line widths, mm, in the order the table keeps them.
struct DrawingSettings {
  double table_text = 4.0;          ///< the table cells
  double designation_text = 5.0;    ///< document designation in the title block
  double product_name_text = 5.0;   ///< product name in the title block
  double document_name_text = 4.0;  ///< document name in the title block
  double enterprise_text = 5.0;     ///< enterprise index in the title block
  double other_text = 3.0;          ///< the other title block cells
  double thin_line = 0.2;
  double main_line = 0.5;
  friend bool operator==(const DrawingSettings&, const DrawingSettings&) = default;
};

/// The sheet table of one sheet.
class CTableRows {
 public:
  /// An empty table with default settings and no columns, as a file reader starts from.
  CTableRows();
  /// A table with the column widths, body height and top offset (table top = offset + 5, left 20),
  /// filled with as many empty rows as the body height holds.
  CTableRows(std::span<const int> widths, int body_height, int top_offset);

  /// Appends an empty row with one cell per column; nullptr (nothing added) when another row does not fit
  /// the body height. std::bad_alloc leaves the table as it was.
  CRow* AddRow();
  /// Stores the body height and removes rows from the end until the used height fits it; adds none.
  void SetBodyHeight(int body_height);
  void DeleteAllRows();
  /// Empties every cell's text (attributes stay) and resets the section: one product, no section file,
  /// no section start.
  void ClearTexts();
  /// Takes over the other table's settings (title block, approval, heights and widths, products, section,
  /// fill parameters) and the cells of the rows and columns both tables have. The document name height
  /// takes the other table's table-cell height.
  void CopySettingsFrom(const CTableRows& other);

  std::size_t row_count() const { return rows_.size(); }
  CRow& row(std::size_t i) { return rows_[i]; }
  const CRow& row(std::size_t i) const { return rows_[i]; }
  std::span<CRow> rows() { return rows_; }
  std::span<const CRow> rows() const { return rows_; }
  /// The cell at a row and column; both must exist.
  CCell& cell(std::size_t row, std::size_t column) { return rows_[row].cell(column); }
  const CCell& cell(std::size_t row, std::size_t column) const { return rows_[row].cell(column); }

  int column_count() const { return column_count_; }
  std::span<const int> column_widths() const { return widths_; }
  int body_height() const { return body_height_; }
  int used_height() const { return used_height_; }
  int table_top() const { return table_top_; }
  int table_left() const { return table_left_; }
  int top_offset() const { return table_top_ - model::kTableTopMargin; }

  const std::string& title_field(TitleField field) const { return title_[static_cast<std::size_t>(field)]; }
  void SetTitleField(TitleField field, std::string_view value) {
    title_[static_cast<std::size_t>(field)] = std::string(value);
  }
  bool customer_approval() const { return customer_approval_; }
  void SetCustomerApproval(bool on) { customer_approval_ = on; }
  int number_of_products() const { return number_of_products_; }
  void SetNumberOfProducts(int n) { number_of_products_ = n; }
  DrawingSettings& settings() { return settings_; }
  const DrawingSettings& settings() const { return settings_; }
  const std::string& section_file() const { return section_file_; }
  void SetSectionFile(std::string_view path) { section_file_ = std::string(path); }
  bool section_start() const { return section_start_; }
  void SetSectionStart(bool on) { section_start_ = on; }
  int empty_rows_between_groups() const { return empty_rows_between_groups_; }
  void SetEmptyRowsBetweenGroups(int n) { empty_rows_between_groups_ = n; }
  int empty_rows_at_end() const { return empty_rows_at_end_; }
  void SetEmptyRowsAtEnd(int n) { empty_rows_at_end_ = n; }

  /// Writes the table's data and its rows as objects (without the table's own class tag).
  void Serialize(archive::ArchiveWriter& ar) const;
  /// Replaces this table by the one read. A table whose widths, rows and cells do not agree in number, or
  /// whose geometry is out of range, is DamagedFile and leaves this table as it was.
  void Deserialize(archive::ArchiveReader& ar);

  friend bool operator==(const CTableRows&, const CTableRows&) = default;

 private:
  std::array<std::string, kTitleFieldCount> title_;
  bool customer_approval_ = false;
  int number_of_products_ = 1;
  DrawingSettings settings_;
  std::string section_file_;
  bool section_start_ = false;
  int empty_rows_between_groups_ = 3;
  int empty_rows_at_end_ = 1;
  int body_height_ = 0;
  int used_height_ = 0;
  int table_top_ = model::kTableTopMargin;
  int table_left_ = model::kTableLeft;
  int column_count_ = 0;
  std::vector<CRow> rows_;
  std::vector<int> widths_;
};

/// The sheet tables of a document, first sheet first.
using SheetArray = std::vector<std::unique_ptr<CTableRows>>;

/// A deep copy of every table, row and cell.
SheetArray CopySheets(const SheetArray& sheets);
/// Writes the tables as an array of CTableRows objects.
void WriteSheetTables(archive::ArchiveWriter& ar, const SheetArray& sheets);
/// Reads an array of CTableRows objects; a null or repeated object, or a damaged table, is DamagedFile.
SheetArray ReadSheetTables(archive::ArchiveReader& ar);

}  // namespace tallyform::document
