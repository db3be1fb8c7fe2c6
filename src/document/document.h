#pragma once
// The document (CElementsListDoc): one design document of one kind, with the element list it is filled
// from and its side data, its sheet set, the mismatch flag, the editor's name and the history of who saved
// it, and its ".enum" file.
//
// The file is one archive without a header, in this order: attribute names, the element list (without
// class tag), kind prefixes, designation map, the sheet tables, the column heading map, role slots 0 to 3,
// the document kind, the number of history records and the records (file, editor, computer, user, time).
//
// Reading takes the whole file into memory and parses it into a fresh document; only a file read
// completely and accepted becomes a document. Saving writes a temporary file beside the target and renames
// it over the target, so a failed save leaves the previous file as it was.
//
// Everyone reads a document; only its session (app::DocumentSession) changes it, so that every change
// takes the same road: an undo step, the change, the layout, the modified mark and the notification.

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/fill_parameters.h"
#include "document/sheet_set.h"
#include "document/table_rows.h"
#include "elements/list_data.h"
#include "model/document_kind.h"
#include "text/literal.h"

namespace tallyform::app {
class DocumentSession;
}  // namespace tallyform::app
namespace tallyform::ports {
class SystemInfo;
}  // namespace tallyform::ports
namespace tallyform::valuecheck {
class ValueCheck;
}  // namespace tallyform::valuecheck

namespace tallyform::document {

using namespace tallyform::text::literals;

/// One save of the document. Texts are code page 1251.
struct HistoryRecord {
  std::string file;      ///< the full path saved to
  std::string editor;    ///< the editor's name at the time of the save
  std::string time;      ///< local time of the save, "%d.%m.%Y %H:%M:%S"
  std::string computer;  ///< the computer's network name; empty when unknown
  std::string user;      ///< the account that saved; empty when unknown
  friend bool operator==(const HistoryRecord&, const HistoryRecord&) = default;
};

/// The name a document has before it is first saved.
inline constexpr std::string_view kNewDocumentTitle = "Enumeration";
/// The extension of document files.
inline constexpr std::string_view kDocumentExtension = ".enum";
/// The largest document file that is read; anything larger is not one of ours.
inline constexpr std::size_t kMaxDocumentFileBytes = std::size_t{256} << 20;

/// Formats a local time as a history record keeps it: "%d.%m.%Y %H:%M:%S".
std::string FormatHistoryTime(const std::tm& time);

/// What a document is made of, for building one that was not read from a file (tests, generators).
struct DocumentParts {
  model::DocumentKind kind = model::DocumentKind::kElementList;
  /// The sheet tables, first sheet first; each with the kind's columns. Empty: the one empty first sheet.
  SheetArray sheets;
  elements::ListData data;
  std::vector<HistoryRecord> history;
};

class Document {
 public:
  /// A new, empty document of the kind: one empty sheet, no elements, every role slot empty, no editor,
  /// no history, never saved.
  explicit Document(model::DocumentKind kind);
  /// A document of the parts, as if read from a file with that history (its editor and file name are the
  /// newest record's). Sheet tables whose columns are not the kind's are tallyform::DamagedFile.
  static Document Assemble(DocumentParts parts);

  Document(Document&&);
  Document& operator=(Document&&);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  /// Reads a document file, its sheets exactly as stored. A missing or unreadable file is
  /// tallyform::UnreadableFile naming it; a file that is damaged, truncated, names an unknown class or
  /// schema, or holds impossible values is tallyform::DamagedFile with kDamagedArchive.
  static Document FromFile(const std::filesystem::path& path);
  /// Parses the bytes of a document file (DamagedFile as FromFile). The document has no path.
  static Document FromBytes(std::string_view bytes);

  /// The bytes of the document file, with `new_record` stored as the newest history record.
  std::string ToBytes(const HistoryRecord& new_record) const;
  /// The record a save to `path` made now would append: the path made absolute, the document's editor
  /// name, the local time, the computer and the user.
  HistoryRecord MakeRecord(const std::filesystem::path& path, ports::SystemInfo& system) const;

  model::DocumentKind kind() const { return kind_; }

  /// The sheets.
  const document::SheetSet& sheets() const { return sheets_; }
  /// The settings table: the first sheet's table, which holds the title block, heights, widths and fill
  /// parameters of the whole document.
  const CTableRows& settings_table() const { return sheets_.sheet(0); }
  /// The fill parameters of the settings table, brought into range.
  model::FillParameters fill_parameters() const { return FillParametersOf(settings_table(), kind_); }

  /// The element list and its side data. Its heading map is the document's column heading map.
  const elements::ListData& data() const { return data_; }

  /// Set when a fill or an edit found a value off its series.
  bool mismatch() const { return mismatch_; }

  /// The name entered when last saving, or read from the newest history record; empty for a new document.
  const std::string& editor_name() const { return editor_name_; }

  /// Every save, oldest first.
  const std::vector<HistoryRecord>& history() const { return history_; }

  /// The file name the history carries on (code page 1251): the path last saved to, or after opening the
  /// newest record's file; empty when there is none.
  const std::string& file_name() const { return file_name_; }
  /// Where the document was opened from or last saved to; empty for a document never saved.
  const std::filesystem::path& path() const { return path_; }
  /// The document's name as the window shows it: its file's name, or kNewDocumentTitle (code page 1251).
  std::string Title() const;

  /// Changed since it was opened, created or last saved.
  bool modified() const { return modified_; }

  /// The value check of the last fill, with its report; nullptr before the first fill. Not stored in the
  /// file.
  const valuecheck::ValueCheck* value_report() const { return value_report_.get(); }

 private:
  friend class app::DocumentSession;

  document::SheetSet& mutable_sheets() { return sheets_; }
  CTableRows& mutable_settings_table() { return sheets_.sheet(0); }
  /// Brings the sheets' geometry in line with their positions (SheetSet::LayOut).
  void LayOutSheets() { sheets_.LayOut(); }
  void SetListData(elements::ListData data) { data_ = std::move(data); }
  void SetMismatch(bool on) { mismatch_ = on; }
  void SetEditorName(std::string name) { editor_name_ = std::move(name); }
  void SetModified(bool on) { modified_ = on; }
  void SetValueReport(std::unique_ptr<valuecheck::ValueCheck> report);
  /// Writes the document to `path` with a new history record (see MakeRecord). On success the record is
  /// appended to the history, `path` becomes the document's path and file name, and the document is no
  /// longer modified. A file that cannot be written is tallyform::UnreadableFile naming it; then the
  /// document and any existing file at `path` are left as they were.
  void Save(const std::filesystem::path& path, ports::SystemInfo& system);

  model::DocumentKind kind_;
  bool mismatch_ = false;
  document::SheetSet sheets_;
  elements::ListData data_;
  std::vector<HistoryRecord> history_;
  std::string editor_name_;
  std::string file_name_;
  std::filesystem::path path_;
  bool modified_ = false;
  std::unique_ptr<valuecheck::ValueCheck> value_report_;
};

}  // namespace tallyform::document
