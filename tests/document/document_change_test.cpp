#include "document/document_change.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "document/document.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace tallyform::document {
namespace {

using Kind = DocumentChange::Kind;

struct Recorder {
  std::vector<Kind> kinds;
  ChangeListener Listener() {
    return [this](const DocumentChange& change) { kinds.push_back(change.kind); };
  }
};

TEST(DocumentChangeTest, TheDocumentsOperationsTellTheirListeners) {
  testing::TempFolder folder;
  testing::FakeSystemInfo system;
  Document doc(model::DocumentKind::kElementList);
  Recorder seen;
  Subscription subscription = doc.Subscribe(seen.Listener());

  doc.SetListData(elements::ListData{});
  doc.SetModified(true);
  doc.SetModified(true);  // no change, nothing told
  doc.Save(folder / "a.enum", system);
  doc.undo_ring().Push(doc.sheets());
  doc.sheets().sheet(0).cell(0, 1).SetText("x");
  doc.LayOutSheets();
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(seen.kinds, (std::vector<Kind>{Kind::kListData, Kind::kModified, Kind::kSaved, Kind::kModified,
                                           Kind::kSheets, Kind::kModified, Kind::kSheets}));

  // Opening another file keeps the listeners; the document is laid out and replaced as a whole.
  seen.kinds.clear();
  doc.Open(folder / "a.enum");
  EXPECT_EQ(seen.kinds, (std::vector<Kind>{Kind::kReplaced}));
  EXPECT_FALSE(doc.undo_ring().CanUndo());

  // A listener gone is told nothing; its token may outlive the document.
  subscription.Reset();
  doc.SetModified(true);
  EXPECT_EQ(seen.kinds.size(), 1u);
  {
    Document gone(model::DocumentKind::kSimpleBill);
    subscription = gone.Subscribe(seen.Listener());
  }
  EXPECT_FALSE(subscription.active());
}

TEST(DocumentChangeTest, ListenersMayLeaveWhileTheyAreTold) {
  ChangeNotifier notifier;
  std::vector<int> told;
  std::optional<Subscription> second;
  Subscription first = notifier.Subscribe([&](const DocumentChange&) {
    told.push_back(1);
    second.reset();  // the second listener leaves before its turn
  });
  second = notifier.Subscribe([&](const DocumentChange&) { told.push_back(2); });
  Subscription third = notifier.Subscribe([&](const DocumentChange&) { told.push_back(3); });
  notifier.Notify(Kind::kSheets);
  EXPECT_EQ(told, (std::vector<int>{1, 3}));

  // Moving a document moves its listeners along.
  Document doc(model::DocumentKind::kElementList);
  Recorder seen;
  const Subscription kept = doc.Subscribe(seen.Listener());
  Document moved = std::move(doc);
  moved.SetModified(true);
  EXPECT_EQ(seen.kinds, (std::vector<Kind>{Kind::kModified}));
}

}  // namespace
}  // namespace tallyform::document
