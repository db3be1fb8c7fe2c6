#include "document/undo_ring.h"

#include <gtest/gtest.h>

#include <string>

#include "document/document.h"

namespace tallyform::document {
namespace {

// The text of the marker cell of the first sheet, which each state of these tests sets.
std::string Marker(const SheetSet& set) {
  return set.sheet(0).cell(0, 1).text();
}

void Change(UndoRing& ring, SheetSet& set, const std::string& marker) {
  ring.Push(set);
  set.sheet(0).cell(0, 1).SetText(marker);
}

TEST(UndoRingTest, UndoAndRedoRestoreTheExactTables) {
  SheetSet set(model::DocumentKind::kPurchasedBill);
  UndoRing ring;
  EXPECT_FALSE(ring.CanUndo());
  EXPECT_FALSE(ring.Undo(set));
  EXPECT_FALSE(ring.Redo(set));

  set.sheet(0).cell(0, 1).SetText("before");
  set.sheet(0).cell(0, 1).SetAttributes(kFillHeading);
  const SheetArray before = CopySheets(set.sheets());
  ring.Push(set);
  set.sheet(0).cell(0, 1).SetText("after");
  set.AddSheet(27).cell(3, 4).SetText("new sheet");
  const SheetArray after = CopySheets(set.sheets());
  EXPECT_TRUE(ring.CanUndo());
  EXPECT_FALSE(ring.CanRedo());

  ASSERT_TRUE(ring.Undo(set));
  ASSERT_EQ(set.sheet_count(), before.size());
  EXPECT_TRUE(set.sheet(0) == *before[0]);
  EXPECT_FALSE(ring.CanUndo());
  EXPECT_TRUE(ring.CanRedo());

  ASSERT_TRUE(ring.Redo(set));
  ASSERT_EQ(set.sheet_count(), after.size());
  for (std::size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(set.sheet(i) == *after[i]) << i;
  EXPECT_FALSE(ring.CanRedo());

  // A snapshot is a copy: changing the sheets afterwards leaves it as it was.
  ring.Push(set);
  set.sheet(1).cell(3, 4).SetText("changed");
  ring.Undo(set);
  EXPECT_EQ(set.sheet(1).cell(3, 4).text(), "new sheet");
}

TEST(UndoRingTest, KeepsTheFiveNewestStatesAndANewChangeDropsTheRedos) {
  SheetSet set(model::DocumentKind::kElementList);
  UndoRing ring;
  for (int i = 1; i <= 8; ++i) Change(ring, set, "state " + std::to_string(i));
  EXPECT_EQ(ring.undo_count(), UndoRing::kCapacity);

  // The states before changes 4..8 are kept; the oldest went.
  for (int i = 7; i >= 3; --i) {
    ASSERT_TRUE(ring.Undo(set));
    EXPECT_EQ(Marker(set), "state " + std::to_string(i));
  }
  EXPECT_FALSE(ring.Undo(set));
  EXPECT_EQ(ring.redo_count(), UndoRing::kCapacity);

  ASSERT_TRUE(ring.Redo(set));
  ASSERT_TRUE(ring.Redo(set));
  EXPECT_EQ(Marker(set), "state 5");
  Change(ring, set, "branch");
  EXPECT_FALSE(ring.CanRedo());
  EXPECT_FALSE(ring.Redo(set));
  ASSERT_TRUE(ring.Undo(set));
  EXPECT_EQ(Marker(set), "state 5");
  EXPECT_LE(ring.undo_count() + ring.redo_count(), UndoRing::kCapacity);

  ring.Clear();
  EXPECT_FALSE(ring.CanUndo());
  EXPECT_FALSE(ring.CanRedo());
  EXPECT_EQ(Marker(set), "state 5");
}

TEST(UndoRingTest, TheDocumentOwnsItsRingAndKeepsItOutOfTheFile) {
  Document doc(model::DocumentKind::kElementList);
  const std::string plain = doc.ToBytes({});
  doc.undo_ring().Push(doc.sheets());
  doc.sheets().sheet(0).cell(1, 2).SetText("edit");
  const std::string edited = doc.ToBytes({});
  EXPECT_NE(edited, plain);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.ToBytes({}), plain);
  EXPECT_TRUE(doc.modified());
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(doc.ToBytes({}), edited);
  EXPECT_FALSE(doc.Redo());

  // A document read from bytes starts without states.
  EXPECT_FALSE(Document::FromBytes(edited).undo_ring().CanUndo());
}

}  // namespace
}  // namespace tallyform::document
