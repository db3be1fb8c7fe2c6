#pragma once
// Who edits a document: the name proposed in the editor dialog and its confirmation.
//
// The name used last is kept in the settings store as "LastDocOwner" (on Linux the store is the user's
// own; there is no machine-wide one). Without a stored name the proposal is the machine's registered
// owner, which is stored at once so that later proposals find it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/literal.h"

namespace tallyform::ports {
class Prompts;
class SettingsStore;
class SystemInfo;
}  // namespace tallyform::ports

namespace tallyform::app {

using namespace tallyform::text::literals;

/// The settings key of the name used last.
inline constexpr std::string_view kLastDocOwnerKey = "LastDocOwner";
/// Follows the store's message when a confirmed name could not be stored.
inline constexpr std::string_view kNameNotTaken = "\r\nИмя редактора документа не изменено."_cp;
/// A stored name longer than this is not taken as a proposal.
inline constexpr std::size_t kMaxOwnerBytes = 1024;

class EditorIdentity {
 public:
  EditorIdentity(ports::SettingsStore& settings, ports::SystemInfo& system)
      : settings_(settings), system_(system) {}

  /// The name the editor dialog proposes: the stored "LastDocOwner" (which may be empty); the registered
  /// owner when there is none or the stored one is too long, and then the registered owner is stored.
  std::string ProposeName();
  /// The same proposal without storing anything (for front ends that must leave the settings alone).
  std::string PeekProposal();
  /// Stores the confirmed name as "LastDocOwner". A store that cannot be written is
  /// tallyform::UnreadableFile; the name must not be taken then (OK behaves as Cancel).
  void ConfirmName(const std::string& name);

  /// The whole editor dialog: proposal, the dialog, confirmation. The name to take, or nullopt when the
  /// user cancelled or the name could not be stored (the user is told why, with a warning).
  std::optional<std::string> Ask(ports::Prompts& prompts);

 private:
  ports::SettingsStore& settings_;
  ports::SystemInfo& system_;
};

}  // namespace tallyform::app
