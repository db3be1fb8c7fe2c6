#include "app/editor_identity.h"

#include "ports/prompts.h"
#include "ports/settings_store.h"
#include "ports/system_info.h"

namespace tallyform::app {
namespace {

// The registered owner as it is taken: cut off when absurdly long, as a stored name would be.
std::string RegisteredOwner(ports::SystemInfo& system) {
  std::string owner = system.RegisteredOwner();
  if (owner.size() > kMaxOwnerBytes) owner.clear();
  return owner;
}

}  // namespace

std::string EditorIdentity::PeekProposal() {
  const std::optional<std::string> stored = settings_.Read(std::string(kLastDocOwnerKey));
  if (stored && stored->size() <= kMaxOwnerBytes) return *stored;
  return RegisteredOwner(system_);
}

std::string EditorIdentity::ProposeName() {
  const std::optional<std::string> stored = settings_.Read(std::string(kLastDocOwnerKey));
  if (stored && stored->size() <= kMaxOwnerBytes) return *stored;
  std::string owner = RegisteredOwner(system_);
  // A store that cannot be written still gives the proposal; the dialog's OK will find out.
  settings_.Write(std::string(kLastDocOwnerKey), owner);
  return owner;
}

bool EditorIdentity::ConfirmName(const std::string& name) {
  return settings_.Write(std::string(kLastDocOwnerKey), name);
}

std::optional<std::string> EditorIdentity::Ask(ports::Prompts& prompts) {
  std::optional<std::string> name = prompts.EditorName(ProposeName());
  if (!name || !ConfirmName(*name)) return std::nullopt;
  return name;
}

}  // namespace tallyform::app
