#pragma once
// The one place where the desktop program catches what its work throws. Every slot, event handler, lambda
// and paint callback runs its work through Guard, so that no exception crosses into Qt's event loop and the
// user always hears what went wrong.

#include <functional>
#include <string>

namespace tallyform::ports {
class Prompts;
}  // namespace tallyform::ports

namespace tallyform::gui {

/// Runs `work`; an error it throws is told through `prompts` (Prompts::ErrorMessage): the program's own
/// with their message, memory running out with "Недостаточно памяти.", anything else the standard library
/// throws with its text. True when `work` finished. Never throws.
bool Guard(ports::Prompts& prompts, const std::function<void()>& work) noexcept;

/// The same with the message (code page 1251) handed to `tell`, for work that must not open a dialog while
/// it runs (painting): `tell` shows it later.
bool Guard(const std::function<void(const std::string&)>& tell, const std::function<void()>& work) noexcept;

}  // namespace tallyform::gui
