#pragma once
// The lock keys' states for the status bar's indicators. Qt tells none of them, so they are asked of the
// X server's keyboard extension; under Wayland or without a display there is nobody to ask.

#include <optional>

namespace tallyform::gui {

struct LockStates {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

/// The lock keys' states, or nullopt where the windowing system does not tell them.
std::optional<LockStates> QueryLockStates();

}  // namespace tallyform::gui
