#include "document/document.h"

#include <cstdint>
#include <fstream>
#include <system_error>
#include <utility>

#include "archive/archive.h"
#include "model/errors.h"
#include "model/file_writing.h"
#include "model/messages.h"
#include "model/platform.h"
#include "ports/system_info.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {
namespace {

// A history record holds five strings of at least their length byte each.
constexpr std::size_t kMinRecordBytes = 5;
// Role slots 0 to 3 are stored; the package slot is not.
constexpr std::size_t kStoredRoles = 4;

[[noreturn]] void Damaged() {
  throw DamagedFile(std::string(model::kDamagedArchive));
}

[[noreturn]] void CannotOpen(const std::filesystem::path& path) {
  throw UnreadableFile(model::CannotOpenMessage(path));
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) CannotOpen(path);
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) CannotOpen(path);
  if (size > kMaxDocumentFileBytes) Damaged();
  std::ifstream in(path, std::ios::binary);
  if (!in) CannotOpen(path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) CannotOpen(path);
  // A file that grew while it was read is read only as far as it was when opened; the archive then
  // decides whether what was read is a whole document.
  return bytes;
}

void WriteRecord(archive::ArchiveWriter& ar, const HistoryRecord& record) {
  // The stored order differs from the order of the fields.
  ar.WriteString(record.file);
  ar.WriteString(record.editor);
  ar.WriteString(record.computer);
  ar.WriteString(record.user);
  ar.WriteString(record.time);
}

HistoryRecord ReadRecord(archive::ArchiveReader& ar) {
  HistoryRecord record;
  record.file = ar.ReadString();
  record.editor = ar.ReadString();
  record.computer = ar.ReadString();
  record.user = ar.ReadString();
  record.time = ar.ReadString();
  return record;
}

}  // namespace

std::string FormatHistoryTime(const std::tm& time) {
  char buffer[64];
  const std::size_t n = std::strftime(buffer, sizeof buffer, "%d.%m.%Y %H:%M:%S", &time);
  return std::string(buffer, n);
}

Document::Document(model::DocumentKind kind) : kind_(kind), sheets_(kind) {
  data_.roles = {};
}

Document::Document(Document&&) = default;
Document& Document::operator=(Document&&) = default;
Document::~Document() = default;

Document Document::FromFile(const std::filesystem::path& path) {
  const std::string bytes = ReadWholeFile(path);
  Document document = FromBytes(bytes);
  document.path_ = path;
  return document;
}

Document Document::FromBytes(std::string_view bytes) {
  archive::ArchiveReader ar(bytes);
  elements::ListData data;
  ar.ReadStringList(data.attribute_names);
  data.elements.Deserialize(ar);
  ar.ReadStringList(data.prefixes);
  ar.ReadStringMap(data.designations);
  SheetArray sheets = ReadSheetTables(ar);
  ar.ReadStringMap(data.headings);
  data.roles = {};
  for (std::size_t i = 0; i < kStoredRoles; ++i) data.roles[i] = ar.ReadString();
  const std::optional<model::DocumentKind> kind = model::DocumentKindFromNumber(ar.ReadI32());
  if (!kind) Damaged();
  const std::int32_t record_count = ar.ReadI32();
  if (record_count < 0 || static_cast<std::size_t>(record_count) > ar.remaining() / kMinRecordBytes)
    Damaged();
  std::vector<HistoryRecord> history;
  history.reserve(static_cast<std::size_t>(record_count));
  for (std::int32_t i = 0; i < record_count; ++i) history.push_back(ReadRecord(ar));
  if (ar.remaining() != 0) Damaged();
  if (sheets.empty()) Damaged();  // everything that draws or fills relies on a first sheet
  return Assemble({*kind, std::move(sheets), std::move(data), std::move(history)});
}

Document Document::Assemble(DocumentParts parts) {
  const model::DocumentKind kind = parts.kind;
  Document document(kind);
  if (!parts.sheets.empty()) {
    // Everything that draws or fills a sheet relies on the kind's columns.
    for (const auto& sheet : parts.sheets) {
      if (sheet == nullptr || sheet->column_count() != model::LayoutOf(kind).column_count) Damaged();
      const model::FillParameters parameters = FillParametersOf(*sheet, kind);
      sheet->SetEmptyRowsBetweenGroups(parameters.gap);
      sheet->SetEmptyRowsAtEnd(parameters.tail);
    }
    document.sheets_.ReplaceSheets(std::move(parts.sheets));
  }
  document.data_ = std::move(parts.data);
  document.history_ = std::move(parts.history);
  if (!document.history_.empty()) {
    document.editor_name_ = document.history_.back().editor;
    document.file_name_ = document.history_.back().file;
  }
  return document;
}

std::string Document::ToBytes(const HistoryRecord& new_record) const {
  archive::ArchiveWriter ar;
  ar.WriteStringList(data_.attribute_names);
  data_.elements.Serialize(ar);
  ar.WriteStringList(data_.prefixes);
  ar.WriteStringMap(data_.designations);
  WriteSheetTables(ar, sheets_.sheets());
  ar.WriteStringMap(data_.headings);
  for (std::size_t i = 0; i < kStoredRoles; ++i) ar.WriteString(data_.roles[i]);
  ar.WriteI32(static_cast<std::int32_t>(kind_));
  ar.WriteI32(static_cast<std::int32_t>(history_.size() + 1));
  for (const HistoryRecord& record : history_) WriteRecord(ar, record);
  WriteRecord(ar, new_record);
  return ar.Take();
}

HistoryRecord Document::MakeRecord(const std::filesystem::path& path, ports::SystemInfo& system) const {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  if (ec) full = path;
  HistoryRecord record;
  record.file = model::PathText(full);
  record.editor = editor_name_;
  record.time = FormatHistoryTime(system.LocalTime());
  record.computer = system.ComputerName();
  record.user = system.UserName();
  return record;
}

void Document::Save(const std::filesystem::path& path, ports::SystemInfo& system) {
  HistoryRecord record = MakeRecord(path, system);
  model::WriteFileReplacing(path, ToBytes(record));
  file_name_ = record.file;
  history_.push_back(std::move(record));
  path_ = path;
  modified_ = false;
}

void Document::SetValueReport(std::unique_ptr<valuecheck::ValueCheck> report) {
  value_report_ = std::move(report);
}

std::string Document::Title() const {
  if (path_.empty()) return std::string(kNewDocumentTitle);
  return model::PathText(path_.filename());
}

}  // namespace tallyform::document
