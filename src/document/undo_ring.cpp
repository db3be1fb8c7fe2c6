#include "document/undo_ring.h"

namespace tallyform::document {

void RingIndices::Push() {
  if (wrapped()) {
    if (newest_ < current_) {
      // Back in the slots before the wrap, with states to redo after it: they go.
      if (current_ == kSlots - 1) {
        newest_ = current_ = 0;
        return;
      }
    } else if (newest_ == current_) {
      newest_ = current_ = newest_ + 1;
      if (oldest_ == newest_) oldest_ = Next(oldest_);  // full: the oldest state goes
      return;
    }
  } else {
    if (newest_ == current_ && current_ == kSlots - 1) {
      newest_ = current_ = 0;
      if (oldest_ == 0) oldest_ = 1;
      return;
    }
    if (newest_ == current_) {
      newest_ = current_ = newest_ + 1;
      return;
    }
  }
  // States to redo after the current one: the new state takes the next slot and they go.
  newest_ = current_ = current_ + 1;
}

bool RingIndices::Undo() {
  if (!CanUndo()) return false;
  current_ = current_ == 0 ? kSlots - 1 : current_ - 1;
  return true;
}

bool RingIndices::Redo() {
  if (!CanRedo()) return false;
  current_ = Next(current_);
  return true;
}

}  // namespace tallyform::document
