#include "document/table_rows.h"

#include <algorithm>

#include "archive/archive.h"
#include "model/errors.h"
#include "model/messages.h"
#include "text/literal.h"

namespace tallyform::document {

using namespace tallyform::text::literals;

namespace {

// The least bytes each item can take in a file, for bounding counts by the bytes left.
constexpr std::size_t kMinTagBytes = 2;
constexpr std::size_t kMinCellBytes = kMinTagBytes + 16 + 1 + 3 * 4;
constexpr std::size_t kMinRowBytes = kMinTagBytes + 3 * 4 + 2;
constexpr std::size_t kMinTableBytes =
    kMinTagBytes + 5 * 4 + kTitleFieldCount + 4 + 8 * 8 + 4 + 4 + 1 + 2 * 4 + 2 + 2;

[[noreturn]] void Damaged() {
  throw DamagedFile(std::string(model::kDamagedArchive));
}

void CheckRange(long long value, long long low, long long high) {
  if (value < low || value > high) Damaged();
}

void CheckCoordinate(int value) {
  CheckRange(value, -kMaxGeometry, kMaxGeometry);
}

// A table, row or cell is never stored twice nor left out: the tag must announce a new object.
void ReadNewObjectTag(archive::ArchiveReader& ar, const archive::ClassInfo& cls) {
  if (ar.ReadObjectTag({cls}).kind != archive::ObjectTag::Kind::kNew) Damaged();
}

// clang-format off
constexpr std::array<std::string_view, kTitleFieldCount> kTitleFieldKeys{
    "approved_by", "standards_inspector", "extra_signature_name", "extra_signature_label", "checker",
    "developed_by", "letter1", "letter2", "letter3", "sheet_number", "sheet_count", "enterprise",
    "designation", "product_name", "document_name", "first_use"};
// clang-format on

}  // namespace

std::string_view TitleFieldKey(TitleField field) {
  return kTitleFieldKeys[static_cast<std::size_t>(field)];
}

std::optional<TitleField> TitleFieldOfKey(std::string_view key) {
  for (std::size_t f = 0; f < kTitleFieldCount; ++f) {
    if (kTitleFieldKeys[f] == key) return static_cast<TitleField>(f);
  }
  return std::nullopt;
}

// ---- CCell ----

void CCell::Serialize(archive::ArchiveWriter& ar) const {
  ar.WriteI32(rect_.left);
  ar.WriteI32(rect_.top);
  ar.WriteI32(rect_.right);
  ar.WriteI32(rect_.bottom);
  ar.WriteString(text_);
  ar.WriteU32(attributes_);
  ar.WriteI32(column_);
  ar.WriteI32(row_);
}

void CCell::Deserialize(archive::ArchiveReader& ar) {
  rect_.left = ar.ReadI32();
  rect_.top = ar.ReadI32();
  rect_.right = ar.ReadI32();
  rect_.bottom = ar.ReadI32();
  text_ = ar.ReadString();
  attributes_ = ar.ReadU32();
  column_ = ar.ReadI32();
  row_ = ar.ReadI32();
  for (int v : {rect_.left, rect_.top, rect_.right, rect_.bottom}) CheckCoordinate(v);
  if (rect_.right < rect_.left || rect_.bottom < rect_.top) Damaged();
}

// ---- CRow ----

CRow::CRow(int column_count, int row_index) : column_count_(column_count), row_index_(row_index) {
  cells_.reserve(static_cast<std::size_t>(std::max(column_count, 0)));
}

CCell* CRow::AddCell(int left, int top, int right, int bottom) {
  if (cells_.size() >= static_cast<std::size_t>(std::max(column_count_, 0))) return nullptr;
  cells_.emplace_back(Rect{left, top, right, bottom}, static_cast<int>(cells_.size()), row_index_);
  return &cells_.back();
}

void CRow::Serialize(archive::ArchiveWriter& ar) const {
  ar.WriteI32(height_);
  ar.WriteI32(column_count_);
  ar.WriteI32(row_index_);
  ar.WriteCount(static_cast<std::uint32_t>(cells_.size()));
  for (const CCell& cell : cells_) {
    ar.WriteObjectTag(archive::kCell);
    cell.Serialize(ar);
  }
}

void CRow::Deserialize(archive::ArchiveReader& ar) {
  height_ = ar.ReadI32();
  column_count_ = ar.ReadI32();
  row_index_ = ar.ReadI32();
  CheckRange(height_, 0, kMaxGeometry);
  const std::uint32_t n = ar.ReadCount(kMinCellBytes);
  if (static_cast<long long>(n) != column_count_) Damaged();
  cells_.clear();
  cells_.reserve(n);
  long long width_sum = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    ReadNewObjectTag(ar, archive::kCell);
    CCell& cell = cells_.emplace_back();
    cell.Deserialize(ar);
    // Later code indexes widths and headings by a cell's column and adds up cell widths along a row.
    CheckRange(cell.column(), 0, column_count_ - 1);
    width_sum += cell.Width();
    CheckRange(width_sum, 0, kMaxGeometry);
  }
}

