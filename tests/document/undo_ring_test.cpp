#include "document/undo_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace tallyform::document {
namespace {

// The history a ring of five must behave like: the states in order, the live one at `at`; a change drops
// the states after it and, beyond five states, the oldest.
struct LinearHistory {
  std::vector<int> states{0};
  std::size_t at = 0;

  void Change(int state) {
    states.resize(at + 1);
    states.push_back(state);
    if (states.size() > UndoRing<int>::kCapacity) states.erase(states.begin());
    at = states.size() - 1;
  }
  bool Undo() { return at > 0 ? (--at, true) : false; }
  bool Redo() { return at + 1 < states.size() ? (++at, true) : false; }
};

TEST(UndoRingTest, FiveChangesThenFiveUndosTakeFourAndAChangeAfterUndosDropsTheRedos) {
  UndoRing<std::string> ring;
  std::string live = "start";
  for (const char* next : {"1", "2", "3", "4", "5"}) {
    ring.Push(live);
    live = next;
  }
  int undone = 0;
  for (int i = 0; i < 5; ++i) undone += ring.Undo(live) ? 1 : 0;
  EXPECT_EQ(undone, 4);
  EXPECT_EQ(live, "1");  // the state after the first change is the oldest reachable
  EXPECT_FALSE(ring.CanUndo());

  ASSERT_TRUE(ring.Redo(live));
  ASSERT_TRUE(ring.Redo(live));
  EXPECT_EQ(live, "3");
  ASSERT_TRUE(ring.Undo(live));
  ring.Push(live);
  live = "other";
  EXPECT_FALSE(ring.CanRedo());
  EXPECT_FALSE(ring.Redo(live));
  ASSERT_TRUE(ring.Undo(live));
  EXPECT_EQ(live, "2");
}

// Long random runs of changes, undos and redos, through every way the indices wrap, agree with the plain
// history after every step, and the indices stay in the ring.
TEST(UndoRingTest, AgreesWithAPlainHistoryOfFiveStatesOverRandomRuns) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    UndoRing<int> ring;
    int live = 0;
    LinearHistory model;
    int next = 1;
    for (int step = 0; step < 300; ++step) {
      switch (random() % 3) {
        case 0:
          ring.Push(live);
          live = next;
          model.Change(next++);
          break;
        case 1:
          ASSERT_EQ(ring.Undo(live), model.Undo()) << "seed " << seed << " step " << step;
          break;
        default:
          ASSERT_EQ(ring.Redo(live), model.Redo()) << "seed " << seed << " step " << step;
      }
      ASSERT_EQ(live, model.states[model.at]) << "seed " << seed << " step " << step;
      const RingIndices& indices = ring.indices();
      ASSERT_EQ(indices.undo_steps(), static_cast<int>(model.at));
      ASSERT_EQ(indices.redo_steps(), static_cast<int>(model.states.size() - 1 - model.at));
      for (int index : {indices.oldest(), indices.current(), indices.newest()}) {
        ASSERT_TRUE(index >= 0 && index < RingIndices::kSlots);
      }
    }
  }
}

}  // namespace
}  // namespace tallyform::document
