#include "app/editor_identity.h"

#include "model/errors.h"
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
  try {
    settings_.Write(std::string(kLastDocOwnerKey), owner);
  } catch (const UnreadableFile&) {
    // The proposal stands all the same; the dialog's OK will find the store unwritable and say so.
  }
  return owner;
}

void EditorIdentity::ConfirmName(const std::string& name) {
  settings_.Write(std::string(kLastDocOwnerKey), name);
}

std::optional<std::string> EditorIdentity::Ask(ports::Prompts& prompts) {
  std::optional<std::string> name = prompts.EditorName(ProposeName());
  if (!name) return std::nullopt;
  try {
    ConfirmName(*name);
  } catch (const UnreadableFile& e) {
    prompts.Warning(e.message() + std::string(kNameNotTaken));
    return std::nullopt;
  }
  return name;
}

}  // namespace tallyform::app