// ---- CTableRows ----

CTableRows::CTableRows() {
  title_[static_cast<std::size_t>(TitleField::kExtraSignatureLabel)] = "Вед.констр."_cp;
}

CTableRows::CTableRows(std::span<const int> widths, int body_height, int top_offset) : CTableRows() {
  widths_.assign(widths.begin(), widths.end());
  column_count_ = static_cast<int>(widths_.size());
  body_height_ = body_height;
  table_top_ = top_offset + model::kTableTopMargin;
  if (body_height_ > 0) rows_.reserve(static_cast<std::size_t>(body_height_ / model::kRowHeight));
  while (AddRow() != nullptr) {
  }
}

CRow* CTableRows::AddRow() {
  if (used_height_ + model::kRowHeight > body_height_) return nullptr;
  const int index = static_cast<int>(rows_.size());
  CRow row(column_count_, index);
  const int top = table_top_ + model::kRowHeight * index;
  int left = table_left_;
  for (int width : widths_) {
    row.AddCell(left, top, left + width, top + model::kRowHeight);
    left += width;
  }
  rows_.push_back(std::move(row));
  used_height_ += rows_.back().height();
  return &rows_.back();
}

void CTableRows::SetBodyHeight(int body_height) {
  body_height_ = body_height;
  while (used_height_ > body_height_ && !rows_.empty()) {
    used_height_ -= rows_.back().height();
    rows_.pop_back();
  }
}

void CTableRows::DeleteAllRows() {
  rows_.clear();
  used_height_ = 0;
}

void CTableRows::ClearTexts() {
  for (CRow& row : rows_) {
    for (CCell& cell : row.cells()) cell.SetText(std::string());
  }
  number_of_products_ = 1;
  section_file_.clear();
  section_start_ = false;
}

void CTableRows::CopySettingsFrom(const CTableRows& other) {
  if (this == &other) return;
  title_ = other.title_;
  customer_approval_ = other.customer_approval_;
  settings_ = other.settings_;
  settings_.document_name_text = other.settings_.table_text;
  number_of_products_ = other.number_of_products_;
  section_file_ = other.section_file_;
  section_start_ = other.section_start_;
  empty_rows_between_groups_ = other.empty_rows_between_groups_;
  empty_rows_at_end_ = other.empty_rows_at_end_;
  const std::size_t rows = std::min(rows_.size(), other.rows_.size());
  for (std::size_t r = 0; r < rows; ++r) {
    // A table of another layout has other columns; only the ones both rows hold are taken.
    const std::size_t columns = std::min(rows_[r].cell_count(), other.rows_[r].cell_count());
    for (std::size_t c = 0; c < columns; ++c) other.rows_[r].cell(c).CopyTo(rows_[r].cell(c));
  }
}

