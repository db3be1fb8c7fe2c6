#pragma once
// The wait cursor over the whole program for as long as a long command runs.

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

}  // namespace tallyform::gui
