#pragma once
// The whole road of a document, shared by every front end: take the element list (read from designs, or a
// saved document's own), set the designations, roles, joins and column mapping, sort, fill the sheets and
// save. Every fill takes one sequence, PrepareFill, and hands its result to the document's session as one
// command. Nothing is asked halfway except through the dialogs the road has (the roles, the column mapping
// and the sort choice); what the user must hear afterwards (values off their series, designs cut off)
// comes back in the outcome, and the front end says it in its own way.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/document_session.h"
#include "document/settings_edits.h"
#include "elements/roles.h"
#include "model/document_kind.h"

namespace tallyform::ports {
class Prompts;
class SettingsStore;
class SystemInfo;
class TextMeasurer;
}  // namespace tallyform::ports

namespace tallyform::app {

class Application;

/// What to fill. Texts are code page 1251; paths are native.
struct FillRequest {
  /// The kind of a new document; with `from`, when given, it must be the saved document's kind.
  std::optional<model::DocumentKind> kind;
  /// A saved document to fill again, keeping its title block, settings and history; empty for a new one.
  std::filesystem::path from;
  /// Designs read into one list in this order; they replace the list of `from`. Empty: `from`'s own list.
  std::vector<std::filesystem::path> designs;
  /// The attributes of the roles designator, name, value and (optionally, may be empty) supply document.
  std::optional<std::vector<std::string>> roles;
  /// Attribute to column heading; when given they replace the headings (other attributes get no column).
  std::vector<std::pair<std::string, std::string>> headings;
  /// A design's file to the designation of the unit its elements go into.
  std::vector<std::pair<std::filesystem::path, std::string>> designations;
  /// Joins attributes into one before filling; the joined values stay in the list.
  std::optional<elements::JoinSpec> join;
  std::optional<int> gap;
  std::optional<int> tail;
  /// Simple bill: the elements of all designs in one list instead of a section per design.
  bool merge = false;
  /// Title block fields of the first sheet, set after the fill (one more undoable step).
  document::TitleFieldValues titles;
  /// The editor of the history record; without it the name the editor dialog would propose, stored nowhere.
  std::optional<std::string> editor;
  /// Where the document is saved; empty leaves it unsaved.
  std::filesystem::path output;
};

/// The ports a fill works with.
struct FillPorts {
  const ports::TextMeasurer& measurer;
  /// The roles dialog's warnings and the sort choice.
  ports::Prompts& prompts;
  ports::SettingsStore& settings;
  ports::SystemInfo& system;
};

struct FillOutcome {
  /// The filled document, in its session.
  DocumentSession session;
  /// A value was off its series while reading or filling; the report file names it.
  bool mismatch = false;
  /// The value-check report file; nullopt when it could not be written (a warning says so).
  std::optional<std::filesystem::path> report;
  /// Warnings for the user (code page 1251), such as designs cut off inside a component block or a report
  /// file that could not be written.
  std::vector<std::string> warnings;
};

/// The message of a fill whose designs hold no elements (only components with number designators, or none).
std::string NoElementsMessage();

/// How a caller answers the two dialogs of the fill action.
struct FillDialogs {
  /// The attribute roles dialog, shown when the list lacks the attribute of a role
  /// (elements::RolesIncomplete). Accepting it sets the roles into the data (elements::AcceptRoles, which
  /// sorts again and sets `sorted` then); cancelling it changes nothing. False stops the fill.
  std::function<bool(elements::ListData& data, elements::MergeChoice& merge, bool& sorted)> roles;
  /// The column mapping dialog over the proposed mapping: the mapping accepted, or nullopt, which stops the
  /// fill.
  std::function<std::optional<elements::ColumnMapping>(elements::ColumnMapping proposed)> mapping;
};

/// The fill action, the one sequence every fill of every front end takes, on the caller's list: an empty list
/// stops it; the roles dialog when the list lacks the attribute of a role; the column mapping dialog, whose
/// mapping becomes the heading map and `parameters` (tallyform::BadUsage when it names what the kind lacks);
/// the sort choice of a simple bill of several files (through `prompts`, into `merge`); and the order of
/// the kind when the list has not been `sorted` since it was read. What the dialogs change stays in the
/// caller's data, whether or not the fill goes on. True when the list is ready to hand over
/// (FillHandOver); false when it was empty or a dialog stopped the fill.
bool PrepareFill(model::DocumentKind kind, elements::ListData& data, model::FillParameters& parameters,
                 bool& sorted, elements::MergeChoice& merge, const FillDialogs& dialogs,
                 ports::Prompts& prompts);

/// The document's fill tools: the measurer, the application's kinds and series, and its report file.
document::FillTools FillToolsOf(const Application& application, const ports::TextMeasurer& measurer);

/// Runs the whole road. Everything the request gives is checked before anything is read or written:
/// values out of range, a kind other than `from`'s, an output (or `from`) path that is one of the designs
/// or `from` itself, names the list lacks, are tallyform::BadUsage; a design or document that cannot be read
/// is UnreadableFile or DamagedFile; designs without any element are DamagedFile (NoElementsMessage()). On
/// any error nothing has been written. A save that fails is UnreadableFile and leaves any file at `output`
/// as it was.
FillOutcome RunFill(Application& application, const FillRequest& request, const FillPorts& ports);

/// Refuses (tallyform::BadUsage) an output path that is the same file as one of the inputs, however it is
/// spelt: writing there would destroy the input.
void RefuseOverwritingInputs(const std::filesystem::path& output,
                             const std::vector<std::filesystem::path>& inputs);

}  // namespace tallyform::app