void CTableRows::Serialize(archive::ArchiveWriter& ar) const {
  ar.WriteI32(body_height_);
  ar.WriteI32(used_height_);
  ar.WriteI32(table_top_);
  ar.WriteI32(table_left_);
  ar.WriteI32(column_count_);
  for (const std::string& field : title_) ar.WriteString(field);
  ar.WriteI32(customer_approval_ ? 1 : 0);
  // The designation height precedes the table-cell height in the file.
  ar.WriteDouble(settings_.designation_text);
  ar.WriteDouble(settings_.table_text);
  ar.WriteDouble(settings_.product_name_text);
  ar.WriteDouble(settings_.document_name_text);
  ar.WriteDouble(settings_.enterprise_text);
  ar.WriteDouble(settings_.other_text);
  ar.WriteDouble(settings_.thin_line);
  ar.WriteDouble(settings_.main_line);
  ar.WriteI32(number_of_products_);
  ar.WriteI32(section_start_ ? 1 : 0);
  ar.WriteString(section_file_);
  ar.WriteI32(empty_rows_between_groups_);
  ar.WriteI32(empty_rows_at_end_);
  ar.WriteCount(static_cast<std::uint32_t>(widths_.size()));
  for (int width : widths_) ar.WriteI32(width);
  ar.WriteCount(static_cast<std::uint32_t>(rows_.size()));
  for (const CRow& row : rows_) {
    ar.WriteObjectTag(archive::kRow);
    row.Serialize(ar);
  }
}

void CTableRows::Deserialize(archive::ArchiveReader& ar) {
  CTableRows t;
  t.body_height_ = ar.ReadI32();
  t.used_height_ = ar.ReadI32();
  t.table_top_ = ar.ReadI32();
  t.table_left_ = ar.ReadI32();
  t.column_count_ = ar.ReadI32();
  for (int v : {t.body_height_, t.table_top_, t.table_left_}) CheckCoordinate(v);
  CheckRange(t.used_height_, 0, kMaxGeometry);
  CheckRange(t.column_count_, 0, kMaxGeometry);
  for (std::string& field : t.title_) field = ar.ReadString();
  t.customer_approval_ = ar.ReadI32() != 0;
  t.settings_.designation_text = ar.ReadDouble();
  t.settings_.table_text = ar.ReadDouble();
  t.settings_.product_name_text = ar.ReadDouble();
  t.settings_.document_name_text = ar.ReadDouble();
  t.settings_.enterprise_text = ar.ReadDouble();
  t.settings_.other_text = ar.ReadDouble();
  t.settings_.thin_line = ar.ReadDouble();
  t.settings_.main_line = ar.ReadDouble();
  t.number_of_products_ = ar.ReadI32();
  t.section_start_ = ar.ReadI32() != 0;
  t.section_file_ = ar.ReadString();
  t.empty_rows_between_groups_ = ar.ReadI32();
  t.empty_rows_at_end_ = ar.ReadI32();

  const std::uint32_t width_count = ar.ReadCount(4);
  if (static_cast<long long>(width_count) != t.column_count_) Damaged();
  t.widths_.resize(width_count);
  long long width_sum = 0;
  for (int& width : t.widths_) {
    width = ar.ReadI32();
    CheckRange(width, 0, kMaxGeometry);
    width_sum += width;
  }
  CheckRange(width_sum, 0, kMaxGeometry);

  const std::uint32_t row_count = ar.ReadCount(kMinRowBytes);
  t.rows_.reserve(row_count);
  long long height_sum = 0;
  for (std::uint32_t i = 0; i < row_count; ++i) {
    ReadNewObjectTag(ar, archive::kRow);
    CRow& row = t.rows_.emplace_back();
    row.Deserialize(ar);
    if (row.column_count() != t.column_count_) Damaged();
    height_sum += row.height();
    CheckRange(height_sum, 0, kMaxGeometry);
  }
  *this = std::move(t);
}

// ---- Sheet arrays ----

SheetArray CopySheets(const SheetArray& sheets) {
  SheetArray copy;
  copy.reserve(sheets.size());
  for (const auto& sheet : sheets) copy.push_back(std::make_unique<CTableRows>(*sheet));
  return copy;
}

void WriteSheetTables(archive::ArchiveWriter& ar, const SheetArray& sheets) {
  ar.WriteCount(static_cast<std::uint32_t>(sheets.size()));
  for (const auto& sheet : sheets) {
    ar.WriteObjectTag(archive::kTableRows);
    sheet->Serialize(ar);
  }
}

SheetArray ReadSheetTables(archive::ArchiveReader& ar) {
  const std::uint32_t n = ar.ReadCount(kMinTableBytes);
  SheetArray sheets;
  sheets.reserve(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    ReadNewObjectTag(ar, archive::kTableRows);
    auto sheet = std::make_unique<CTableRows>();
    sheet->Deserialize(ar);
    sheets.push_back(std::move(sheet));
  }
  return sheets;
}

}  // namespace tallyform::document
