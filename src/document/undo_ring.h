#pragma once
// The undo ring: five slots in a ring that hold the states of something edited (a document's sheets, the
// element list window's list), and three indices into it: the oldest state that can be gone back to, the
// current state and the newest state that can be gone forward to again. The ring holds five states in all,
// the current one among them, so at most four changes in a row can be undone; a change made when the ring
// is full drops the oldest state, and a change made after an undo drops the states that could have been
// done again.
//
// The current state lives with whoever edits it, not in the ring: Push takes the state as it was before a
// change, Undo and Redo exchange the live state with the one they go to.

#include <array>
#include <cstddef>
#include <utility>

namespace tallyform::document {

/// The three indices of the ring (each 0 to 4, all 0 at first) and how a push, an undo and a redo move
/// them.
class RingIndices {
 public:
  static constexpr int kSlots = 5;

  int oldest() const { return oldest_; }
  int current() const { return current_; }
  int newest() const { return newest_; }
  /// The ring has wrapped: the newest state lies in a slot before the oldest one.
  bool wrapped() const { return newest_ < oldest_; }
  bool CanUndo() const { return current_ != oldest_; }
  bool CanRedo() const { return current_ != newest_; }
  /// The number of undos and redos that would take effect.
  int undo_steps() const { return Distance(oldest_, current_); }
  int redo_steps() const { return Distance(current_, newest_); }

  /// Makes room for a new state after the current one: the current slot becomes the slot of a new current
  /// state, which is also the newest; the states after the old current one are dropped, and the oldest
  /// when the ring is full.
  void Push();
  /// Goes back one state; false, changing nothing, at the oldest.
  bool Undo();
  /// Goes forward one state; false, changing nothing, at the newest.
  bool Redo();
  /// Back to the start: one state, in slot 0.
  void Reset() { *this = RingIndices(); }

  friend bool operator==(const RingIndices&, const RingIndices&) = default;

 private:
  static int Distance(int from, int to) { return (to - from + kSlots) % kSlots; }
  static int Next(int slot) { return slot == kSlots - 1 ? 0 : slot + 1; }

  int oldest_ = 0;
  int current_ = 0;
  int newest_ = 0;
};

/// The ring over states of type State, which must be movable and default-constructible (the empty state
/// of an unused slot).
template <typename State>
class UndoRing {
 public:
  static constexpr std::size_t kCapacity = RingIndices::kSlots;

  /// Keeps `before`, the state as it was just before a change, as the state an Undo goes back to (see
  /// RingIndices::Push). The caller makes the copy, so a failure to make it leaves the ring as it was.
  void Push(State before) {
    const int was = indices_.current();
    indices_.Push();
    slots_[static_cast<std::size_t>(was)] = std::move(before);
    slots_[static_cast<std::size_t>(indices_.current())] = State();  // lives with the caller
  }
  /// Puts the state before the last change into `live` and keeps the present one for Redo. False, changing
  /// nothing, when there is nothing to undo.
  bool Undo(State& live) { return Move(live, &RingIndices::Undo); }
  /// Puts the state the last Undo left into `live` again. False, changing nothing, when there is nothing
  /// to redo.
  bool Redo(State& live) { return Move(live, &RingIndices::Redo); }

  bool CanUndo() const { return indices_.CanUndo(); }
  bool CanRedo() const { return indices_.CanRedo(); }
  const RingIndices& indices() const { return indices_; }
  /// Forgets every state but the live one.
  void Clear() {
    indices_.Reset();
    for (State& slot : slots_) slot = State();
  }

 private:
  bool Move(State& live, bool (RingIndices::*step)()) {
    const int was = indices_.current();
    if (!(indices_.*step)()) return false;
    State& target = slots_[static_cast<std::size_t>(indices_.current())];
    slots_[static_cast<std::size_t>(was)] = std::move(live);
    live = std::move(target);
    target = State();
    return true;
  }

  std::array<State, kCapacity> slots_{};
  RingIndices indices_;
};

}  // namespace tallyform::document
