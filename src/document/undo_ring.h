#pragma once
// The undo ring of a document: up to five earlier or later states of its sheets (every table, row and cell),
// so that the last changes to the sheets can be taken back and done again.

#include <cstddef>
#include <deque>
#include <vector>

#include "document/sheet_set.h"
#include "document/table_rows.h"

namespace tallyform::document {

class UndoRing {
 public:
  /// The most states the ring keeps, those to undo and those to redo together.
  static constexpr std::size_t kCapacity = 5;

  /// Keeps a copy of the sheets as they are, before a change to them: the state an Undo goes back to.
  /// When the ring is full the oldest state goes; every state to redo goes. std::bad_alloc leaves the ring
  /// as it was.
  void Push(const SheetSet& sheets);
  /// Puts the sheets back into the state of the newest Push and keeps their present state for Redo.
  /// Returns false, changing nothing, when there is nothing to undo.
  bool Undo(SheetSet& sheets);
  /// Takes back the last Undo: the sheets get the state they had before it, and that Undo can be done
  /// again. Returns false, changing nothing, when there is nothing to redo.
  bool Redo(SheetSet& sheets);
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t undo_count() const { return undo_.size(); }
  std::size_t redo_count() const { return redo_.size(); }
  /// Forgets every state (a fill or a newly read document starts a new history of changes).
  void Clear();

 private:
  std::deque<SheetArray> undo_;   // oldest first
  std::vector<SheetArray> redo_;  // the state the last Undo left is at the back
};

}  // namespace tallyform::document
