#pragma once
// The Qt side of the command-line program: made only by the subcommands that measure or draw text, so
// that reading and checking designs start without it.

namespace tallyform::cli {

/// Makes the QGuiApplication on the offscreen platform (unless QT_QPA_PLATFORM says otherwise) the first
/// time it is called; later calls do nothing. No display is needed.
void EnsureQtSession();

}  // namespace tallyform::cli
