#include "document/document.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

#include "archive/archive.h"
#include "model/errors.h"
#include "model/messages.h"
#include "ports/system_info.h"
#include "text/cp1251.h"
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

std::string PathText(const std::filesystem::path& path) {
  return text::Cp1251FromUnknown(path.string());
}

[[noreturn]] void CannotOpen(const std::filesystem::path& path) {
  throw UnreadableFile(std::string("Не удалось открыть файл "_cp) + PathText(path) + ".");
}

[[noreturn]] void CannotSave(const std::filesystem::path& path) {
  throw UnreadableFile(std::string("Не удалось сохранить файл "_cp) + PathText(path) + ".");
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

// A name beside the target that no other save uses at the same time. The target's name is cut so that the
// temporary name stays within the file system's limit whenever the target's own name does.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = target.filename().string().substr(0, 200);
  std::random_device random;
  std::string suffix = ".tmp";
  for (int i = 0; i < 2; ++i) {
    std::uint32_t r = random();
    for (int k = 0; k < 8; ++k, r >>= 4) suffix.push_back(kHex[r & 0xf]);
  }
  return target.parent_path() / ("." + name + suffix);
}

// A link is followed, so that saving through it replaces the file it names rather than the link itself.
std::filesystem::path ResolveLink(const std::filesystem::path& target) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(target, ec)) return target;
  std::filesystem::path resolved = std::filesystem::canonical(target, ec);
  return ec ? target : resolved;
}

void WriteFileReplacing(const std::filesystem::path& requested, std::string_view bytes) {
  const std::filesystem::path target = ResolveLink(requested);
  const std::filesystem::path temporary = TemporaryPathFor(target);
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();
    }
    if (!out) {
      std::filesystem::remove(temporary, ec);
      CannotSave(requested);
    }
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    CannotSave(requested);
  }
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

  // Everything that draws or fills a sheet relies on the kind's columns and on a first sheet.
  if (sheets.empty()) Damaged();
  for (const auto& sheet : sheets) {
    if (sheet->column_count() != model::LayoutOf(*kind).column_count) Damaged();
    const model::FillParameters parameters = FillParametersOf(*sheet, *kind);
    sheet->SetEmptyRowsBetweenGroups(parameters.gap);
    sheet->SetEmptyRowsAtEnd(parameters.tail);
  }

  Document document(*kind);
  document.sheets_.ReplaceSheets(std::move(sheets));
  for (const auto& [name, heading] : data.headings) document.sheets_.column_headings()[name] = heading;
  document.data_ = std::move(data);
  document.history_ = std::move(history);
  if (!document.history_.empty()) {
    document.editor_name_ = document.history_.back().editor;
    document.file_name_ = document.history_.back().file;
  }
  return document;
}

void Document::Open(const std::filesystem::path& path) {
  Document read = FromFile(path);
  ChangeNotifier listeners = std::move(notifier_);
  *this = std::move(read);
  notifier_ = std::move(listeners);
  sheets_.LayOut();
  notifier_.Notify(DocumentChange::Kind::kReplaced);
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
  record.file = PathText(full);
  record.editor = editor_name_;
  record.time = FormatHistoryTime(system.LocalTime());
  record.computer = system.ComputerName();
  record.user = system.UserName();
  return record;
}

void Document::Save(const std::filesystem::path& path, ports::SystemInfo& system) {
  HistoryRecord record = MakeRecord(path, system);
  WriteFileReplacing(path, ToBytes(record));
  file_name_ = record.file;
  history_.push_back(std::move(record));
  path_ = path;
  notifier_.Notify(DocumentChange::Kind::kSaved);
  SetModified(false);
}

void Document::SetModified(bool on) {
  if (modified_ == on) return;
  modified_ = on;
  notifier_.Notify(DocumentChange::Kind::kModified);
}

void Document::LayOutSheets() {
  sheets_.LayOut();
  notifier_.Notify(DocumentChange::Kind::kSheets);
}

bool Document::Undo() {
  if (!undo_ring_.Undo(sheets_)) return false;
  SetModified(true);
  LayOutSheets();
  return true;
}

bool Document::Redo() {
  if (!undo_ring_.Redo(sheets_)) return false;
  SetModified(true);
  LayOutSheets();
  return true;
}

void Document::SetValueReport(std::unique_ptr<valuecheck::ValueCheck> report) {
  value_report_ = std::move(report);
}

void Document::SetListData(elements::ListData data) {
  data_ = std::move(data);
  sheets_.column_headings() = data_.headings;
  notifier_.Notify(DocumentChange::Kind::kListData);
}

std::string Document::Title() const {
  if (path_.empty()) return std::string(kNewDocumentTitle);
  return PathText(path_.filename());
}

}  // namespace tallyform::document
