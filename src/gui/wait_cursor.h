#pragma once
// The wait cursor over the whole program for as long as a long command runs, and the plain cursor over a
// dialog that such a command shows on its way.

#include <QApplication>
#include <QCursor>

namespace tallyform::gui {

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

/// While it lives, the plain cursor in place of a wait cursor (nothing changes when none is shown).
class NormalCursor {
 public:
  NormalCursor() : waiting_(QApplication::overrideCursor() != nullptr) {
    if (waiting_) QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
  }
  ~NormalCursor() {
    if (waiting_) QApplication::restoreOverrideCursor();
  }
  NormalCursor(const NormalCursor&) = delete;
  NormalCursor& operator=(const NormalCursor&) = delete;

 private:
  bool waiting_;
};

}  // namespace tallyform::gui
