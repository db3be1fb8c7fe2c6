#include "document/undo_ring.h"

#include <utility>

namespace tallyform::document {

void UndoRing::Push(const SheetSet& sheets) {
  undo_.push_back(CopySheets(sheets.sheets()));
  if (undo_.size() > kCapacity) undo_.pop_front();
  redo_.clear();
}

bool UndoRing::Undo(SheetSet& sheets) {
  if (undo_.empty()) return false;
  redo_.reserve(redo_.size() + 1);  // so that nothing below can fail half way
  SheetArray state = std::move(undo_.back());
  undo_.pop_back();
  sheets.SwapSheets(state);
  redo_.push_back(std::move(state));
  return true;
}

bool UndoRing::Redo(SheetSet& sheets) {
  if (redo_.empty()) return false;
  SheetArray state = std::move(redo_.back());
  redo_.pop_back();
  sheets.SwapSheets(state);
  undo_.push_back(std::move(state));
  return true;
}

void UndoRing::Clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace tallyform::document
