#pragma once
// Assembly drawing preparation: a copy of a board named with "_SB" whose every component carries a second
// designator attribute, "RefDes2", on the layer, in the text style and with the justification the user
// chooses. The chosen board itself is only read. Everything goes through the design link; the questions and
// dialogs through the prompts.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace tallyform::ports {
class Dbx;
class Progress;
class Prompts;
}  // namespace tallyform::ports

namespace tallyform::app {

/// The title of the procedure's questions and messages.
std::string AssemblyDrawingTitle();

/// The copy's path: the board's path without its last four characters, followed by "_SB.pcb" (board.pcb
/// gives board_SB.pcb); nullopt when the path does not end in ".pcb" in any letter case.
std::optional<std::filesystem::path> AssemblyCopyPath(const std::filesystem::path& board);

enum class AssemblyResult {
  kDone,  ///< "Обработка завершена." was said (an attribute or close failure was shown first)
  kNotABoard,   ///< the path does not end in ".pcb": said so, nothing done
  kCancelled,   ///< the properties dialog was cancelled (or the board gave it nothing to choose)
  kCopyFailed,  ///< the copy could not be made: said so, the link not used
  kOpenFailed,  ///< the copy could not be opened through the link: its status shown
  kSaveFailed,  ///< the changed copy could not be saved: its status shown, no "Обработка завершена."
};

struct AssemblyOutcome {
  AssemblyResult result = AssemblyResult::kCancelled;
  std::filesystem::path copy;
  std::size_t added = 0;       ///< components given a new RefDes2
  std::size_t modified = 0;    ///< components whose RefDes2 was restyled
  std::size_t kept = 0;        ///< components whose RefDes2 was left as it was (replace not ticked)
  std::size_t skipped = 0;     ///< components with a designator beginning with a digit
  std::size_t attributes = 0;  ///< attributes walked
};

/// The most steps the progress bar takes; the walk goes on past them with the bar at its end.
inline constexpr int kAssemblyProgressSteps = 2500;

/// Prepares the assembly drawing of `board` (the path the open file dialog gave):
/// 1. refuses a path that does not end in ".pcb" with a message;
/// 2. when the copy exists, asks whether to overwrite it (No works on the existing copy); the copy is written
///    to a temporary file and renamed into place, so a failed or interrupted copy leaves the old one whole;
///    a failure is reported and ends the work;
/// 3. offers the copy's layers and text styles in the RefDes2 properties dialog;
/// 4. opens the copy and walks its components: a designator beginning with a digit is skipped; a component
///    with RefDes2 keeps it unless replace is ticked, then only its layer, style and justification change;
///    the others get RefDes2 = their designator. The progress bar steps once per attribute up to
///    kAssemblyProgressSteps. A failing add or modify is shown and ends the walk;
/// 5. saves (a failure is shown and ends the work without "Обработка завершена.") and closes the copy, then
///    says "Обработка завершена.".
AssemblyOutcome PrepareAssemblyDrawing(const std::filesystem::path& board, ports::Dbx& dbx,
                                       ports::Prompts& prompts, ports::Progress& progress);

}  // namespace tallyform::app
