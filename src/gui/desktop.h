#pragma once
// The desktop program from start to end: the command line, the splash screen, the application object,
// the main window, and the event loop.

namespace tallyform::gui {

/// Makes the program's icons and pictures available (they live in a static library).
void InitResources();

/// Runs the desktop program; the process's exit status.
int RunDesktop(int argc, char** argv);

}  // namespace tallyform::gui
