#pragma once
// Saving a document as the save and save-as commands do it: the mismatch question, the file name (the
// next version of a numbered name, or a proposal for a new name), the editor dialog, and the write with
// its history record. Everything the user is asked goes through ports::Prompts.

#include <filesystem>
#include <optional>
#include <string>

#include "app/editor_identity.h"

namespace tallyform::document {
class Document;
}  // namespace tallyform::document

namespace tallyform::ports {
class Prompts;
class SettingsStore;
class Shell;
class SystemInfo;
}  // namespace tallyform::ports

namespace tallyform::app {

class DocumentSession;

/// The path offered when a document saved under `path` is saved again, so that every save keeps the
/// previous version: the number that follows the last "_" of the file's name (up to its last "."), plus
/// one, in place of every occurrence of that number in the file's name, never in its folders:
/// ".../Плата1/R_5_5.enum" gives ".../Плата1/R_6_6.enum", "A_09.enum" gives "A_10.enum". Occurrences
/// inside longer numbers stay ("R15_5.enum" gives "R15_6.enum"). nullopt when the name holds no such
/// number other than 0: the document is then saved to `path` as it is.
std::optional<std::filesystem::path> NextVersionPath(const std::filesystem::path& path);

/// The name proposed when a document is saved under a new name: the first sheet's document designation
/// followed by "_1", or `title` (the document's title, "Enumeration2" for a new one) when there is no
/// designation, cut at the first of "#%;/\", with ".enum" added when it does not end so; in the folder of
/// the document's file when it has one.
std::filesystem::path NewNameProposal(const document::Document& document, const std::string& title);

enum class SaveResult {
  kSaved,      ///< written; the document's path is where it went
  kCancelled,  ///< the user cancelled the file dialog; nothing was written
  kFailed,     ///< the file could not be written (the user was told); the previous file is intact
};

class SaveWorkflow {
 public:
  /// `report_path` is the value-check report offered when the document's values are off their series.
  SaveWorkflow(ports::Prompts& prompts, ports::SettingsStore& settings, ports::SystemInfo& system,
               ports::Shell& shell, std::filesystem::path report_path);

  /// The save command: a document saved before goes to its next version (asking) or to its own path
  /// (without asking); one never saved is saved under a new name.
  SaveResult Save(DocumentSession& session);
  /// The save-as command: always asks for a new name.
  SaveResult SaveAs(DocumentSession& session);

 private:
  SaveResult Run(DocumentSession& session, const std::optional<std::filesystem::path>& path);

  ports::Prompts& prompts_;
  ports::SystemInfo& system_;
  ports::Shell& shell_;
  EditorIdentity identity_;
  std::filesystem::path report_path_;
};

}  // namespace tallyform::app
