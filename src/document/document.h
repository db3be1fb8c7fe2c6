#pragma once
// The document (CElementsListDoc): one design document of one kind, with the element list it is filled
// from and its side data, its sheet set, the mismatch flag, the editor's name and the history of who saved
// it, and its ".enum" file.
//
// The file is one archive without a header, in this order: attribute names, the element list (without
// class tag), kind prefixes, designation map, the sheet tables, the column heading map, role slots 0 to 3,
// the document kind, the number of history records and the records (file, editor, computer, user, time).
//
// Opening reads the whole file into memory and parses it into a fresh document; only a file read
// completely and accepted replaces the document. Saving writes a temporary file beside the target and
// renames it over the target, so a failed save leaves the previous file as it was.
//
// The document tells its listeners (Subscribe) of every change made through its own operations; code that
// changes the sheets directly ends with LayOutSheets, which tells them.

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/document_change.h"
#include "document/fill_parameters.h"
#include "document/sheet_set.h"
#include "document/table_rows.h"
#include "document/undo_ring.h"
#include "elements/list_data.h"
#include "model/document_kind.h"
#include "text/literal.h"

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

class Document {
 public:
  /// A new, empty document of the kind: one empty sheet, no elements, every role slot empty, no editor,
  /// no history, never saved.
  explicit Document(model::DocumentKind kind);

  Document(Document&&);
  Document& operator=(Document&&);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  /// Reads a document file. A missing or unreadable file is tallyform::UnreadableFile naming it; a file
  /// that is damaged, truncated, names an unknown class or schema, or holds impossible values is
  /// tallyform::DamagedFile with kDamagedArchive.
  static Document FromFile(const std::filesystem::path& path);
  /// Parses the bytes of a document file (DamagedFile as FromFile). The document has no path.
  static Document FromBytes(std::string_view bytes);
  /// Replaces this document by the one read from the file and lays its sheets out (LayOutSheets); on any
  /// error this document stays as it was. The listeners stay and are told kReplaced. FromFile and FromBytes
  /// keep the sheets exactly as stored.
  void Open(const std::filesystem::path& path);

  /// The bytes of the document file, with `new_record` stored as the newest history record.
  std::string ToBytes(const HistoryRecord& new_record) const;
  /// The record a save to `path` made now would append: the path made absolute, the document's editor
  /// name, the local time, the computer and the user.
  HistoryRecord MakeRecord(const std::filesystem::path& path, ports::SystemInfo& system) const;
  /// Writes the document to `path` with a new history record (see MakeRecord). On success the record is
  /// appended to the history, `path` becomes the document's path and file name, and the document is no
  /// longer modified (listeners are told kSaved, then kModified if it was). A file that cannot be written is
  /// tallyform::UnreadableFile naming it; then the document and any existing file at `path` are left as they
  /// were.
  void Save(const std::filesystem::path& path, ports::SystemInfo& system);

  model::DocumentKind kind() const { return kind_; }

  /// The sheets. Whoever changes them directly ends with LayOutSheets.
  document::SheetSet& sheets() { return sheets_; }
  const document::SheetSet& sheets() const { return sheets_; }
  /// Brings the sheets' geometry in line with their positions (SheetSet::LayOut) and tells the listeners
  /// kSheets. Run after filling and after every edit of the sheets; opening a file does it too.
  void LayOutSheets();

  /// The earlier and later states of the sheets. An edit pushes the sheets before it changes them.
  UndoRing& undo_ring() { return undo_ring_; }
  const UndoRing& undo_ring() const { return undo_ring_; }
  /// Undo and Redo on the sheets through the ring; a step done marks the document modified and tells the
  /// listeners kSheets. False when there was nothing to do.
  bool Undo();
  bool Redo();
  /// The settings table: the first sheet's table, which holds the title block, heights, widths and fill
  /// parameters of the whole document.
  CTableRows& settings_table() { return sheets_.sheet(0); }
  const CTableRows& settings_table() const { return sheets_.sheet(0); }
  /// The fill parameters of the settings table, brought into range.
  model::FillParameters fill_parameters() const { return FillParametersOf(settings_table(), kind_); }

  /// The element list and its side data. Its heading map is the document's column heading map: it is
  /// what a save stores, and opening a file puts the stored map into it and into the sheet set.
  elements::ListData& data() { return data_; }
  const elements::ListData& data() const { return data_; }
  /// Replaces the element list and its side data (the element list window hands them back this way); the
  /// sheet set's heading map takes the new headings. Listeners are told kListData.
  void SetListData(elements::ListData data);

  /// Set when a fill or an edit found a value off its series.
  bool mismatch() const { return mismatch_; }
  void SetMismatch(bool on) { mismatch_ = on; }

  /// The name entered when last saving, or read from the newest history record; empty for a new document.
  const std::string& editor_name() const { return editor_name_; }
  void SetEditorName(std::string name) { editor_name_ = std::move(name); }

  /// Every save, oldest first.
  const std::vector<HistoryRecord>& history() const { return history_; }

  /// The file name the history carries on (code page 1251): the path last saved to, or after opening the
  /// newest record's file; empty when there is none.
  const std::string& file_name() const { return file_name_; }
  /// Where the document was opened from or last saved to; empty for a document never saved.
  const std::filesystem::path& path() const { return path_; }
  /// The document's name as the window shows it: its file's name, or kNewDocumentTitle (code page 1251).
  std::string Title() const;

  /// Changed since it was opened, created or last saved. Listeners are told kModified when it changes.
  bool modified() const { return modified_; }
  void SetModified(bool on);

  /// The value check of the last fill, with its report; nullptr before the first fill. Not stored in the
  /// file.
  const valuecheck::ValueCheck* value_report() const { return value_report_.get(); }
  valuecheck::ValueCheck* value_report() { return value_report_.get(); }
  void SetValueReport(std::unique_ptr<valuecheck::ValueCheck> report);

  /// Calls `listener` with every change of the document until the subscription ends.
  [[nodiscard]] Subscription Subscribe(ChangeListener listener) {
    return notifier_.Subscribe(std::move(listener));
  }
  /// Tells the listeners of a change made outside the document's own operations (an edit of the title
  /// block, say).
  void Notify(DocumentChange::Kind kind) const { notifier_.Notify(kind); }

 private:
  model::DocumentKind kind_;
  bool mismatch_ = false;
  document::SheetSet sheets_;
  elements::ListData data_;
  std::vector<HistoryRecord> history_;
  std::string editor_name_;
  std::string file_name_;
  std::filesystem::path path_;
  bool modified_ = false;
  UndoRing undo_ring_;
  std::unique_ptr<valuecheck::ValueCheck> value_report_;
  ChangeNotifier notifier_;
};

}  // namespace tallyform::document
